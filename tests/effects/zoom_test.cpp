#include "zoom.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// The blue channel carries the values; green is a constant 7 and red 0, so
// a constant channel must stay constant and channels must not swap.
Image blueImage(int width, int height, std::initializer_list<int> values) {
    Image image(width, height);
    auto it = values.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(*it);
            p[1] = 7;
        }
    }
    return image;
}

std::vector<int> blueLevels(const Image& image) {
    std::vector<int> v;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Bgr c = at(image, x, y);
            EXPECT_EQ(c.g, 7);
            EXPECT_EQ(c.r, 0);
            v.push_back(c.b);
        }
    }
    return v;
}

// 2 x 2 to 4 x 4: SX = SY = 20, cap 2; sx = sy = 0 everywhere, fractions
// 0 1 2 2. Column weights (left, right) 20/0, 10/10, 0/20, 0/20; rows alike.
// Source: bottom row 0 101, top row 200 40.
//   row 0: 0, floor(floor(200*101/20)/20) = 50, 101, 101
//   row 1: 100, floor(floor(100*341/20)/20) = 85, floor(floor(200*141/20)/20) = 70, 70
//   rows 2 and 3: 200, floor(floor(200*240/20)/20) = 120, 40, 40
TEST(Zoom, TwoByTwoToFourByFour) {
    const Image out = zoomBilinear(blueImage(2, 2, {0, 101, 200, 40}).view(), 4, 4);
    EXPECT_EQ(blueLevels(out), (std::vector<int>{0, 50, 101, 101,    //
                                                 100, 85, 70, 70,    //
                                                 200, 120, 40, 40,   //
                                                 200, 120, 40, 40}));
}

// 3 x 1 to 6 x 2: SX = 20, cap 2, sx = floor(x / 3), fx = x - 3 sx; the
// single row is repeated.
TEST(Zoom, OnePixelHighSourceRepeatsItsRow) {
    const Image out = zoomBilinear(blueImage(3, 1, {0, 100, 200}).view(), 6, 2);
    EXPECT_EQ(blueLevels(out), (std::vector<int>{0, 50, 100, 100, 150, 200,  //
                                                 0, 50, 100, 100, 150, 200}));
}

// 1 x 3 to 2 x 3: SY = 10, cap 1, sy = floor(2y / 3) = 0 0 1, fy = 0 1 1:
// rows 0, 1, 2 of the source; the single column is repeated.
TEST(Zoom, OnePixelWideSourceRepeatsItsColumn) {
    const Image out = zoomBilinear(blueImage(1, 3, {0, 100, 200}).view(), 2, 3);
    EXPECT_EQ(blueLevels(out), (std::vector<int>{0, 0, 100, 100, 200, 200}));
}

TEST(Zoom, OnePixelSourceGivesAUniformImage) {
    const Image source = image24(1, 1, {{9, 99, 199}});
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {1, 5}, {64, 1}}) {
        const Image out = zoomBilinear(source.view(), w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(at(out, x, y), (Bgr{9, 99, 199})) << w << "x" << h;
    }
}

// Shrinking (capX = capY = 0) takes source pixel (floor(x (W-1) / w),
// floor(y (H-1) / h)): 7 x 4 to 3 x 2 reads columns 0 2 4, rows 0 1.
TEST(Zoom, ShrinkingIsPointSampling) {
    Image source(7, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) source.pixel(x, y)[0] = static_cast<uint8_t>(5 * x + 60 * y);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) source.pixel(x, y)[1] = 7;
    const Image out = zoomBilinear(source.view(), 3, 2);
    EXPECT_EQ(blueLevels(out), (std::vector<int>{0, 10, 20, 60, 70, 80}));
}

// 40 x 40 to 160 x 40 of a ramp 4x + y: every output row is its source row
// (offset y), and along the row the values climb from 4*0 to 4*39 in steps
// of at most 1, where nearest-neighbour would jump by 4.
TEST(Zoom, WideningInterpolatesHorizontallyAndKeepsEveryRow) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    Image source(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            source.pixel(x, y)[0] = static_cast<uint8_t>(4 * x + y);
            source.pixel(x, y)[1] = 7;
        }
    writeImage(a, source);
    ASSERT_EQ(zoomFile(a.c_str(), b.c_str(), 160, 40), 1);
    const Image out = readImage(b);
    ASSERT_EQ(out.width, 160);
    ASSERT_EQ(out.height, 40);
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(out.view().pixel(0, y)[0], y);
        EXPECT_EQ(out.view().pixel(159, y)[0], 156 + y);
        for (int x = 1; x < 160; ++x) {
            const int step = out.view().pixel(x, y)[0] - out.view().pixel(x - 1, y)[0];
            ASSERT_TRUE(step == 0 || step == 1) << x << "," << y;
            ASSERT_EQ(out.view().pixel(x, y)[0] - out.view().pixel(x, 0)[0], y) << x << "," << y;
            ASSERT_EQ(out.view().pixel(x, y)[1], 7);
        }
    }
    // The first columns: 0 1 2 3 interpolate between source columns 0 and 1.
    for (int x = 0; x < 6; ++x) EXPECT_EQ(out.view().pixel(x, 0)[0], x);
}

TEST(Zoom, SizeCodesAndSamePath) {
    TempDir dir;
    const std::string a = dir.file("a.bmp");
    writeImage(a, blueImage(2, 1, {0, 100}));
    EXPECT_EQ(zoomFile(a.c_str(), a.c_str(), 0, 1), -7);
    EXPECT_EQ(zoomFile(a.c_str(), a.c_str(), 1, -1), -8);
    EXPECT_EQ(zoomFile(a.c_str(), a.c_str(), 30001, 1), -9);
    EXPECT_EQ(zoomFile(a.c_str(), a.c_str(), 30000, 30000), -9);
    EXPECT_EQ(zoomFile(a.c_str(), dir.file("no/such/dir.bmp").c_str(), 4, 1), -6);
    ASSERT_EQ(zoomFile(a.c_str(), a.c_str(), 4, 1), 1);
    // SX = 20, cap 2: sx = floor(x / 4) = 0, fx = 0 1 2 2
    EXPECT_EQ(blueLevels(readImage(a)), (std::vector<int>{0, 50, 100, 100}));
}

TEST(Zoom, GoldenTestCard) {
    expectMatchesGolden(zoomBilinear(testCard(16, 12).view(), 40, 30), "zoom/card_16x12_to_40x30");
    expectMatchesGolden(zoomBilinear(testCard(16, 12).view(), 37, 5), "zoom/card_16x12_to_37x5");
}

}  // namespace
}  // namespace tesmor
