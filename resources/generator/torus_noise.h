// Noise fields on a torus: every field here is periodic in both directions
// by construction, so pictures built from them tile without a seam.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vakuro::gen {

class Field {
public:
    Field(int width, int height) : width_(width), height_(height), v_(size_t(width) * height, 0.0) {}

    int width() const { return width_; }
    int height() const { return height_; }
    double& at(int x, int y) { return v_[size_t(y) * width_ + x]; }
    double at(int x, int y) const { return v_[size_t(y) * width_ + x]; }
    double wrapped(int x, int y) const;
    // Bilinear interpolation between pixel centres, wrapping at the edges.
    double sample(double x, double y) const;

private:
    int width_;
    int height_;
    std::vector<double> v_;
};

// Amplitude of the waves of spatial frequency (fx, fy), in cycles per pixel.
using Spectrum = std::function<double(double fx, double fy)>;

// A sum of every wave that fits the torus a whole number of times, each with
// a random phase and a random (Rayleigh) magnitude scaled by the spectrum,
// normalised to mean 0 and standard deviation 1. Gaussian-looking noise
// whose texture the spectrum sets: 1/f gives clouds, a flat band gives grain,
// a spectrum that favours fy over fx gives horizontally elongated features.
Field spectralNoise(int width, int height, uint64_t seed, const Spectrum& spectrum);

// Fractal noise: amplitude f^-exponent between the frequencies lo and hi
// (cycles per pixel); stretchX > 1 elongates features horizontally.
Field fractalNoise(int width, int height, uint64_t seed, double exponent, double lo, double hi,
                   double stretchX = 1.0);

// Sites scattered on a torus for cellular (Voronoi) patterns.
struct Sites {
    int width;
    int height;
    std::vector<double> x, y;

    struct Nearest {
        int index;     // nearest site
        double d1;     // distance to it
        double d2;     // distance to the second nearest
    };
    // Nearest sites to the point, measured across the wrap.
    Nearest nearest(double px, double py) const;
};

Sites scatterSites(int width, int height, int count, uint64_t seed);

// Shortest signed difference a - b on a circle of the given length.
double wrapDelta(double a, double b, double length);

}  // namespace vakuro::gen
