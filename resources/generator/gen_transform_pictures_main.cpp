// Writes the transform dialog's icons (transform/icon1.png ... icon9.png,
// 120 x 40) and illustrations (transform/figure1.png ... figure9.png,
// 240 x 75) under the folder given as the argument.
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "transform_pictures.h"

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "transform";
    std::filesystem::create_directories(folder);
    bool ok = true;
    for (int type = 1; type <= 9; ++type) {
        for (const auto& [name, image] : {std::pair{"icon", makeTransformIcon(type)},
                                          std::pair{"figure", makeTransformFigure(type)}}) {
            const std::filesystem::path path = folder / (std::string(name) + std::to_string(type) + ".png");
            QImageWriter writer(QString::fromStdString(path.string()), "png");
            if (!writer.write(image)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                ok = false;
            }
        }
    }
    return ok ? 0 : 1;
}
