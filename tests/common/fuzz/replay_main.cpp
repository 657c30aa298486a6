// Runs the fuzz entry over generated seeds and over the files and folders
// named on the command line, so that builds without libFuzzer exercise it.
// A named file or folder that does not exist fails the run: the corpus is
// part of the test. Files whose names start with a dot (the placeholder
// that keeps an empty regressions folder in the repository) are skipped.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> bmp(int width, int height, int bits) {
    const size_t stride = static_cast<size_t>(4 * ((bits / 8 * width + 3) / 4));
    const size_t between = bits == 8 ? 1024 : 0;
    std::vector<uint8_t> b(54 + between + stride * static_cast<size_t>(height));
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, static_cast<uint32_t>(54 + between));
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(width));
    put32(b, 22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    for (size_t i = 54; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 37);
    return b;
}

std::vector<std::vector<uint8_t>> generatedSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 2}, {3, 5}, {1, 7}, {9, 1}, {16, 12}}) {
        seeds.push_back(bmp(w, h, 24));
        seeds.push_back(bmp(w, h, 8));
    }
    std::vector<uint8_t> b = bmp(3, 3, 24);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, size_t{53}, size_t{54}, b.size() - 1,
                       b.size() - 3, b.size() - 4}) {
        seeds.emplace_back(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    for (const auto& [at, value] : {std::pair<size_t, uint32_t>{10, 0}, {10, 0xFFFFFFFF},
                                    {14, 12}, {18, 0xFFFFFFFE}, {22, 0xFFFFFFFD}, {22, 30000},
                                    {18, 0x7FFFFFFF}, {30, 1}, {2, 0}}) {
        std::vector<uint8_t> v = b;
        put32(v, at, value);
        seeds.push_back(v);
    }
    std::vector<uint8_t> paste = b;  // a tail that drives a mirrored, keyed paste
    for (size_t i = 0; i < 12; ++i) paste.push_back(static_cast<uint8_t>(0xF7 + i * 29));
    seeds.push_back(paste);
    return seeds;
}

void runFile(const std::filesystem::path& path, size_t& count) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
}

}  // namespace

int main(int argc, char** argv) {
    size_t count = 0;
    for (const std::vector<uint8_t>& seed : generatedSeeds()) {
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
        ++count;
    }
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                    runFile(entry.path(), count);
            }
        } else if (std::filesystem::is_regular_file(path)) {
            runFile(path, count);
        } else {
            std::fprintf(stderr, "corpus missing: %s\n", argv[i]);
            return 1;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return 0;
}
