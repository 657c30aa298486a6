// Writes the 48 texture pictures as 24-bit BMP files named by their resource
// number (195.bmp ... 242.bmp) into the folder given as the argument.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "bmp_file.h"
#include "textures.h"

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (int n = 0; n < kTextureCount; ++n) {
            const Picture picture = makeTexture(n);
            const std::string path = (folder / (std::to_string(kFirstTextureResource + n) + ".bmp")).string();
            const auto rows = picture.toBitmapRows();
            if (!bmp::writeBmp(path.c_str(), bmp::makeHeader24(picture.width(), picture.height()), {}, rows)) {
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
