#include "sresize2.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// 4 x 3 source, grey 10x + 50y (y from the bottom):
//   row 2 (top):    100 110 120 130
//   row 1:           50  60  70  80
//   row 0 (bottom):   0  10  20  30
Image source4x3() {
    return greyImage(4, 3, {0, 10, 20, 30, 50, 60, 70, 80, 100, 110, 120, 130});
}

TEST(SReSize2, WindowTable) {
    struct Case {
        const char* what;
        Window window;
        int width, height, n;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // columns 1 2, rows counted from the top 0 1 = stored rows 2 1
        {"2x2 window copied", {1, 0, 2, 2}, 2, 2, 1, {60, 70, 110, 120}},
        {"2x2 window averaged", {1, 0, 2, 2}, 1, 1, 2, {90}},
        // bottom-right 2 x 1: stored row 0, columns 2 3, stretched to 4 wide:
        // window columns floor(x * 2 / 4) = 0 0 1 1
        {"stretched strip", {2, 2, 2, 1}, 4, 1, 1, {20, 20, 30, 30}},
        // the whole image, n 2, to 2 x 1: columns 0 1 | 2 3, rows 0 1
        {"whole image", {0, 0, 4, 3}, 2, 1, 2, {30, 50}},
        // a single pixel stretched
        {"one pixel", {3, 1, 1, 1}, 2, 2, 3, {80, 80, 80, 80}},
    };
    for (const Case& c : cases) {
        const Image out = superSampleWindow(source4x3().view(), c.window, c.width, c.height, c.n);
        EXPECT_EQ(greyLevels(out), c.expected) << c.what;
    }
}

TEST(SReSize2, WindowOutsideTheSourceIsRefused) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, source4x3());
    struct Case {
        Window window;
        int code;
    };
    const Case cases[] = {
        {{2, 1, 2, 2}, 1},   {{0, 0, 4, 3}, 1},  {{3, 2, 1, 1}, 1},
        {{3, 0, 2, 1}, -12},  // x0 + width = 5 > 4
        {{0, 2, 1, 2}, -12},  // y0 + height = 4 > 3
        {{-1, 0, 2, 2}, -12}, {{0, -1, 2, 2}, -12}, {{0, 0, 0, 2}, -12},
        {{0, 0, 2, -1}, -12}, {{4, 0, 0, 1}, -12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), c.window, 2, 2, 2), c.code)
            << c.window.left << "," << c.window.top << " " << c.window.width << "x"
            << c.window.height;
    }
}

TEST(SReSize2, SamplesArgumentChoosesTheGrid) {
    // A 4 x 1 window of 0 0 0 100 to 1 x 1: n 5 reads columns 0 0 1 2 3
    // (20), n 4 every column once (25), n 15 column 3 three times in 15 (20).
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(4, 1, {0, 0, 0, 100}));
    const std::pair<int, int> cases[] = {{-1, 20}, {0, 20}, {1, 0}, {4, 25}, {5, 20}, {99, 20}};
    for (const auto& [samples, expected] : cases) {
        ASSERT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 4, 1}, 1, 1, samples), 1);
        EXPECT_EQ(greyLevels(readImage(b)), std::vector<int>{expected}) << "samples " << samples;
    }
}

TEST(SReSize2, SizeCodes) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, source4x3());
    EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 2, 2}, 0, 3, 2), -1);
    EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 2, 2}, -3, 3, 2), -1);
    EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 2, 2}, 3, 0, 2), -2);
    EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 2, 2}, 30001, 1, 2), -7);
    // Both 0: half the source's size (2 x 1), whatever the window.
    ASSERT_EQ(sReSize2File(a.c_str(), b.c_str(), {1, 0, 2, 2}, 0, 0, 1), 1);
    EXPECT_EQ(greyLevels(readImage(b)), (std::vector<int>{60, 70}));
    writeImage(a, greyImage(1, 3, {1, 2, 3}));
    EXPECT_EQ(sReSize2File(a.c_str(), b.c_str(), {0, 0, 1, 1}, 0, 0, 1), -1);
}

TEST(SReSize2, GoldenTestCard) {
    expectMatchesGolden(superSampleWindow(testCard(16, 12).view(), {3, 2, 9, 7}, 13, 6, 5),
                        "sresize2/card_window_3_2_9x7_to_13x6_n5");
}

}  // namespace
}  // namespace tesmor
