// Writes the sounds 101 .. 104 as WAV files (101.wav ... 104.wav) into the
// folder given as the argument.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "bmp_file.h"
#include "sounds.h"

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (int n = kFirstSound; n <= kLastSound; ++n) {
            const auto bytes = encodeWav(makeSound(n));
            const std::string path = (folder / (std::to_string(n) + ".wav")).string();
            if (!bmp::writeFileAtomically(path.c_str(), bytes, {})) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
