// Floating-point pictures and colour helpers for the generators. Colours are
// sRGB channels on the 0..255 scale; pictures are stored top row first and
// converted to the bitmap layout only when written.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace vakuro::gen {

inline constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(double k, Rgb a) { return a * k; }
inline Rgb mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }

inline double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }
inline double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
// Multiplies the colour towards black (k < 1) or lightens it towards white
// keeping its hue (k > 1 blends the excess into white).
inline Rgb shade(Rgb c, double k) {
    if (k <= 1) return c * k;
    return mix(c, Rgb{255, 255, 255}, std::min(1.0, k - 1));
}

struct Stop {
    double at;
    Rgb colour;
};

// Piecewise interpolation through colour stops sorted by position; t outside
// the stops takes the end colours. Segments are eased with smoothstep when
// smooth is set, which avoids visible kinks at the stops.
inline Rgb gradient(const std::vector<Stop>& stops, double t, bool smooth = false) {
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const double span = stops[i].at - stops[i - 1].at;
            double u = span > 0 ? (t - stops[i - 1].at) / span : 1.0;
            if (smooth) u = u * u * (3 - 2 * u);
            return mix(stops[i - 1].colour, stops[i].colour, u);
        }
    }
    return stops.back().colour;
}

// Hue in turns (0..1), saturation and value 0..1, to 0..255 channels.
inline Rgb hsv(double h, double s, double v) {
    h = h - std::floor(h);
    const double k[3] = {5, 3, 1};
    double out[3];
    for (int i = 0; i < 3; ++i) {
        const double kk = std::fmod(k[i] + h * 6, 6.0);
        out[i] = v - v * s * std::max(0.0, std::min({kk, 4 - kk, 1.0}));
    }
    return {out[0] * 255, out[1] * 255, out[2] * 255};
}

class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), px_(size_t(width) * height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return px_[size_t(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return px_[size_t(y) * width_ + x]; }
    // Wrapping access: the picture seen as a torus.
    const Rgb& wrapped(int x, int y) const {
        x %= width_;
        y %= height_;
        return at(x < 0 ? x + width_ : x, y < 0 ? y + height_ : y);
    }

    // Sets every pixel to the average of f over an n x n grid of sample
    // points inside it. f takes continuous coordinates: pixel (i, j) spans
    // [i, i + 1) x [j, j + 1), y growing downwards.
    template <class F>
    void fill(int n, F&& f) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                Rgb sum;
                for (int sy = 0; sy < n; ++sy)
                    for (int sx = 0; sx < n; ++sx)
                        sum = sum + f(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
                at(x, y) = sum * (1.0 / (n * n));
            }
    }

    // The pixels as 24-bit rows in the bitmap layout: bottom row first,
    // blue, green, red, rows padded to 4 bytes. Channels are rounded and
    // clamped to 0..255.
    std::vector<uint8_t> toBitmapRows() const {
        const int stride = 4 * ((3 * width_ + 3) / 4);
        std::vector<uint8_t> out(size_t(stride) * height_, 0);
        for (int y = 0; y < height_; ++y) {
            uint8_t* row = out.data() + size_t(height_ - 1 - y) * stride;
            for (int x = 0; x < width_; ++x) {
                const Rgb& c = at(x, y);
                row[3 * x + 0] = channel(c.b);
                row[3 * x + 1] = channel(c.g);
                row[3 * x + 2] = channel(c.r);
            }
        }
        return out;
    }

    static uint8_t channel(double v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
    }

private:
    int width_;
    int height_;
    std::vector<Rgb> px_;
};

}  // namespace vakuro::gen
