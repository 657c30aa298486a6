#include "animation_sprites.h"

#include <algorithm>
#include <cmath>

namespace vakuro::gen {

namespace {

QImage grey(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    return image;
}

void put(QImage& image, int x, int y, double value) {
    const int v = std::clamp(static_cast<int>(std::lround(value)), 0, 255);
    image.setPixel(x, y, qRgb(v, v, v));
}

// A soft ball: full light in the middle falling smoothly to none at the
// radius, sampled 4 x 4 per pixel so that the rim is anti-aliased.
QImage ball(int size, double radius, double peak) {
    QImage image = grey(size);
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x - 0.375 + sx * 0.25 - centre, dy = y - 0.375 + sy * 0.25 - centre;
                    const double d = std::sqrt(dx * dx + dy * dy) / radius;
                    if (d < 1) sum += std::pow(1 - d * d, 1.2);
                }
            put(image, x, y, peak * sum / 16);
        }
    return image;
}

}  // namespace

QImage makeSnowSmallSprite() { return ball(5, 2.7, 255); }

QImage makeSnowLargeSprite() { return ball(8, 4.1, 255); }

QImage makeStarSprite() {
    const int size = kStarSpriteSize;
    const double c = (size - 1) / 2.0;  // 13
    QImage image = grey(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x - c, dy = y - c;
            const double r = std::sqrt(dx * dx + dy * dy);
            // The core: a small bright disc with a soft halo.
            double v = 255 * std::exp(-r * r / 5.0);
            // Long rays along the axes, thinning and fading outwards.
            const double along = std::max(std::abs(dx), std::abs(dy));
            const double across = std::min(std::abs(dx), std::abs(dy));
            if (along <= c) v = std::max(v, 230 * (1 - along / (c + 1)) * std::exp(-across * across / 0.35));
            // Short diagonal rays.
            const double u = (dx + dy) / std::sqrt(2.0), w = (dx - dy) / std::sqrt(2.0);
            const double dAlong = std::max(std::abs(u), std::abs(w)), dAcross = std::min(std::abs(u), std::abs(w));
            if (dAlong <= 6) v = std::max(v, 200 * (1 - dAlong / 7) * std::exp(-dAcross * dAcross / 0.5));
            put(image, x, y, v < 12 ? 0 : v);  // no faint specks: they would only cost pixels
        }
    return image;
}

}  // namespace vakuro::gen
