#include "effect.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// Every byte of a 2 x 1 picture (a row of 8 bytes, 2 of them padding) run
// through the map alone: no byte of a single row is sharpened.
TEST(Effect, MapTable) {
    const Image source = image24(2, 1, {{0, 1, 127}, {128, 200, 255}});
    struct Case {
        int brightness, contrast;
        std::vector<uint8_t> expected;  // the 8 bytes of the row
    };
    const Case cases[] = {
        {0, 0, {0, 1, 127, 128, 200, 255, 0, 0}},
        // + 10, clamped; the padding is mapped too
        {10, 0, {10, 11, 137, 138, 210, 255, 10, 10}},
        {-300, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
        // contrast 256: 2 (t - 128) + 128
        {0, 256, {0, 0, 126, 128, 255, 255, 0, 0}},
        // contrast -256: everything 128
        {0, -256, {128, 128, 128, 128, 128, 128, 128, 128}},
        // contrast -100: (156 (t - 128)) >> 8 floors: t = 1 gives -19812 >> 8 = -78
        // (not -77), t = 127 gives -156 >> 8 = -1, t = 255 gives 77
        {0, -100, {50, 50, 127, 128, 171, 205, 50, 50}},
    };
    for (const Case& c : cases) {
        const Image out = adjustBytes(source.view(), c.brightness, c.contrast, 0);
        EXPECT_EQ(out.data, c.expected) << c.brightness << " " << c.contrast;
        // With a single row sharpening changes nothing.
        EXPECT_EQ(adjustBytes(source.view(), c.brightness, c.contrast, 500).data, c.expected);
    }
}

// 3 x 3 grey 100 with the middle pixel's blue byte t = 100 and chosen
// neighbours (the blue bytes of the other pixels); sharpen 8. Only the
// middle row is sharpened; S = 3 (left + right + above + below)
// + 2 (diagonals), A = neighbours above t.
TEST(Effect, SharpenTable) {
    struct Case {
        const char* what;
        int left, right, above, below, diagonal;  // diagonal: all four
        int sharpen;
        int expected;
    };
    const Case cases[] = {
        {"A = 0", 100, 100, 100, 100, 100, 8, 100},
        {"A = 8", 200, 200, 200, 200, 200, 8, 100},
        // S = 1500 + 800 = 2300: (100 * 296 - 2300 * 8 / 4) >> 8 = 25000 >> 8 = 97
        {"A = 1", 200, 100, 100, 100, 100, 8, 97},
        // S = 1800 + 800: (100 * 336 - 8 * 2600 / 2) >> 8 = 23200 >> 8 = 90
        {"A = 2", 200, 200, 100, 100, 100, 8, 90},
        // S = 2400 + 800: (100 * 416 - 8 * 3200) >> 8 = 16000 >> 8 = 62
        {"A = 4", 200, 200, 200, 200, 100, 8, 62},
        // negative sharpen blurs: (100 * 216 + 2300 * 8 / 4) >> 8 = 26200 >> 8 = 102
        {"A = 1, sharpen -8", 200, 100, 100, 100, 100, -8, 102},
        // far below zero: (100 * 2256 - 100 * 3200) >> 8 = -94400 >> 8 = -369, mapped to 0
        {"A = 4, sharpen 100", 200, 200, 200, 200, 100, 100, 0},
        {"sharpen 0", 200, 100, 100, 100, 100, 0, 100},
    };
    for (const Case& c : cases) {
        Image image = greyImage(3, 3, {100, 100, 100, 100, 100, 100, 100, 100, 100});
        image.pixel(0, 1)[0] = static_cast<uint8_t>(c.left);
        image.pixel(2, 1)[0] = static_cast<uint8_t>(c.right);
        image.pixel(1, 2)[0] = static_cast<uint8_t>(c.above);
        image.pixel(1, 0)[0] = static_cast<uint8_t>(c.below);
        for (const auto& [x, y] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}})
            image.pixel(x, y)[0] = static_cast<uint8_t>(c.diagonal);
        Image out = adjustBytes(image.view(), 0, 0, c.sharpen);
        EXPECT_EQ(out.pixel(1, 1)[0], c.expected) << c.what;
        // Rows 0 and 2 and the first 3 bytes of row 1 are only mapped.
        EXPECT_EQ(out.row(0)[0], image.row(0)[0]) << c.what;
        EXPECT_EQ(out.row(2)[4], image.row(2)[4]) << c.what;
        EXPECT_EQ(out.row(1)[0], image.row(1)[0]) << c.what;
    }
}

// Seven neighbours above t and one equal: A = 7.
// S = 3 * 800 + 2 * 700 = 3800: (100 * 296 - 3800 * 8 / 4) >> 8 = 22000 >> 8 = 85.
TEST(Effect, SevenNeighboursAbove) {
    Image image = greyImage(3, 3, {200, 200, 200, 200, 100, 200, 100, 200, 200});
    // The pixel at (0, 2) is 100: a diagonal neighbour that is not above t.
    Image out = adjustBytes(image.view(), 0, 0, 8);
    EXPECT_EQ(out.pixel(1, 1)[0], 85);
}

// Zeros leave every byte as it was, padding included; so do one-pixel and
// one-row pictures whatever the sharpening (no neighbour outside the rows).
TEST(Effect, ZerosAndTinyPictures) {
    const Image card = testCard(7, 5);
    EXPECT_EQ(adjustBytes(card.view(), 0, 0, 0).data, card.data);
    for (const Image& tiny : {greyImage(1, 1, {77}), greyImage(5, 1, {1, 2, 3, 4, 5}),
                              greyImage(1, 4, {9, 90, 9, 90}), greyImage(2, 2, {0, 255, 255, 0})}) {
        EXPECT_EQ(adjustBytes(tiny.view(), 0, 0, 1000).data, tiny.data)
            << tiny.width << "x" << tiny.height;
    }
}

// The file keeps the bytes between the header and the pixels.
TEST(Effect, FileKeepsTheBytesBeforeThePixels) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    std::vector<uint8_t> bytes = bmpBytes(greyImage(2, 1, {10, 20}));
    bytes.insert(bytes.begin() + 54, {1, 2, 3, 4, 5, 6, 7, 8});
    put32(bytes, 10, 62);
    put32(bytes, 2, static_cast<int32_t>(bytes.size()));
    writeBytes(a, bytes);
    ASSERT_EQ(effectFile(a.c_str(), b.c_str(), 0, 0, 0), 1);
    EXPECT_EQ(readBytes(b), bytes);
    ASSERT_EQ(effectFile(a.c_str(), a.c_str(), 5, 0, 0), 1);
    const std::vector<uint8_t> out = readBytes(a);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 54, out.begin() + 62),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 62, out.end()),
              (std::vector<uint8_t>{15, 15, 15, 25, 25, 25, 5, 5}));
}

TEST(Effect, GoldenTestCard) {
    expectMatchesGolden(adjustBytes(testCard(16, 12).view(), 12, 40, 30), "effect/card_16x12_b12_c40_s30");
}

}  // namespace
}  // namespace tesmor
