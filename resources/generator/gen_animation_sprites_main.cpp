// Writes the sprites of the snow and illumination effects
// (animation/Snow1D.png, Snow2.png and Star2.png) under the folder given as
// the argument. Fails when the star has more lit pixels than the effect
// paints.
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "animation_sprites.h"

int main(int argc, char** argv) {
    using namespace vakuro::gen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "animation";
    std::filesystem::create_directories(folder);
    const QImage star = makeStarSprite();
    int lit = 0;
    for (int y = 0; y < star.height(); ++y)
        for (int x = 0; x < star.width(); ++x) lit += qRed(star.pixel(x, y)) > 0 ? 1 : 0;
    if (lit > kStarSpriteMaxLit) {
        std::fprintf(stderr, "Star2 has %d lit pixels, more than %d\n", lit, kStarSpriteMaxLit);
        return 1;
    }
    bool ok = true;
    const std::pair<const char*, QImage> sprites[] = {
        {"Snow1D.png", makeSnowSmallSprite()}, {"Snow2.png", makeSnowLargeSprite()}, {"Star2.png", star}};
    for (const auto& [name, image] : sprites) {
        const std::filesystem::path path = folder / name;
        QImageWriter writer(QString::fromStdString(path.string()), "png");
        if (!writer.write(image)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
