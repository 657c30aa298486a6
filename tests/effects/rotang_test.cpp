#include "rotang.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// The angles the program passes: degrees * 3.14159265 / 180, as floats.
const float kQuarter = static_cast<float>(90 * 3.14159265 / 180);
const float kEighth = static_cast<float>(45 * 3.14159265 / 180);

// Pixel (x, y) = (x, y, 7), the bottom-left one (0, 0, 200): every pixel
// tells where it came from and the background is recognisable.
Image positions(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 7;
        }
    image.pixel(0, 0)[2] = 200;
    return image;
}
const Bgr kBackground{0, 0, 200};

// Corner maps with single-precision sin and cos (cos 90 degrees is about
// -4.4e-8, so values near whole numbers fall either side):
//  100 x 40, 0:   X 0 100, Y 0 40.
//  100 x 40, 90:  X = 50 + c(x-50) + (y-20): 30.000002, 29.999998,
//                 70.000002, 69.999998 -> 29 .. 70 = 41;
//                 Y = 20 + c(y-20) - (x-50): 70, -29, 69, -30 -> 100.
//  100 x 40, 45:  s = c = 0.7071: X 0.50, 71.2, 28.8, 99.5 -> 0 .. 99;
//                 Y 41.2, -29.5, 69.5, -1.2 -> -29 .. 69 = 98.
//  4 x 2, 45:     X -0.12, 2.71, 1.29, 4.12 -> 0 .. 4;
//                 Y 1.71, -1.12, 3.12, 0.29 -> -1 .. 3 = 4.
//  1 x 1, 90:     X 0.00000002, -0.00000002, 1.0, 0.99999998 -> 0 .. 1.
TEST(RotAng, SizeTable) {
    struct Case {
        int width, height;
        float angle;
        int newWidth, newHeight;
    };
    const Case cases[] = {
        {100, 40, 0.0f, 100, 40}, {100, 40, kQuarter, 41, 100}, {100, 40, kEighth, 99, 98},
        {4, 2, kEighth, 4, 4},    {1, 1, kQuarter, 1, 1},       {1, 1, 0.0f, 1, 1},
    };
    for (const Case& c : cases) {
        const RotatedSize size = rotatedSize(c.width, c.height, c.angle);
        EXPECT_EQ(size.width, c.newWidth) << c.width << "x" << c.height << " by " << c.angle;
        EXPECT_EQ(size.height, c.newHeight) << c.width << "x" << c.height << " by " << c.angle;
    }
}

// 4 x 2 by an eighth turn into 4 x 4 (centres (2, 1) and (2, 2)):
// u = trunc(2 + 0.7071 (dx - dy)), v = trunc(1 + 0.7071 (dx + dy)) with
// dx = x' - 2, dy = y' - 2; (-1, 0) truncates to 0 and counts as inside.
// Source           top    e f g h        result (top row first)  a e f .
//                  bottom a b c d                                a b g g
//                                                                . c c h
//                                                                . . d .
// where . is the background, the colour of a.
TEST(RotAng, EighthTurnTable) {
    const Bgr a{1, 0, 0}, b{2, 0, 0}, c{3, 0, 0}, d{4, 0, 0}, e{5, 0, 0}, f{6, 0, 0},
        g{7, 0, 0}, h{8, 0, 0};
    const Image source = image24(4, 2, {a, b, c, d, e, f, g, h});
    const Image out = rotateByAngle(source.view(), kEighth);
    ASSERT_EQ(out.width, 4);
    ASSERT_EQ(out.height, 4);
    const std::vector<Bgr> expected{a, a, d, a,   // bottom row
                                    a, c, c, h,   //
                                    a, b, g, g,   //
                                    a, e, f, a};  // top row
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(at(out, x, y), expected[static_cast<size_t>(4 * y + x)]) << x << "," << y;
}

