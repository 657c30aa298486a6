#include "button_painter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dib_image.h"
#include "shared_routines.h"

namespace vakuro {

QRgb colourRefToRgb(int colourRef) {
    return qRgb(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}

int rgbToColourRef(QRgb rgb) { return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

namespace {

// Single-pixel reads and writes in 0x00BBGGRR; outside the canvas writes
// are ignored and reads give -1.
class Surface {
public:
    explicit Surface(QImage& image) : image_(image) {}
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
    int get(int x, int y) const {
        if (!inside(x, y)) return -1;
        return rgbToColourRef(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
    }
    void set(int x, int y, int colour) {
        if (!inside(x, y)) return;
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colourRefToRgb(colour);
    }
    // A line from (x0, y0) up to, not including, (x1, y1); only straight
    // horizontal or vertical lines occur.
    void line(int x0, int y0, int x1, int y1, int colour) {
        if (y0 == y1) {
            for (int x = x0; x < x1; ++x) set(x, y0, colour);
            for (int x = x0; x > x1; --x) set(x, y0, colour);
        } else if (x0 == x1) {
            for (int y = y0; y < y1; ++y) set(x0, y, colour);
            for (int y = y0; y > y1; --y) set(x0, y, colour);
        }
    }

private:
    QImage& image_;
};

QImage asRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

void cutRoundCorners(Surface& s, int r, int outside) {
    const int bw = s.width();
    const int bh = s.height();
    for (int y = 0; y < r; ++y) {
        const double d = y - r + 0.5;
        const double q = std::sqrt(std::max(RoundHalfEven(double(r) * r - d * d), 0));
        for (int x = 0; x < r; ++x) {
            if (!(x < r - q - 1)) continue;
            s.set(x, y, outside);
            s.set(bw - 1 - x, y, outside);
            s.set(x, bh - 1 - y, outside);
            s.set(bw - 1 - x, bh - 1 - y, outside);
        }
    }
}

void cutDiamond(Surface& s, int background, int outside, bool smoothing) {
    const int bw = s.width();
    const int bh = s.height();
    const double cx = bw / 2.0;
    const double cy = bh / 2.0;
    auto hw = [&](int y) { return (cy - std::abs(y - cy)) * bw / bh; };
    for (int y = 0; y < bh; ++y) {
        const double h = hw(y);
        if (!smoothing) {
            for (int x = 0; x < bw; ++x) {
                if ((x < cx - h || x > cx + h) && s.get(x, y) == background) s.set(x, y, outside);
            }
            continue;
        }
        if (h == hw(y - 1)) continue;
        const bool top = y <= cy;
        const double step = top ? h - hw(y - 1) : h - hw(y + 1);
        if (step == 0) continue;
        for (int x = 0; x < bw; ++x) {
            if (s.get(x, y) != background) continue;
            const bool left = x <= cx;
            const double t = left ? (x - (cx - h)) / step : (h + cx - x) / step;
            s.set(x, y, BlendColour(background, outside, std::clamp(t, 0.0, 1.0)));
        }
    }
}

void cutHexagon(Surface& s, int background, int outside) {
    const int bw = s.width();
    const int bh = s.height();
    if (bh < bw) {
        for (int y = 0; y < bh; ++y) {
            const double q = bh / 2.0 - std::abs(y - bh / 2.0);
            for (int x = 0; x < bw; ++x) {
                if ((x < bh / 2.0 - q || x > bw - bh / 2.0 + q) && s.get(x, y) == background) s.set(x, y, outside);
            }
        }
    } else {
        for (int x = 0; x < bw; ++x) {
            const double q = bw / 2.0 - std::abs(x - bw / 2.0);
            for (int y = 0; y < bh; ++y) {
                if ((y < bw / 2.0 - q || y > bh - bw / 2.0 + q) && s.get(x, y) == background) s.set(x, y, outside);
            }
        }
    }
}

void squareOutline(Surface& s, const ButtonLook& look, int c0, int c7, const std::vector<int>& table) {
    const int bw = s.width();
    const int bh = s.height();
    for (int j = 0; j < look.outlineWidth; ++j) {
        if (look.outline == OutlinePipe) {
            const int c = table[j];
            s.line(j, j, bw - j, j, c);
            s.line(j, j, j, bh - j, c);
            s.line(j, bh - 1 - j, bw - j, bh - 1 - j, c);
            s.line(bw - 1 - j, j, bw - 1 - j, bh - j, c);
        } else {
            s.line(0, j, bw - j, j, c0);
            s.line(j, 0, j, bh - j, c0);
            s.line(j, bh - 1 - j, bw, bh - 1 - j, c7);
            s.line(bw - 1 - j, j, bw - 1 - j, bh, c7);
        }
    }
}

void roundOutline(Surface& s, const ButtonLook& look, int r, int e, int c0, int c7, const std::vector<int>& table) {
    const int bw = s.width();
    const int bh = s.height();
    auto paint = [&](int x, int y, int colour) {
        if (s.inside(x, y) && s.get(x, y) != look.outside) s.set(x, y, colour);
    };
    for (int j = e - 1; j >= 0; --j) {
        int a = c0;
        int b = c7;
        if (look.outline == OutlinePipe) a = b = table[j];
        const int rho = r - j;
        for (int k = 0; k <= r; ++k) {
            const double d = k - r + 0.5;
            const int dd = RoundHalfEven(std::sqrt(std::max(RoundHalfEven(double(rho) * rho - d * d), 0)));
            const double mix = r == e ? 0.0 : double(k - e) / (r - e);
            for (int l = 0; l <= r; ++l) {
                if (!(l < r - dd - 1)) continue;
                paint(l, k, a);
                paint(bw - l, bh - k, b);
                paint(l, bh - k, BlendColour(a, b, mix));
                paint(bw - l, k, BlendColour(b, a, mix));
            }
        }
    }
    for (int k = 0; k <= e - 3; ++k) {
        const int side = s.get(r - 2, k);
        s.line(k, r, k, bh - r, side);
        s.line(r - 1, k, bw - r + 2, k, side);
        s.line(bw - 1 - k, r, bw - 1 - k, bh - r, s.get(bw - 1 - k, bh - r));
        s.line(r - 2, bh - 1 - k, bw - r + 2, bh - 1 - k, s.get(bw - r + 2, bh - 1 - k));
    }
}

}  // namespace

InkMargins inkMargins(const QImage& source, int background) {
    const QImage text = asRgb32(source);
    const int w = text.width();
    const int h = text.height();
    const QRgb bg = colourRefToRgb(background);
    auto ink = [&](int x, int y) { return (reinterpret_cast<const QRgb*>(text.constScanLine(y))[x] & 0xFFFFFF) != (bg & 0xFFFFFF); };
    InkMargins m{w, w, h, h};
    auto column = [&](int x) {
        for (int y = 0; y < h; ++y)
            if (ink(x, y)) return true;
        return false;
    };
    auto row = [&](int y) {
        for (int x = 0; x < w; ++x)
            if (ink(x, y)) return true;
        return false;
    };
    for (int x = 0; x < w; ++x)
        if (column(x)) { m.left = x; break; }
    for (int k = 0; k < w; ++k)
        if (column(w - 1 - k)) { m.right = k; break; }
    for (int y = 0; y < h; ++y)
        if (row(y)) { m.top = y; break; }
    for (int k = 0; k < h; ++k)
        if (row(h - 1 - k)) { m.bottom = k; break; }
    return m;
}

QImage placeOnCanvas(const QImage& text, int buttonWidth, int buttonHeight, int background, bool centring) {
    QImage canvas(buttonWidth, buttonHeight, QImage::Format_RGB32);
    canvas.fill(colourRefToRgb(background));
    const int w = text.width();
    const int h = text.height();
    double x = (buttonWidth - w) / 2.0;
    double y = (buttonHeight - h) / 2.0;
    if (centring) {
        const InkMargins m = inkMargins(text, background);
        x += (m.right - m.left) / 2.0;
        y += (m.bottom - m.top) / 2.0;
    }
    QPainter painter(&canvas);
    painter.drawImage(QPoint(RoundHalfEven(x), RoundHalfEven(y)), asRgb32(text));
    return canvas;
}

std::vector<int> pipeColourTable(int rings, int colour1, int colour2) {
    std::vector<int> table(std::max(rings, 0));
    const double c = rings == 1 ? 0.1 : (rings - 1) * 0.5;
    for (int j = 0; j < rings; ++j) {
        const double v = ((j - c) / c) * ((j - c) / c);
        table[j] = BlendColour(colour1, colour2, v);
    }
    return table;
}

void paintButton(QImage& canvas, int background, const ButtonLook& look) {
    if (canvas.format() != QImage::Format_RGB32) canvas = canvas.convertToFormat(QImage::Format_RGB32);
    Surface s(canvas);
    const int bw = s.width();
    const int bh = s.height();
    if (bw <= 0 || bh <= 0) return;
    const int r = RoundHalfEven(std::min(bw, bh) * 0.5);
    const int e = look.shape == ShapeRound ? 2 * look.outlineWidth : look.outlineWidth;
    std::vector<int> table;
    if (look.outline == OutlinePipe) table = pipeColourTable(e, look.colour1, look.colour2);

    switch (look.shape) {
        case ShapeRound: cutRoundCorners(s, r, look.outside); break;
        case ShapeDiamond: cutDiamond(s, background, look.outside, look.smoothing); break;
        case ShapeHexagon: cutHexagon(s, background, look.outside); break;
        default: break;
    }

    int c0 = look.colour1;
    int c7 = look.colour1;
    if (look.outline == OutlineRaised) {
        c0 = kOutlineLight;
        c7 = kOutlineDark;
    } else if (look.outline == OutlineSunken) {
        c0 = kOutlineDark;
        c7 = kOutlineLight;
    }
    if (look.outline < OutlineRaised || look.outline > OutlinePipe) return;
    if (look.shape == ShapeSquare) squareOutline(s, look, c0, c7, table);
    if (look.shape == ShapeRound) roundOutline(s, look, r, e, c0, c7, table);
}

int shadingStrength(int level) {
    static constexpr int kStrength[] = {0, 78, 108, 148, 178, 208};
    return level >= 1 && level <= 5 ? kStrength[level] : 0;
}

int shadingOffset(int y, int height, int strength) {
    return RoundHalfEven((0.5 - double(y + 1) / height) * strength);
}

void shadeButton(QImage& canvas, int background, int level) {
    const int k = shadingStrength(level);
    if (k == 0 || canvas.isNull()) return;
    const int w = canvas.width();
    const int h = canvas.height();
    std::vector<uint8_t> bits = ReadPictureBits(canvas);
    const int stride = dibStride(w);
    const int bgR = background & 0xFF, bgG = (background >> 8) & 0xFF, bgB = (background >> 16) & 0xFF;
    for (int y = 0; y < h; ++y) {
        const int d = shadingOffset(y, h, k);
        uint8_t* row = bits.data() + size_t(h - 1 - y) * stride;
        const uint8_t nb = uint8_t(std::clamp(bgB + d, 0, 255));
        const uint8_t ng = uint8_t(std::clamp(bgG + d, 0, 255));
        const uint8_t nr = uint8_t(std::clamp(bgR + d, 0, 255));
        for (int x = 0; x < w; ++x) {
            uint8_t* p = row + 3 * x;
            if (p[0] == bgB && p[1] == bgG && p[2] == bgR) {
                p[0] = nb;
                p[1] = ng;
                p[2] = nr;
            }
        }
    }
    canvas = imageFromDib(bits.data(), w, h).convertToFormat(QImage::Format_RGB32);
}

}  // namespace vakuro
