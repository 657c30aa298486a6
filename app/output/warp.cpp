#include "warp.h"

#include <algorithm>
#include <cmath>

#include "settings_keys.h"

namespace vakuro {

namespace {

constexpr double kPi = 3.14159265;

// Nearest integer, halves to even (the default rounding mode).
int roundEven(double value) {
    if (!std::isfinite(value)) return 0;
    const double clamped = std::clamp(value, -1.0e9, 1.0e9);
    return static_cast<int>(std::nearbyint(clamped));
}

// The roof value of types 6 and 7.
double roofValue(double h, double p1, double x) {
    return h * (p1 * 0.01 - std::abs(p1 * x * 2 * 0.01 - p1 * 0.01));
}

// Types 4 and 5: x is i (type 4) or W - i (type 5).
WarpColumn slantColumn(double w, double h, double p1, double p2, double p3, double x) {
    const double t = roundEven(h * (p2 + p3) * 0.01 + h * 0.1);
    const double along = h * x / w;
    return {roundEven(t - along * (p2 + p3 - p1) * 0.01 - h * p1 * 0.01 - h * 0.1),
            roundEven(t - along * p3 * 0.01)};
}

bool hasAlpha(const QImage& image) { return image.hasAlphaChannel(); }

// Row k of column x of source stretched or squeezed to span rows: the
// average of the source rows under it, each weighted by how much of it the
// row covers (a box filter). In units of 1 / span of a source row, row k
// covers [k H, (k + 1) H) and source row s covers [s span, (s + 1) span), so
// the weights are whole numbers that add up to H. A span equal to H copies
// the column exactly.
QRgb resampledPixel(const QImage& source, int x, int k, int span) {
    const long long h = source.height();
    const long long from = k * h;
    const long long to = from + h;
    long long sum[4] = {0, 0, 0, 0};
    for (long long s = from / span; s * span < to && s < h; ++s) {
        const long long weight = std::min(to, (s + 1) * span) - std::max(from, s * span);
        if (weight <= 0) continue;
        const QRgb p = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(s)))[x];
        sum[0] += weight * qAlpha(p);
        sum[1] += weight * qRed(p);
        sum[2] += weight * qGreen(p);
        sum[3] += weight * qBlue(p);
    }
    auto channel = [&](int n) { return static_cast<int>((sum[n] + h / 2) / h); };
    return qRgba(channel(1), channel(2), channel(3), channel(0));
}

}  // namespace

WarpSettings loadWarpSettings(const QString& settingsPath) {
    using namespace settings;
    WarpSettings s;
    s.type = IniReadInt(settingsPath, kTranslateType.section, kTranslateType.key, kTranslateType.defaultValue);
    s.p1 = IniReadInt(settingsPath, kTranslateP1.section, kTranslateP1.key, kTranslateP1.defaultValue);
    s.p2 = IniReadInt(settingsPath, kTranslateP2.section, kTranslateP2.key, kTranslateP2.defaultValue);
    s.p3 = IniReadInt(settingsPath, kTranslateP3.section, kTranslateP3.key, kTranslateP3.defaultValue);
    return s;
}

void saveWarpSettings(const QString& settingsPath, const WarpSettings& s) {
    using namespace settings;
    IniWriteInt(settingsPath, kTranslateType.section, kTranslateType.key, s.type);
    IniWriteInt(settingsPath, kTranslateP1.section, kTranslateP1.key, s.p1);
    IniWriteInt(settingsPath, kTranslateP2.section, kTranslateP2.key, s.p2);
    IniWriteInt(settingsPath, kTranslateP3.section, kTranslateP3.key, s.p3);
}

