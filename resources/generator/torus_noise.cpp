#include "torus_noise.h"

#include <cmath>
#include <complex>

#include "random.h"
#include "raster.h"

namespace vakuro::gen {

double Field::wrapped(int x, int y) const {
    x %= width_;
    y %= height_;
    return at(x < 0 ? x + width_ : x, y < 0 ? y + height_ : y);
}

double Field::sample(double x, double y) const {
    const double fx = x - 0.5, fy = y - 0.5;
    const double x0 = std::floor(fx), y0 = std::floor(fy);
    const double tx = fx - x0, ty = fy - y0;
    const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
    const double a = wrapped(ix, iy), b = wrapped(ix + 1, iy);
    const double c = wrapped(ix, iy + 1), d = wrapped(ix + 1, iy + 1);
    return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
}

namespace {

// Signed frequency index of DFT bin k on n points.
int signedBin(int k, int n) { return k <= n / 2 ? k : k - n; }

std::vector<std::complex<double>> twiddles(int n) {
    std::vector<std::complex<double>> t(n);
    for (int k = 0; k < n; ++k) t[k] = std::polar(1.0, 2 * kPi * k / n);
    return t;
}

}  // namespace

Field spectralNoise(int width, int height, uint64_t seed, const Spectrum& spectrum) {
    Random rng(seed);
    // Coefficients, drawn in a fixed order so the result depends on the seed only.
    std::vector<std::complex<double>> coef(size_t(width) * height);
    for (int ky = 0; ky < height; ++ky)
        for (int kx = 0; kx < width; ++kx) {
            const double u = 1.0 - rng.uniform();  // (0, 1]
            const double phase = 2 * kPi * rng.uniform();
            if (kx == 0 && ky == 0) continue;
            const double fx = double(signedBin(kx, width)) / width;
            const double fy = double(signedBin(ky, height)) / height;
            const double magnitude = spectrum(fx, fy) * std::sqrt(-2 * std::log(u));
            coef[size_t(ky) * width + kx] = std::polar(magnitude, phase);
        }

    // Inverse transform, separably: along x for every frequency row, then along y.
    const auto tw = twiddles(width), th = twiddles(height);
    std::vector<std::complex<double>> rows(size_t(width) * height);
    for (int ky = 0; ky < height; ++ky)
        for (int x = 0; x < width; ++x) {
            std::complex<double> s = 0;
            for (int kx = 0; kx < width; ++kx)
                s += coef[size_t(ky) * width + kx] * tw[(size_t(kx) * x) % width];
            rows[size_t(ky) * width + x] = s;
        }
    Field field(width, height);
    double sum = 0, sum2 = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::complex<double> s = 0;
            for (int ky = 0; ky < height; ++ky)
                s += rows[size_t(ky) * width + x] * th[(size_t(ky) * y) % height];
            field.at(x, y) = s.real();
            sum += s.real();
            sum2 += s.real() * s.real();
        }
    const double n = double(width) * height;
    const double mean = sum / n;
    const double sd = std::sqrt(std::max(sum2 / n - mean * mean, 1e-300));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) field.at(x, y) = (field.at(x, y) - mean) / sd;
    return field;
}

Field fractalNoise(int width, int height, uint64_t seed, double exponent, double lo, double hi,
                   double stretchX) {
    return spectralNoise(width, height, seed, [=](double fx, double fy) {
        const double f = std::hypot(fx * stretchX, fy);
        if (f < lo || f > hi) return 0.0;
        return std::pow(f, -exponent);
    });
}

double wrapDelta(double a, double b, double length) {
    double d = std::fmod(a - b, length);
    if (d > length / 2) d -= length;
    if (d < -length / 2) d += length;
    return d;
}

Sites::Nearest Sites::nearest(double px, double py) const {
    Nearest best{0, 1e300, 1e300};
    for (size_t i = 0; i < x.size(); ++i) {
        const double dx = wrapDelta(px, x[i], width), dy = wrapDelta(py, y[i], height);
        const double d = dx * dx + dy * dy;
        if (d < best.d1) {
            best.d2 = best.d1;
            best.d1 = d;
            best.index = static_cast<int>(i);
        } else if (d < best.d2) {
            best.d2 = d;
        }
    }
    best.d1 = std::sqrt(best.d1);
    best.d2 = std::sqrt(best.d2);
    return best;
}

Sites scatterSites(int width, int height, int count, uint64_t seed) {
    Random rng(seed);
    Sites s{width, height, {}, {}};
    for (int i = 0; i < count; ++i) {
        s.x.push_back(rng.uniform(0, width));
        s.y.push_back(rng.uniform(0, height));
    }
    return s;
}

}  // namespace vakuro::gen