// By an eighth turn the four corner triangles take the background colour:
// the corners are background and along every row the picture is one
// unbroken run, with background on at least one side.
TEST(RotAng, EighthTurnFillsTheCornersWithTheBackground) {
    Image source(30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) source.pixel(x, y)[1] = 90;
    source.pixel(0, 0)[1] = 0;
    source.pixel(0, 0)[2] = 255;  // the background: red
    const Image out = rotateByAngle(source.view(), kEighth);
    const Bgr red{0, 0, 255}, ink{0, 90, 0};
    for (const auto& [x, y] : {std::pair{0, 0}, {out.width - 1, 0}, {0, out.height - 1},
                               {out.width - 1, out.height - 1}}) {
        EXPECT_EQ(at(out, x, y), red) << x << "," << y;
    }
    for (int y = 0; y < out.height; ++y) {
        std::string runs;
        for (int x = 0; x < out.width; ++x) {
            const char kind = at(out, x, y) == ink ? 'I' : at(out, x, y) == red ? 'b' : '?';
            if (runs.empty() || runs.back() != kind) runs.push_back(kind);
        }
        EXPECT_TRUE(runs == "bIb" || runs == "bI" || runs == "Ib") << "row " << y << ": " << runs;
    }
}

// A quarter turn of 100 x 40 comes out 41 x 100 (the truncation of the
// single-precision corners gains a column) and turns the picture whole,
// without corner triangles. cos is about -4.4e-8, so with dx = x' - 20,
// dy = y' - 50 the source position u = trunc(50 - dy + dx cos),
// v = trunc(20 + dx + dy cos) falls a pixel short where the tiny term is
// negative: u = 100 - y' for x' <= 20, else 99 - y'; v = x' for y' <= 50,
// else x' - 1 (0 stays 0). u = 100 and v = 40 lie outside: background.
TEST(RotAng, QuarterTurnTurnsThePictureWithoutCorners) {
    const Image source = positions(100, 40);
    const Image out = rotateByAngle(source.view(), kQuarter);
    ASSERT_EQ(out.width, 41);
    ASSERT_EQ(out.height, 100);
    int background = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 41; ++x) {
            const int u = x <= 20 ? 100 - y : 99 - y;
            const int v = y <= 50 ? x : std::max(x - 1, 0);
            const bool outside = u == 100 || v == 40;
            background += outside ? 1 : 0;
            ASSERT_EQ(at(out, x, y), outside ? kBackground : at(source, u, v)) << x << "," << y;
        }
    }
    EXPECT_EQ(background, 21 + 51);  // bottom row up to column 20, last column up to row 50
}

TEST(RotAng, ZeroAngleCopiesAndReportsTheSize) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, positions(5, 3));
    int w = -1, h = -1;
    ASSERT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, 0.0f), 1);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(readBytes(b), readBytes(a));

    // The same path: 0, nothing written, the size still reported.
    const std::vector<uint8_t> before = readBytes(a);
    w = h = -1;
    EXPECT_EQ(rotAngFile(a.c_str(), a.c_str(), &w, &h, -0.0f), 0);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(readBytes(a), before);
    // A missing file with the same path: 0, the outputs untouched.
    const std::string missing = dir.file("missing.bmp");
    w = h = -1;
    EXPECT_EQ(rotAngFile(missing.c_str(), missing.c_str(), &w, &h, 0.0f), 0);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(h, -1);
}

TEST(RotAng, SameFileAndNullOutputs) {
    TempDir dir;
    const std::string a = dir.file("a.bmp");
    writeImage(a, positions(100, 40));
    ASSERT_EQ(rotAngFile(a.c_str(), a.c_str(), nullptr, nullptr, kQuarter), 1);
    const Image out = readImage(a);
    EXPECT_EQ(out.width, 41);
    EXPECT_EQ(out.height, 100);
}

TEST(RotAng, RefusedAnglesAndSizes) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, positions(3, 2));
    int w = -1, h = -1;
    for (const float angle : {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, angle), -11) << angle;
    }
    // Huge but finite angles are ordinary turns.
    EXPECT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, 1e30f), 1);
    // 30000 x 1 by an eighth turn would be 21213 x 21213 (1.3 GB).
    writeImage(a, Image(30000, 1));
    EXPECT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, kEighth), -6);
    writeImage(a, image8(2, 2, {1, 2, 3, 4}));
    EXPECT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, kEighth), -5);
    EXPECT_EQ(rotAngFile(a.c_str(), b.c_str(), &w, &h, 0.0f), -5);
}

TEST(RotAng, GoldenTestCard) {
    const float thirty = static_cast<float>(30 * 3.14159265 / 180);
    expectMatchesGolden(rotateByAngle(testCard(16, 12).view(), thirty), "rotang/card_16x12_by_30");
    expectMatchesGolden(rotateByAngle(testCard(16, 12).view(), -2.5f), "rotang/card_16x12_by_-2.5rad");
}

}  // namespace
}  // namespace tesmor
