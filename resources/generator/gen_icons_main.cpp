// Writes the program icon in the sizes of the desktop's hicolor icon theme:
// OUTPUT_FOLDER/<n>x<n>/apps/ICON_NAME.png for n = 16, 22, 24, 32, 48, 64,
// 128, 256 and 512, each drawn at its own size (not scaled down from one
// picture), for installation under share/icons/hicolor/.
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pictures.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER ICON_NAME\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string name = argv[2];
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path path = folder / box / "apps" / (name + ".png");
        std::filesystem::create_directories(path.parent_path());
        QImageWriter writer(QString::fromStdString(path.string()), "png");
        if (!writer.write(vakuro::gen::makeIcon(size))) {
            std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), writer.errorString().toLocal8Bit().constData());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