WarpColumn warpColumn(int type, int p1i, int p2i, int p3i, int width, int height, int i) {
    const double w = width;
    const double h = height;
    const double p1 = p1i;
    const double p2 = p2i;
    const double p3 = p3i;
    const double x = width > 0 ? static_cast<double>(i) / w : 0.0;  // i / W
    const double u = width > 0 ? (i - w / 2) / w : 0.0;
    const double a = 0.25 - u * u;
    switch (type) {
    case 1:
        return {roundEven(a * h * (p1 + p2) / 26), roundEven(h * p1 * 0.01 + h)};
    case 2:
        return {0, roundEven(h - a * h * (p1 + p2) / 26 + h * p1 * 0.01)};
    case 3: {
        const double m = std::min(0, roundEven(0.25 * h * (p1 - 50) * 0.02));
        return {roundEven(a * h * (p1 - 50) / 50 - m),
                roundEven(h - a * h * (p2 - 50) * 0.02 + h * (p3 - 40) * 0.01 - m)};
    }
    case 4:
        return slantColumn(w, h, p1, p2, p3, i);
    case 5:
        return slantColumn(w, h, p1, p2, p3, w - i);
    case 6:
        return {roundEven(roofValue(h, p1, x)), roundEven(h * p2 * 0.01 + h + 1)};
    case 7: {
        const int v = roundEven(roofValue(h, p1, x));
        return {v, height + v};
    }
    case 8:
    case 9: {
        const double periods = type == 8 ? 2.0 : 3.0;
        const int v = roundEven(h * p1 * 0.005 * (std::sin(periods * kPi * (x + p2 * 0.01)) + 1));
        return {v, height + v};
    }
    default:
        return {0, roundEven(h * p1 * 0.01 + h)};
    }
}

int warpHeight(int type, int p1, int p2, int p3, QSize source) {
    const int w = std::max(0, source.width());
    const int h = std::max(0, source.height());
    int result = 0;
    for (int i = 0; i < w; ++i) result = std::max(result, warpColumn(type, p1, p2, p3, w, h, i).bottom);
    return result;
}

QSize warpedSize(int type, int p1, int p2, int p3, QSize source) {
    return {std::max(0, source.width()), warpHeight(type, p1, p2, p3, source)};
}

int warp(const QImage& source, QImage& destination, int type, int p1, int p2, int p3, QRgb background, bool draw) {
    const int w = source.width();
    const int h = source.height();
    if (!destination.isNull()) {
        const QImage::Format wanted =
            hasAlpha(destination) || hasAlpha(source) ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        if (destination.format() != wanted) destination = destination.convertToFormat(wanted);
        const int fillWidth = std::min(w, destination.width());
        for (int y = 0; y < destination.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(destination.scanLine(y));
            std::fill(row, row + fillWidth, background);
        }
    }
    int result = 0;
    QImage src;
    if (draw && !destination.isNull() && h > 0)
        src = source.convertToFormat(destination.format() == QImage::Format_ARGB32 ? QImage::Format_ARGB32
                                                                                      : QImage::Format_RGB32);
    for (int i = 0; i < w; ++i) {
        const WarpColumn c = warpColumn(type, p1, p2, p3, w, h, i);
        result = std::max(result, c.bottom);
        if (src.isNull() || i >= destination.width()) continue;
        const int span = c.bottom - c.top;
        // A column with no height draws nothing.
        if (span <= 0) continue;
        const int first = std::max(c.top, 0);
        const int last = std::min(c.bottom, destination.height());
        for (int y = first; y < last; ++y) {
            reinterpret_cast<QRgb*>(destination.scanLine(y))[i] = resampledPixel(src, i, y - c.top, span);
        }
    }
    return result;
}

QImage warpImage(const QImage& source, int type, int p1, int p2, int p3, QRgb background) {
    const QSize size = warpedSize(type, p1, p2, p3, source.size());
    if (size.isEmpty()) return {};
    QImage canvas(size, hasAlpha(source) ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (canvas.isNull()) return {};
    warp(source, canvas, type, p1, p2, p3, background, true);
    return canvas;
}

QImage warpImage(const QImage& source, const WarpSettings& s, QRgb background) {
    return warpImage(source, s.type, s.p1, s.p2, s.p3, background);
}

}  // namespace vakuro
