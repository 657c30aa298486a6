// Runs the ImgMake fuzz entry over every file of the folders named on the
// command line, so that every build exercises the stored seeds and the
// inputs that once failed. A named folder that is missing or empty fails
// the run: the corpus is part of the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path folder(argv[i]);
        if (!std::filesystem::is_directory(folder)) {
            std::fprintf(stderr, "corpus folder missing: %s\n", argv[i]);
            return 1;
        }
        size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++count;
        }
        if (count == 0) {
            std::fprintf(stderr, "corpus folder empty: %s\n", argv[i]);
            return 1;
        }
        std::printf("%s: replayed %zu inputs\n", argv[i], count);
    }
    return 0;
}
