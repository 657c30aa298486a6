#include "light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// 8 x 3, background black (the bottom-left pixel), ink of grey 50 at
// (2, 0), (4, 1) and (6, 1):
//   row 2  . . . . . . . .
//   row 1  . . . . I . I .
//   row 0  . . I . . . . .
Image inkPicture() {
    return greyImage(8, 3, {0, 0, 50, 0, 0, 0, 0, 0,  //
                            0, 0, 0, 0, 50, 0, 50, 0,  //
                            0, 0, 0, 0, 0, 0, 0, 0});
}

struct Case {
    const char* what;
    int lightX, lightY, strength, falloff;
    std::vector<int> expected;  // grey levels, bottom row first
};

// Probes from (x, y) step 2 columns toward the light, rising
// floor(|dy| k / |dx|) rows; the march stops at the first background probe
// after ink and the last probe is where it stopped.
const Case kCases[] = {
    // Light at (8, 2), strength 2.
    //  (0,0): probes (0,0) (2,0)I (4,1)I (6,1)I: 3 -> +6
    //  (2,0): (2,0)I (4,0) stop: 1 -> +2        (4,0): (4,0) (6,1)I: 1 -> +2
    //  (0,1): (0,1) (2,1) (4,1)I (6,1)I: 2      (2,1): (2,1) (4,1)I (6,1)I: 2
    //  (4,1): (4,1)I (6,1)I: 2 -> 54            (6,1): (6,1)I: 1 -> 52
    {"falloff 0", 8, 2, 2, 0,
     {6, 0, 52, 0, 2, 0, 0, 0,  //
      4, 0, 4, 0, 54, 0, 52, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    // The same with falloff 15: o = trunc(count - dist / 2), dist to the
    // last probe sqrt(dx^2 + 2 dy^2):
    //  (0,0): 3 - sqrt(38)/2 < 0   (2,0): 1 - 2/2 = 0   (4,0): 1 - sqrt(6)/2 < 0
    //  (0,1): 2 - 6/2 < 0          (2,1): 2 - 4/2 = 0   (4,1): 2 - 2/2 = 1 -> +2
    //  (6,1): 1 - 0 = 1 -> +2
    {"falloff 15", 8, 2, 2, 15,
     {0, 0, 50, 0, 0, 0, 0, 0,  //
      0, 0, 0, 0, 52, 0, 52, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    // Light at (4, 2): its own column (with the ink at (4,1)) is unchanged;
    //  (6,1): march left, (6,1)I then k = 2 is not below |dx| = 2: 1
    //  (2,0): |dx| = 2, D = 2: (2,0)I: 1
    {"light inside the picture", 4, 2, 1, 0,
     {0, 0, 51, 0, 0, 0, 0, 0,  //
      0, 0, 0, 0, 50, 0, 51, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    // Light at (20, 1), right of the picture: probes beyond column 7 are
    // background.  (6,1): (6,1)I (8,1) outside: 1.  (4,1): 2.
    //  (0,0): D = 20, row stays 0: (0,0) (2,0)I (4,0) stop: 1
    //  (0,1), (2,1): the two inks of row 1: 2
    {"light right of the picture", 20, 1, 1, 0,
     {1, 0, 51, 0, 0, 0, 0, 0,  //
      2, 0, 2, 0, 52, 0, 51, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    // Far away: the same rays, and no march of two billion steps.
    {"light at INT_MAX", INT_MAX, 0, 1, 0,
     {1, 0, 51, 0, 0, 0, 0, 0,  //
      2, 0, 2, 0, 52, 0, 51, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    // Light at (INT_MIN, INT_MIN): the march runs down and left, one row
    // per two columns at first (floor(2 (2^31 + y) / (2^31 + x)) is 1 for
    // x > y), then faster:
    //  (6,1): (6,1)I (4,0) stop: 1     (4,1): (4,1)I (2,0)I (0,-2) outside: 2
    //  (2,0): (2,0)I (0,-1) outside: 1 (6,2): (6,2) (4,1)I (2,-1) outside: 1
    {"light at INT_MIN", INT_MIN, INT_MIN, 1, 0,
     {0, 0, 51, 0, 0, 0, 0, 0,  //
      0, 0, 0, 0, 52, 0, 51, 0,  //
      0, 0, 0, 0, 0, 0, 1, 0}},
    // Strength saturates and may darken.
    {"strength 1000", 8, 2, 1000, 0,
     {255, 0, 255, 0, 255, 0, 0, 0,  //
      255, 0, 255, 0, 255, 0, 255, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
    {"strength -20", 8, 2, -20, 0,
     {0, 0, 30, 0, 0, 0, 0, 0,  //
      0, 0, 0, 0, 10, 0, 30, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(Light, RayTable) {
    for (const Case& c : kCases) {
        const Image out = lightRays(inkPicture().view(), c.lightX, c.lightY, c.strength, c.falloff);
        EXPECT_EQ(greyLevels(out), c.expected) << c.what;
    }
}

// A row of 99 inks after the background pixel: the count stops at 40.
TEST(Light, CountIsCappedAtForty) {
    Image row(100, 1);
    for (int x = 1; x < 100; ++x) row.pixel(x, 0)[0] = row.pixel(x, 0)[1] = row.pixel(x, 0)[2] = 10;
    const Image out = lightRays(row.view(), 100, 0, 1, 0);
    // probes x, x + 2, ... 99 or 98: 50 from column 1, 40 from 20 and 21,
    // 39 from 22, 20 from 61
    const std::pair<int, int> expected[] = {{1, 50}, {20, 50}, {21, 50}, {22, 49}, {61, 30}, {99, 11}};
    for (const auto& [x, level] : expected) EXPECT_EQ(at(out, x, 0), grey(level)) << x;
}

// Only background: nothing to light, wherever the light is. One-pixel and
// one-row pictures are marched without leaving the pixels (checked by the
// sanitizer build).
TEST(Light, BackgroundOnlyAndTinyPictures) {
    const std::pair<int, int> lights[] = {{0, 0}, {3, 1}, {-5, 7}, {40, -3}, {INT_MAX, INT_MIN}};
    for (const auto& [x, y] : lights) {
        const Image plain = greyImage(5, 3, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        EXPECT_EQ(lightRays(plain.view(), x, y, 5, 0).data, plain.data) << x << "," << y;
        const Image one = greyImage(1, 1, {9});
        EXPECT_EQ(lightRays(one.view(), x, y, 5, 0).data, one.data) << x << "," << y;
    }
    // 3 x 1: background, ink, ink. Light below and to the right: from
    // (1,0) the second probe is at row -2, outside: count 1.
    const Image row = greyImage(3, 1, {0, 20, 20});
    EXPECT_EQ(greyLevels(lightRays(row.view(), 10, -10, 1, 0)), (std::vector<int>{0, 21, 21}));
    EXPECT_EQ(greyLevels(lightRays(row.view(), 1, 5, 1, 0)), (std::vector<int>{0, 20, 21}));
}

TEST(Light, FileSamePathAndBackground) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(4, 2, {7, 7, 7, 7, 7, 7, 7, 7}));
    ASSERT_EQ(lightFile(a.c_str(), b.c_str(), 2, 1, 3, 2), 1);
    EXPECT_EQ(readBytes(b), readBytes(a));
    writeImage(a, inkPicture());
    ASSERT_EQ(lightFile(a.c_str(), a.c_str(), 8, 2, 2, 0), 1);
    EXPECT_EQ(greyLevels(readImage(a)), kCases[0].expected);
}

// Letter-like strokes of two colours on a dark background, lit from a
// point right of the picture, a little above the middle, as the back-light
// frames place it: the strokes brighten where long stretches of ink lie
// toward the light, and the light streams into the background behind them.
TEST(Light, GoldenStrokes) {
    Image picture(48, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 48; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = 40;  // background: dark blue
            const bool stem = (x % 12 >= 3 && x % 12 < 5) && y >= 4 && y < 16;
            const bool bar = (y == 9 || y == 10) && x % 12 >= 3 && x % 12 < 10;
            if (stem || bar) {
                p[0] = 60;
                p[1] = static_cast<uint8_t>(x < 24 ? 140 : 60);
                p[2] = 160;
            }
        }
    expectMatchesGolden(lightRays(picture.view(), 56, 12, 6, 1), "light/strokes_48x20_from_56_12");
}

// The march exactly as the rule reads, probe by probe, with no skipping:
// the fast march must give the same pixel for every light position.
Image directLight(ImageView source, int lightX, int lightY, int strength, int falloff) {
    Image out(source.width, source.height);
    std::copy(source.data, source.data + out.data.size(), out.data.begin());
    const uint8_t* key = source.pixel(0, 0);
    const auto isKey = [&](long long c, long long r) {
        if (c < 0 || c >= source.width || r < 0 || r >= source.height) return true;
        const uint8_t* p = source.pixel(static_cast<int>(c), static_cast<int>(r));
        return p[0] == key[0] && p[1] == key[1] && p[2] == key[2];
    };
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const long long dx = static_cast<long long>(lightX) - x, dy = static_cast<long long>(lightY) - y;
            const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy, d = adx > 1 ? adx : 1;
            int count = 0;
            long long px = x, py = y;
            for (long long k = 0; k < adx; k += 2) {
                px = x < lightX ? x + k : x - k;
                py = y < lightY ? y + ady * k / d : y - ady * k / d;
                if (!isKey(px, py)) {
                    ++count;
                } else if (count > 0) {
                    break;
                }
            }
            count = std::min(count, 40);
            double o = std::trunc(count - std::sqrt(double(x - px) * double(x - px) + 2 * double(y - py) * double(y - py)) *
                                              falloff / 30);
            if (!(o > 0)) continue;
            const int add = static_cast<int>(std::clamp(o * strength, -255.0, 255.0));
            uint8_t* q = out.pixel(x, y);
            for (int ch = 0; ch < 3; ++ch) q[ch] = static_cast<uint8_t>(std::clamp(q[ch] + add, 0, 255));
        }
    return out;
}

TEST(Light, SameAsTheDirectMarchForEveryLight) {
    // Ink in the middle of a wider picture, so that many pixels march
    // through empty columns before and after it; and a picture of ink only.
    Image wide(40, 9);
    for (int y = 2; y < 7; ++y)
        for (int x = 14; x < 27; ++x)
            if ((x * 7 + y * 3) % 5 < 3) wide.pixel(x, y)[1] = static_cast<uint8_t>(30 + x);
    const Image full = greyImage(3, 2, {1, 5, 6, 7, 8, 9});
    const std::pair<int, int> lights[] = {{-30, 4}, {-1, -1}, {0, 0}, {13, 8}, {20, 4}, {20, 20}, {27, -6},
                                          {39, 8}, {45, 3}, {80, -40}, {60, 100}, {7, 4}, {33, 0}};
    for (const auto& [lx, ly] : lights)
        for (int falloff : {0, 1, -2}) {
            EXPECT_EQ(lightRays(wide.view(), lx, ly, 3, falloff).data, directLight(wide.view(), lx, ly, 3, falloff).data)
                << lx << "," << ly << " falloff " << falloff;
            EXPECT_EQ(lightRays(full.view(), lx, ly, 3, falloff).data, directLight(full.view(), lx, ly, 3, falloff).data)
                << lx << "," << ly << " falloff " << falloff;
        }
    // Wide stretches of ink with a few holes, longer than the count's cap,
    // and lights so far away that the row offsets need 64-bit arithmetic.
    Image solid(130, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 1; x < 130; ++x)
            if ((x + 3 * y) % 37 != 0) solid.pixel(x, y)[2] = 200;
    const std::pair<int, int> farLights[] = {{65, 3}, {-5, 3}, {140, -2}, {70000, 70000}, {20, 300000000},
                                             {-70000, -3000000}};
    for (const auto& [lx, ly] : farLights)
        for (int falloff : {0, 1, -2}) {
            EXPECT_EQ(lightRays(solid.view(), lx, ly, 1, falloff).data, directLight(solid.view(), lx, ly, 1, falloff).data)
                << lx << "," << ly << " falloff " << falloff;
            EXPECT_EQ(lightRays(wide.view(), lx, ly, 3, falloff).data, directLight(wide.view(), lx, ly, 3, falloff).data)
                << lx << "," << ly << " falloff " << falloff;
        }
    // Scattered ink of several colours, lit from every place of a grid in
    // and around the picture: steep, shallow and level marches.
    Image scattered(30, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 30; ++x)
            if (x > 0 && (x * 13 + y * 7 + x * y) % 11 < 3) scattered.pixel(x, y)[(x + y) % 3] = 90;
    for (int lx = -7; lx <= 37; lx += 4)
        for (int ly = -6; ly <= 30; ly += 3)
            EXPECT_EQ(lightRays(scattered.view(), lx, ly, 2, 1).data, directLight(scattered.view(), lx, ly, 2, 1).data)
                << lx << "," << ly;
}

}  // namespace
}  // namespace tesmor
