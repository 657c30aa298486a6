// Writes the title background (title/back.png) and the program icons
// (icons/vakuro.png, 256 x 256; icons/vakuro-64.png; icons/vakuro-32.png)
// under the folder given as the argument.
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pictures.h"

namespace {

bool savePng(const QImage& image, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    QImageWriter writer(QString::fromStdString(path.string()), "png");
    if (writer.write(image)) return true;
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), writer.errorString().toLocal8Bit().constData());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    bool ok = savePng(makeTitleBackground(), folder / "title" / "back.png");
    ok = savePng(makeIcon(256), folder / "icons" / "vakuro.png") && ok;
    ok = savePng(makeIcon(64), folder / "icons" / "vakuro-64.png") && ok;
    ok = savePng(makeIcon(32), folder / "icons" / "vakuro-32.png") && ok;
    return ok ? 0 : 1;
}
