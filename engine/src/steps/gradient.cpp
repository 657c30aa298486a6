#include "gradient.h"

#include <algorithm>

namespace pavrex {

int quadratic(int t, int a, int b, int c) {
    const double x = 0.001 * t;
    const int v = static_cast<int>(2.0 * a * (x - 1) * (x - 0.5) + 4.0 * b * x * (1 - x) + 2.0 * c * x * (x - 0.5));
    if (v <= 1) return 1;
    if (v >= 255) return 255;
    return v;
}

Rgb twoColourColumn(int x, int width, Rgb c1, Rgb c2) {
    const double t = static_cast<double>(x) / width;
    auto mix = [t](int a, int b) { return static_cast<int>((1 - t) * a + t * b); };
    return {mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
}

Rgb threeColourColumn(int x, int width, Rgb c1, Rgb c2, Rgb c3) {
    const int t = static_cast<int>(1000LL * x / width);
    return {quadratic(t, c1.r, c2.r, c3.r), quadratic(t, c1.g, c2.g, c3.g), quadratic(t, c1.b, c2.b, c3.b)};
}

Rgb twoColourRow(int y, int height, Rgb c1, Rgb c2) {
    // The floor is the single-precision constant 0.00001.
    constexpr double kFloor = static_cast<double>(0.00001f);
    const int span = static_cast<int>(0.8 * height);
    double t = span != 0 ? (y - 0.15 * height) / span : 1.0;
    if (t <= kFloor) t = kFloor;
    if (t >= 1) t = 1;
    auto mix = [t](int a, int b) { return static_cast<int>((1 - t) * b + t * a); };
    return {mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
}

Rgb threeColourRow(int y, int height, Rgb c1, Rgb c2, Rgb c3) {
    const int a = std::clamp(static_cast<int>(1500LL * y / height) - 250, 0, 1000);
    return {quadratic(a, c3.r, c2.r, c1.r), quadratic(a, c3.g, c2.g, c1.g), quadratic(a, c3.b, c2.b, c1.b)};
}

}  // namespace pavrex
