#include "version_pictures.h"

#include <algorithm>
#include <cmath>

namespace vakuro::gen {

namespace {

// The band's centre line rises 1 pixel for every 4 to the right.
constexpr double kSlope = -0.25;

double gaussian(double t, double width) { return std::exp(-(t / width) * (t / width)); }

}  // namespace

QImage makeVersionShine(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const double centreY = height / 2.0;
    const double norm = std::sqrt(1 + kSlope * kSlope);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Distance across the band, positive below its centre line.
            const double line = centreY + (x + 0.5 - width / 2.0) * kSlope;
            const double t = (y + 0.5 - line) / norm;
            const double core = gaussian(t, 2.4);
            const double glow = gaussian(t, 8.5) * 0.8;
            const double glint = gaussian(t - 15, 1.5) * 0.5;
            const double r = 255 * core + 255 * glow + 255 * glint;
            const double g = 252 * core + 196 * glow + 236 * glint;
            const double b = 236 * core + 92 * glow + 190 * glint;
            auto channel = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
            row[x] = qRgb(channel(r), channel(g), channel(b));
        }
    }
    return image;
}

}  // namespace vakuro::gen
