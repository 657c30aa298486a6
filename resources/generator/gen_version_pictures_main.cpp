// Writes the version dialog's shine picture (version/shine.png) under the
// folder given as the argument.
#include <QImageWriter>
#include <cstdio>
#include <filesystem>

#include "vakuro_version_pictures.h"
#include "version_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    using namespace vakuro;
    const std::filesystem::path path = std::filesystem::path(argv[1]) / "version" / "shine.png";
    std::filesystem::create_directories(path.parent_path());
    QImageWriter writer(QString::fromStdString(path.string()), "png");
    if (writer.write(gen::makeVersionShine(resources::kVersionLogoWidth, resources::kVersionShineHeight))) return 0;
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), writer.errorString().toLocal8Bit().constData());
    return 1;
}
