#include "rot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// The blue channel, bottom row first; green and red must be blue + 1 and
// blue + 2 so that channels stay together.
std::vector<int> blues(const Image& image) {
    std::vector<int> v;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Bgr c = at(image, x, y);
            EXPECT_EQ(c.g, c.b + 1);
            EXPECT_EQ(c.r, c.b + 2);
            v.push_back(c.b);
        }
    }
    return v;
}

std::vector<int> indices(const Image& image) {
    std::vector<int> v;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) v.push_back(*image.view().pixel(x, y));
    return v;
}

// Source 3 x 2, bottom row first:   top    40 50 60
//                                   bottom 10 20 30
// Clockwise (top-left goes to top-right), 2 x 3:   10 40 / 20 50 / 30 60
// from the top; counter-clockwise:                  60 30 / 50 20 / 40 10.
TEST(Rot, QuarterTurnTables) {
    const Image source = channelled(3, 2, {10, 20, 30, 40, 50, 60});
    const Image cw = rotateQuarter(source.view(), QuarterTurn::Clockwise);
    ASSERT_EQ(cw.width, 2);
    ASSERT_EQ(cw.height, 3);
    EXPECT_EQ(blues(cw), (std::vector<int>{30, 60, 20, 50, 10, 40}));
    const Image ccw = rotateQuarter(source.view(), QuarterTurn::CounterClockwise);
    EXPECT_EQ(blues(ccw), (std::vector<int>{40, 10, 50, 20, 60, 30}));

    // The same on one byte per pixel (rows of 4 bytes either way).
    const Image palette = image8(3, 2, {10, 20, 30, 40, 50, 60});
    EXPECT_EQ(indices(rotateQuarter(palette.view(), QuarterTurn::Clockwise)),
              (std::vector<int>{30, 60, 20, 50, 10, 40}));
    EXPECT_EQ(indices(rotateQuarter(palette.view(), QuarterTurn::CounterClockwise)),
              (std::vector<int>{40, 10, 50, 20, 60, 30}));
}

TEST(Rot, FourQuarterTurnsAreTheIdentity) {
    for (const auto& [w, h] : {std::pair{1, 1}, {5, 3}, {2, 7}, {16, 12}}) {
        for (const int bpp : {1, 3}) {
            Image image = testCard(w, h);
            if (bpp == 1) {
                Image palette(w, h, 1);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) *palette.pixel(x, y) = image.pixel(x, y)[0];
                image = palette;
            }
            for (const QuarterTurn turn : {QuarterTurn::Clockwise, QuarterTurn::CounterClockwise}) {
                Image turned = image;
                for (int i = 0; i < 4; ++i) turned = rotateQuarter(turned.view(), turn);
                EXPECT_EQ(turned.data, image.data) << w << "x" << h << " bpp " << bpp;
            }
        }
    }
}

// Mode 1 and then mode 2 give back the first file byte for byte, colour
// table and padding included.
TEST(Rot, TurnAndTurnBackGivesTheOriginalFile) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp"), c = dir.file("c.bmp");
    for (const Image& image : {testCard(5, 3), image8(5, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11,
                                                             12, 13, 14, 15})}) {
        writeImage(a, image);
        ASSERT_EQ(rotFile(a.c_str(), b.c_str(), 1), 1);
        const Image turned = readImage(b);
        EXPECT_EQ(turned.width, 3);
        EXPECT_EQ(turned.height, 5);
        ASSERT_EQ(rotFile(b.c_str(), c.c_str(), 2), 1);
        EXPECT_EQ(readBytes(c), readBytes(a));
    }
}

TEST(Rot, ModeZeroCopiesOrDoesNothing) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, channelled(2, 1, {10, 20}));
    const std::vector<uint8_t> original = readBytes(a);
    ASSERT_EQ(rotFile(a.c_str(), b.c_str(), 0), 1);
    EXPECT_EQ(readBytes(b), original);
    // Same path: 0 and nothing happens, not even a read (a missing file
    // is not reported).
    EXPECT_EQ(rotFile(a.c_str(), a.c_str(), 0), 0);
    EXPECT_EQ(readBytes(a), original);
    const std::string missing = dir.file("missing.bmp");
    EXPECT_EQ(rotFile(missing.c_str(), missing.c_str(), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Paths are compared whole: two files whose names share a long prefix are
// still different files, and the copy is made.
TEST(Rot, LongPathsThatShareAPrefixAreDifferentFiles) {
    TempDir dir;
    const std::string folder = dir.file(std::string(140, 'd'));
    std::filesystem::create_directory(folder);
    const std::string a = folder + "/a.bmp", b = folder + "/b.bmp";
    writeImage(a, channelled(2, 1, {10, 20}));
    ASSERT_EQ(rotFile(a.c_str(), b.c_str(), 0), 1);
    EXPECT_EQ(readBytes(b), readBytes(a));
}

TEST(Rot, UndefinedModesAreRefused) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, channelled(2, 1, {10, 20}));
    for (const int mode : {3, -1, 100}) {
        EXPECT_EQ(rotFile(a.c_str(), b.c_str(), mode), -11) << mode;
    }
    EXPECT_FALSE(std::filesystem::exists(b));
}

TEST(Rot, SameFileAsSourceAndDestination) {
    TempDir dir;
    const std::string a = dir.file("a.bmp");
    writeImage(a, channelled(3, 2, {10, 20, 30, 40, 50, 60}));
    ASSERT_EQ(rotFile(a.c_str(), a.c_str(), 2), 1);
    EXPECT_EQ(blues(readImage(a)), (std::vector<int>{40, 10, 50, 20, 60, 30}));
}

}  // namespace
}  // namespace tesmor
