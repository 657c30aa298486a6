#include "hresize.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// The blue channel, bottom row first.
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

// Output (x, y) = source (floor(x * W / w), floor(y * H / h)).
TEST(HReSize, NearestNeighbourTable) {
    const Image source = channelled(3, 2, {10, 20, 30, 40, 50, 60});
    struct Case {
        int width, height;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // columns 0 0 1 1 2, rows 0 0 1
        {5, 3, {10, 10, 20, 20, 30, 10, 10, 20, 20, 30, 40, 40, 50, 50, 60}},
        // columns 0 1, row 0
        {2, 1, {10, 20}},
        // column 0, rows 0 1
        {1, 2, {10, 40}},
        {3, 2, {10, 20, 30, 40, 50, 60}},
    };
    for (const Case& c : cases) {
        const Image out = resizeNearest(source.view(), c.width, c.height);
        EXPECT_EQ(out.width, c.width);
        EXPECT_EQ(out.height, c.height);
        EXPECT_EQ(blues(out), c.expected) << c.width << " x " << c.height;
    }
}

TEST(HReSize, BothSizesZeroHalveTheImage) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, channelled(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(hReSizeFile(a.c_str(), b.c_str(), 0, 0), 1);
    const Image out = readImage(b);
    EXPECT_EQ(out.width, 2);
    EXPECT_EQ(out.height, 1);
    EXPECT_EQ(blues(out), (std::vector<int>{1, 3}));
}

TEST(HReSize, SizeCodes) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(3, 1, {1, 2, 3}));
    struct Case {
        int width, height, code;
    };
    const Case cases[] = {
        {0, 5, -1}, {-1, 5, -1}, {5, 0, -2}, {5, -3, -2}, {0, 0, -2},  // half of 1 row is 0
        {1, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hReSizeFile(a.c_str(), b.c_str(), c.width, c.height), c.code)
            << c.width << " x " << c.height;
    }
    // The size codes come before the source is looked at.
    EXPECT_EQ(hReSizeFile(dir.file("missing").c_str(), b.c_str(), 0, 5), -1);
    // A result over the limits is refused before anything is allocated.
    EXPECT_EQ(hReSizeFile(a.c_str(), b.c_str(), 30000, 30000), -8);
    EXPECT_EQ(hReSizeFile(a.c_str(), b.c_str(), 30001, 1), -8);
}

TEST(HReSize, EightBitFileKeepsItsColourTable) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, image8(5, 1, {0, 1, 2, 3, 4}));
    ASSERT_EQ(hReSizeFile(a.c_str(), b.c_str(), 2, 2), 1);
    const std::vector<uint8_t> in = readBytes(a), out = readBytes(b);
    ASSERT_EQ(out.size(), 1078u + 2 * 4);
    EXPECT_EQ(get32(out, 2), 1078 + 2 * 4);  // file size
    EXPECT_EQ(get32(out, 10), 1078);         // data offset
    EXPECT_EQ(out[28], 8);
    EXPECT_TRUE(std::equal(in.begin() + 54, in.begin() + 1078, out.begin() + 54));
    // columns floor(x * 5 / 2) = 0, 2; rows floor(y * 1 / 2) = 0, 0
    const std::vector<uint8_t> pixels(out.begin() + 1078, out.end());
    EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 2, 0, 0, 0, 2, 0, 0}));
}

TEST(HReSize, SameFileAsSourceAndDestination) {
    TempDir dir;
    const std::string a = dir.file("a.bmp");
    writeImage(a, channelled(2, 1, {10, 20}));
    ASSERT_EQ(hReSizeFile(a.c_str(), a.c_str(), 4, 1), 1);
    EXPECT_EQ(blues(readImage(a)), (std::vector<int>{10, 10, 20, 20}));
}

TEST(HReSize, GoldenTestCard) {
    expectMatchesGolden(resizeNearest(testCard(16, 12).view(), 23, 7), "hresize/card_16x12_to_23x7");
}

}  // namespace
}  // namespace tesmor
