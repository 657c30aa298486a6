#include "fead.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// Colour 0x00BBGGRR = blue 0x30, green 0x20, red 0x10: in pixel order
// (48, 32, 16).
constexpr int kColour = 0x00302010;
constexpr Bgr kColourBgr{48, 32, 16};

// Two pixels: (200, 100, 0) and the colour itself.
Image pair() { return image24(2, 1, {{200, 100, 0}, kColourBgr}); }

// mode 0: ((255 - l) c + l p) / 255; mode 1: l p / 255 except the colour.
TEST(Fead, BlendAndDarkenTable) {
    struct Case {
        int level, mode;
        Bgr first, second;
    };
    const Case cases[] = {
        // level 255 keeps the picture, 0 gives the plain colour
        {255, 0, {200, 100, 0}, kColourBgr},
        {0, 0, kColourBgr, kColourBgr},
        // 128: blue (127*48 + 128*200) / 255 = 124, green (127*32 + 12800) / 255 = 66,
        // red 127*16 / 255 = 7; the colour itself: (127c + 128c) / 255 = c
        {128, 0, {124, 66, 7}, kColourBgr},
        // mode 1, 100: 200*100/255 = 78, 100*100/255 = 39, 0; the colour stays
        {100, 1, {78, 39, 0}, kColourBgr},
        {0, 1, {0, 0, 0}, kColourBgr},
        {255, 1, {200, 100, 0}, kColourBgr},
        // other modes copy
        {0, 2, {200, 100, 0}, kColourBgr},
        {0, -1, {200, 100, 0}, kColourBgr},
        // levels outside 0 .. 255 count as 0 or 255
        {300, 0, {200, 100, 0}, kColourBgr},
        {-5, 0, kColourBgr, kColourBgr},
        {1000, 1, {200, 100, 0}, kColourBgr},
        {-1000, 1, {0, 0, 0}, kColourBgr},
    };
    for (const Case& c : cases) {
        Image image = pair();
        fade(image, colourOf(kColour), c.level, c.mode);
        EXPECT_EQ(at(image, 0, 0), c.first) << "level " << c.level << " mode " << c.mode;
        EXPECT_EQ(at(image, 1, 0), c.second) << "level " << c.level << " mode " << c.mode;
    }
}

// Darkening keeps only pixels exactly of the colour: one that differs in a
// single channel is darkened.
TEST(Fead, DarkeningLeavesOnlyTheExactColour) {
    Image image = image24(3, 1, {kColourBgr, {48, 32, 17}, {49, 32, 16}});
    fade(image, colourOf(kColour), 51, 1);  // p * 51 / 255 = p / 5
    EXPECT_EQ(at(image, 0, 0), kColourBgr);
    EXPECT_EQ(at(image, 1, 0), (Bgr{9, 6, 3}));
    EXPECT_EQ(at(image, 2, 0), (Bgr{9, 6, 3}));
}

TEST(Fead, FileLevelsAndSamePath) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, testCard(7, 5));
    ASSERT_EQ(feadFile(a.c_str(), b.c_str(), kColour, 255, 0), 1);
    EXPECT_EQ(readBytes(b), readBytes(a));
    ASSERT_EQ(feadFile(a.c_str(), a.c_str(), kColour, 0, 0), 1);
    const Image plain = readImage(a);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(at(plain, x, y), kColourBgr) << x << "," << y;
}

}  // namespace
}  // namespace tesmor
