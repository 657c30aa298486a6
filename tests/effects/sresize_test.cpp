#include "sresize.h"

#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// Hand-computed supersampling: columns floor((x*n + l) * W / (n * w)),
// rows floor((y*n + k) * H / (n * h)), integer average.
TEST(SReSize, SupersamplingTable) {
    struct Case {
        const char* what;
        Image source;
        int width, height, n;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // columns 0 1 | 2 3; both rows of the grid are row 0
        {"4x1 to 2x1, n 2", greyImage(4, 1, {0, 10, 20, 40}), 2, 1, 2, {5, 30}},
        // (1 + 2 + 1 + 2) / 4 truncates to 1
        {"truncating average", greyImage(4, 1, {1, 2, 2, 2}), 2, 1, 2, {1, 2}},
        // columns 0 0 | 0 1 | 1 1
        {"2x1 to 3x1, n 2", greyImage(2, 1, {10, 40}), 3, 1, 2, {10, 25, 40}},
        // rows floor((3y + k) / 2): 0 0 1 | 1 2 2
        {"1x3 to 1x2, n 3", greyImage(1, 3, {30, 60, 90}), 1, 2, 3, {40, 80}},
        // n 1 is plain point sampling: columns 0 2, rows 0 1
        {"n 1", greyImage(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}), 2, 2, 1, {1, 3, 5, 7}},
        // every sample of a pixel is one source pixel: unchanged size and a
        // doubling (columns 0 0 | 0 0 | 1 1 | 1 1); n 3 caps near-white
        {"same size, n 4", greyImage(2, 2, {250, 100, 7, 255}), 2, 2, 4, {250, 100, 7, 255}},
        {"same size, n 3", greyImage(2, 2, {250, 100, 7, 246}), 2, 2, 3, {245, 100, 7, 245}},
        {"doubled, n 2", greyImage(2, 1, {10, 40}), 4, 1, 2, {10, 10, 40, 40}},
    };
    for (const Case& c : cases) {
        const Image out = superSample(c.source.view(), c.width, c.height, c.n);
        EXPECT_EQ(out.width, c.width) << c.what;
        EXPECT_EQ(out.height, c.height) << c.what;
        EXPECT_EQ(greyLevels(out), c.expected) << c.what;
    }
}

TEST(SReSize, TwoSamplesHalvingAveragesEachTwoByTwoBlock) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    std::mt19937 random(7);
    Image source(100, 40);
    for (uint8_t& v : source.data) v = static_cast<uint8_t>(random());
    writeImage(a, source);
    ASSERT_EQ(sReSizeFile(a.c_str(), b.c_str(), 50, 20, 2), 1);
    const Image out = readImage(b);
    ASSERT_EQ(out.width, 50);
    ASSERT_EQ(out.height, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 50; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int sum = source.pixel(2 * x, 2 * y)[c] + source.pixel(2 * x + 1, 2 * y)[c] +
                                source.pixel(2 * x, 2 * y + 1)[c] +
                                source.pixel(2 * x + 1, 2 * y + 1)[c];
                ASSERT_EQ(out.view().pixel(x, y)[c], sum / 4) << x << "," << y << " channel " << c;
            }
        }
    }
}

TEST(SReSize, NegativeWidthGivesTheExactMirrorImage) {
    const Image card = testCard(37, 11);
    struct Case {
        int width, height, n;
    };
    const Case cases[] = {{20, 6, 4}, {37, 11, 3}, {51, 13, 2}, {5, 3, 15}};
    for (const Case& c : cases) {
        const Image plain = superSample(card.view(), c.width, c.height, c.n);
        const Image mirrored = superSample(card.view(), -c.width, c.height, c.n);
        ASSERT_EQ(mirrored.width, c.width);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                ASSERT_EQ(at(mirrored, x, y), at(plain, c.width - 1 - x, y))
                    << c.width << "x" << c.height << " n " << c.n << " at " << x << "," << y;
            }
        }
    }
}

TEST(SReSize, ThreeSamplesTurnNearWhiteInto245Grey) {
    struct Case {
        Bgr colour;
        int n;
        Bgr expected;
    };
    const Case cases[] = {
        {{250, 250, 250}, 3, {245, 245, 245}},
        {{246, 255, 247}, 3, {245, 245, 245}},
        {{250, 250, 245}, 3, {250, 250, 245}},  // one channel not above 245
        {{255, 255, 255}, 2, {255, 255, 255}},  // only with three samples
        {{255, 255, 255}, 4, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        const Image source = image24(2, 2, {c.colour, c.colour, c.colour, c.colour});
        const Image out = superSample(source.view(), 1, 1, c.n);
        EXPECT_EQ(at(out, 0, 0), c.expected) << c.colour << " n " << c.n;
    }
}

TEST(SReSize, SamplesArgumentChoosesTheGrid) {
    // 4x1 to 1x1 of 0 0 0 100: grid n reads columns floor(l * 4 / n);
    // n 4 averages all four (25), n 15 reads column 3 three times in 15 (20),
    // n 1 and 2 miss it (0).
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(4, 1, {0, 0, 0, 100}));
    const std::pair<int, int> cases[] = {{-3, 25}, {0, 25},  {1, 0},    {2, 0},
                                         {4, 25},  {15, 20}, {16, 20}, {1000, 20}};
    for (const auto& [samples, expected] : cases) {
        ASSERT_EQ(sReSizeFile(a.c_str(), b.c_str(), 1, 1, samples), 1);
        EXPECT_EQ(greyLevels(readImage(b)), std::vector<int>{expected}) << "samples " << samples;
    }
}

TEST(SReSize, SizeCodes) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(1, 4, {1, 2, 3, 4}));
    struct Case {
        int width, height, code;
    };
    const Case cases[] = {
        {0, 5, -1},  {5, 0, -2},     {5, -1, -2},  {-5, 2, 1},  // negative width mirrors
        {0, 0, -1},  // half of 1 column is 0
        {30001, 1, -7}, {-30001, 1, -7}, {30000, 30000, -7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sReSizeFile(a.c_str(), b.c_str(), c.width, c.height, 2), c.code)
            << c.width << " x " << c.height;
    }
    EXPECT_EQ(sReSizeFile(dir.file("missing").c_str(), b.c_str(), 0, 5, 2), -1);
}

TEST(SReSize, BothSizesZeroHalveTheImage) {
    TempDir dir;
    const std::string a = dir.file("a.bmp");
    writeImage(a, greyImage(5, 3, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140}));
    ASSERT_EQ(sReSizeFile(a.c_str(), a.c_str(), 0, 0, 1), 1);  // 2 x 1; in place
    // n 1: columns floor(x * 5 / 2) = 0 2, row 0
    EXPECT_EQ(greyLevels(readImage(a)), (std::vector<int>{0, 20}));
}

TEST(SReSize, GoldenTestCard) {
    expectMatchesGolden(superSample(testCard(16, 12).view(), 7, 5, 3), "sresize/card_16x12_to_7x5_n3");
    expectMatchesGolden(superSample(testCard(16, 12).view(), -21, 17, 4),
                        "sresize/card_16x12_to_mirrored_21x17_n4");
}

}  // namespace
}  // namespace tesmor
