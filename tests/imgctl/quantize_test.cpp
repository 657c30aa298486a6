// Reduction to 256 colours in the core.
#include <gtest/gtest.h>

#include <algorithm>

#include "bmp_reader.h"
#include "quantize.h"
#include "support.h"

using namespace imgctl;
using namespace imgctl_test;

namespace {

Bitmap load(const Picture& p) {
    Bitmap b;
    EXPECT_EQ(decodeBmp(bmp24(p), b), BmpStatus::Ok);
    return b;
}

// A gradient with pseudo-random noise of the given amplitude on every
// channel: many colours, in clusters that overlap.
Picture noisy(int width, int height, int amplitude) {
    Picture p = gradient(width, height);
    uint32_t state = 12345;
    for (Color& c : p.pixels)
        for (uint8_t* v : {&c.r, &c.g, &c.b}) {
            state = state * 1103515245u + 12345u;
            const int n = int((state >> 16) % uint32_t(2 * amplitude + 1)) - amplitude;
            *v = uint8_t(std::clamp(int(*v) + n, 0, 255));
        }
    return p;
}

int distance2(const uint8_t* p, const Rgb& q) {
    return (p[0] - q.r) * (p[0] - q.r) + (p[1] - q.g) * (p[1] - q.g) + (p[2] - q.b) * (p[2] - q.b);
}

double psnrOf(const Bitmap& rgb, const Bitmap& reduced) {
    std::vector<Color> a, b;
    for (size_t i = 0; i < rgb.pixelCount(); ++i) {
        const Rgb x = rgb.colorAt(i), y = reduced.colorAt(i);
        a.push_back({x.r, x.g, x.b});
        b.push_back({y.r, y.g, y.b});
    }
    return psnr(a, b);
}

}  // namespace

TEST(Quantize, PicturesOfFewColoursComeThroughExactly) {
    for (int colors : {1, 2, 255, 256}) {
        const Bitmap src = load(bands(31, 17, colors));
        Bitmap out;
        ASSERT_EQ(quantize(src, 256, Dither::Nearest, out), QuantStatus::Ok);
        EXPECT_TRUE(out.indexed);
        EXPECT_EQ(int(out.palette.size()), colors);
        EXPECT_EQ(squaredError(src, out), 0u) << colors << " colours";
    }
}

TEST(Quantize, ManyColoursFitTheLimitAndStayClose) {
    struct Case {
        int maxColors;
        double minPsnr;
    };
    const Bitmap src = load(gradient(96, 64));
    for (const Case c : {Case{256, 34.0}, Case{16, 22.0}, Case{2, 10.0}}) {
        Bitmap out;
        ASSERT_EQ(quantize(src, c.maxColors, Dither::Nearest, out), QuantStatus::Ok);
        EXPECT_LE(int(out.palette.size()), c.maxColors);
        ASSERT_EQ(out.indices.size(), src.pixelCount());
        for (uint8_t v : out.indices) ASSERT_LT(v, out.palette.size());
        EXPECT_GT(psnrOf(src, out), c.minPsnr) << c.maxColors << " colours";
    }
}

// Without dithering every pixel holds its nearest palette colour, so no
// mapping onto that palette (dithered ones included) has a smaller error.
TEST(Quantize, NearestMappingHasTheSmallestError) {
    const Bitmap src = load(gradient(96, 64));
    Bitmap nearest, dithered;
    ASSERT_EQ(quantize(src, 32, Dither::Nearest, nearest), QuantStatus::Ok);
    ASSERT_EQ(quantize(src, 32, Dither::Always, dithered), QuantStatus::Ok);
    for (size_t i = 0; i < src.pixelCount(); ++i) {
        const uint8_t* p = &src.rgba[i * 4];
        const int own = distance2(p, nearest.palette[nearest.indices[i]]);
        for (const Rgb& q : nearest.palette) ASSERT_LE(own, distance2(p, q)) << "pixel " << i;
    }
    EXPECT_LT(squaredError(src, nearest), squaredError(src, dithered));
}

// The same on pictures whose colours lie far from their palette entries,
// where the pruned nearest-entry search has the most candidates to rule out.
TEST(Quantize, EveryPixelTakesItsNearestEntry) {
    for (const int amplitude : {0, 40, 128})
        for (const int maxColors : {2, 16, 256}) {
            const Bitmap src = load(noisy(80, 60, amplitude));
            Bitmap out;
            ASSERT_EQ(quantize(src, maxColors, Dither::Nearest, out), QuantStatus::Ok);
            ASSERT_LE(int(out.palette.size()), maxColors);
            for (size_t i = 0; i < src.pixelCount(); ++i) {
                const uint8_t* p = &src.rgba[i * 4];
                const int own = distance2(p, out.palette[out.indices[i]]);
                for (const Rgb& q : out.palette)
                    ASSERT_LE(own, distance2(p, q)) << "pixel " << i << ", noise " << amplitude << ", "
                                                    << maxColors << " colours";
            }
        }
}

// One colour too many: every palette entry is used and all colours but the
// two that share an entry (whose mean may be one of them) come through
// exactly.
TEST(Quantize, OneColourTooManySharesOneEntry) {
    Picture p = solid(257, 3, {});
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.at(x, y) = {uint8_t(x % 256), uint8_t(x / 256 * 128), 50};
    const Bitmap src = load(p);
    Bitmap out;
    ASSERT_EQ(quantize(src, 256, Dither::Nearest, out), QuantStatus::Ok);
    EXPECT_EQ(out.palette.size(), 256u);
    int exact = 0;
    for (int x = 0; x < p.width; ++x) exact += distance2(&src.rgba[size_t(x) * 4], out.palette[out.indices[size_t(x)]]) == 0;
    EXPECT_GE(exact, 255);
}

TEST(Quantize, SamePictureSameResult) {
    const Bitmap src = load(noisy(80, 60, 40));
    Bitmap first, second;
    ASSERT_EQ(quantize(src, 256, Dither::Nearest, first), QuantStatus::Ok);
    ASSERT_EQ(quantize(src, 256, Dither::Nearest, second), QuantStatus::Ok);
    EXPECT_EQ(first.palette, second.palette);
    EXPECT_EQ(first.indices, second.indices);
}
