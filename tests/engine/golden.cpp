#include "golden.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "bmp_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void expectMatchesGolden(const std::string& name, const std::string& actualPath) {
    const fs::path golden = fs::path(GOLDEN_DIR) / (name + ".bmp");
    if (const char* update = std::getenv("UPDATE_GOLDEN"); update && std::string(update) == "1") {
        // Says which images changed, so that each can be looked at (and its
        // property checks read) before it is committed.
        const bool existed = fs::exists(golden);
        const bool same = existed && fileBytes(golden) == fileBytes(actualPath);
        if (!same) {
            fs::create_directories(golden.parent_path());
            fs::copy_file(actualPath, golden, fs::copy_options::overwrite_existing);
        }
        std::printf("UPDATE_GOLDEN: %s %s\n", same ? "unchanged" : existed ? "rewrote" : "wrote new",
                    golden.c_str());
        std::fflush(stdout);
        return;
    }
    bmp::BmpImage actual, expected;
    ASSERT_EQ(bmp::readBmp(actualPath.c_str(), actual), bmp::BmpReadStatus::Ok) << actualPath;
    ASSERT_EQ(bmp::readBmp(golden.c_str(), expected), bmp::BmpReadStatus::Ok)
        << golden << " is missing: run with UPDATE_GOLDEN=1 and look at the image";
    const bool sameSize = actual.width() == expected.width() && actual.height() == expected.height();
    if (sameSize && actual.pixels == expected.pixels) return;

    fs::create_directories(ACTUAL_DIR);
    const fs::path out = fs::path(ACTUAL_DIR) / (name + ".actual.bmp");
    fs::copy_file(actualPath, out, fs::copy_options::overwrite_existing);
    if (sameSize) {
        std::vector<uint8_t> diff(actual.pixels.size(), 255);
        for (size_t i = 0; i + 2 < diff.size(); i += 3) {
            if (actual.pixels[i] != expected.pixels[i] || actual.pixels[i + 1] != expected.pixels[i + 1] ||
                actual.pixels[i + 2] != expected.pixels[i + 2]) {
                diff[i] = 0;
                diff[i + 1] = 0;
            }
        }
        const fs::path diffPath = fs::path(ACTUAL_DIR) / (name + ".diff.bmp");
        bmp::writeBmp(diffPath.c_str(), actual.header, {}, diff);
    }
    ADD_FAILURE() << name << ": rendering differs from " << golden << " (actual " << actual.width() << "x"
                  << actual.height() << ", golden " << expected.width() << "x" << expected.height()
                  << "); see " << out;
}
