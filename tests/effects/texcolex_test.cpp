#include "texcolex.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// Colour A: red 200, green 100, blue 0; colour B: red 0, green 40, blue 255.
constexpr int kA = 0x000064C8;
constexpr int kB = 0x00FF2800;
constexpr Bgr kABgr{0, 100, 200}, kBBgr{255, 40, 0};

struct Case {
    const char* what;
    int width, height, repeat, angle;
    std::vector<Bgr> expected;  // bottom row first
};

// Channel = trunc(a |sin f| + b |cos f|). At angle 0 f = j / width
// * (repeat + 1) * pi/2, the same in every row:
//   f = pi/8:  sin 0.38268, cos 0.92388: blue 255 * 0.92388 = 235.6,
//              green 38.27 + 36.96 = 75.2, red 76.5
//   f = pi/4:  both 0.70711: 180.3, 98.99, 141.4
//   f = 3pi/8: 97.6, 92.39 + 15.31 = 107.7, 184.8
// At angle 90 (2 x 4) f = (i - 1) / 2 * pi/2: rows -pi/4, 0, pi/4, pi/2.
const Case kCases[] = {
    {"angle 0, repeat 0: B at the left blending to A", 4, 2, 0, 0,
     {kBBgr, {235, 75, 76}, {180, 98, 141}, {97, 107, 184},  //
      kBBgr, {235, 75, 76}, {180, 98, 141}, {97, 107, 184}}},
    {"angle 0, repeat 1: B, A in the middle, back toward B", 4, 1, 1, 0,
     {kBBgr, {180, 98, 141}, kABgr, {180, 98, 141}}},
    {"angle 90: rows", 2, 4, 0, 90,
     {{180, 98, 141}, {180, 98, 141}, kBBgr, kBBgr, {180, 98, 141}, {180, 98, 141}, kABgr, kABgr}},
    {"angle 360 is angle 0", 4, 1, 0, 360, {kBBgr, {235, 75, 76}, {180, 98, 141}, {97, 107, 184}}},
    {"repeat -1: no change at all", 3, 1, -1, 30, {kBBgr, kBBgr, kBBgr}},
};

TEST(TexColEx, PatternTable) {
    for (const Case& c : kCases) {
        const Image out = stripePattern(c.width, c.height, colourOf(kA), colourOf(kB), c.repeat, c.angle);
        ASSERT_EQ(out.width, c.width);
        ASSERT_EQ(out.height, c.height);
        for (int i = 0; i < c.height; ++i)
            for (int j = 0; j < c.width; ++j)
                EXPECT_EQ(at(out, j, i), c.expected[static_cast<size_t>(i * c.width + j)])
                    << c.what << " at " << j << "," << i;
    }
}

// White on white at pi/4: 255 * 2 * 0.7071 = 360, clamped to 255.
TEST(TexColEx, ChannelsAreClamped) {
    const Image out = stripePattern(4, 1, colourOf(0xFFFFFF), colourOf(0xFFFFFF), 0, 0);
    EXPECT_EQ(at(out, 2, 0), grey(255));
    EXPECT_EQ(at(out, 0, 0), grey(255));
}

// The file the program writes: 40 x 40, a plain 24-bit file.
TEST(TexColEx, WritesAFreshFile) {
    TempDir dir;
    const std::string path = dir.file("TexTmp.bmp");
    ASSERT_EQ(texColExFile(path.c_str(), 40, 40, kA, kB, 3, 45), 1);
    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 54u + 40 * 120);
    EXPECT_EQ(get32(bytes, 2), 54 + 40 * 120);
    EXPECT_EQ(get32(bytes, 10), 54);
    EXPECT_EQ(get32(bytes, 18), 40);
    EXPECT_EQ(get32(bytes, 22), 40);
    EXPECT_EQ(readImage(path).data, stripePattern(40, 40, colourOf(kA), colourOf(kB), 3, 45).data);
}

// Sizes below 1 would make an empty or broken file: refused, nothing
// written, an existing file left as it was.
TEST(TexColEx, BadSizesWriteNothing) {
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    struct Refusal {
        int width, height, code;
    };
    for (const Refusal& r : {Refusal{0, 40, -1}, {-3, 40, -1}, {30001, 1, -1}, {40, 0, -2},
                             {40, -1, -2}, {1, 30001, -2}, {30000, 30000, -3}}) {
        EXPECT_EQ(texColExFile(path.c_str(), r.width, r.height, kA, kB, 0, 0), r.code)
            << r.width << " x " << r.height;
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    writeBytes(path, {1, 2, 3});
    EXPECT_EQ(texColExFile(path.c_str(), 0, 0, kA, kB, 0, 0), -1);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(texColExFile(dir.file("no/such/folder.bmp").c_str(), 2, 2, kA, kB, 0, 0), -4);
}

TEST(TexColEx, GoldenPatterns) {
    expectMatchesGolden(stripePattern(40, 40, colourOf(kA), colourOf(kB), 2, 30), "texcolex/40x40_repeat2_angle30");
    expectMatchesGolden(stripePattern(40, 40, colourOf(0x00FFFFFF), colourOf(0x00802000), 0, 135),
                        "texcolex/40x40_repeat0_angle135");
}

}  // namespace
}  // namespace tesmor
