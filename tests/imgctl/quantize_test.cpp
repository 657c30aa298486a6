// Reduction to 256 colours in the core.
#include <gtest/gtest.h>

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
        const auto d2 = [&](const Rgb& q) {
            return (p[0] - q.r) * (p[0] - q.r) + (p[1] - q.g) * (p[1] - q.g) + (p[2] - q.b) * (p[2] - q.b);
        };
        const int own = d2(nearest.palette[nearest.indices[i]]);
        for (const Rgb& q : nearest.palette) ASSERT_LE(own, d2(q)) << "pixel " << i;
    }
    EXPECT_LT(squaredError(src, nearest), squaredError(src, dithered));
}
