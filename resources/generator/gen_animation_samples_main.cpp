// Writes the add dialog's sample pictures (animation/sample1.png ...
// sample19.png, 160 x 60) under the folder given as the argument.
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "animation_samples.h"

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "animation";
    std::filesystem::create_directories(folder);
    bool ok = true;
    for (int kind = 1; kind <= kAnimationSampleCount; ++kind) {
        const std::filesystem::path path = folder / ("sample" + std::to_string(kind) + ".png");
        QImageWriter writer(QString::fromStdString(path.string()), "png");
        if (!writer.write(makeAnimationSample(kind))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
