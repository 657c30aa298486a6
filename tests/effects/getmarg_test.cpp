#include "getmarg.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// Images of 3 x 5 on a white key, with black ink in the listed rows
// (row 0 = bottom) at column 1.
Image inked(std::initializer_list<int> rows, int height = 5) {
    Image image(3, height);
    std::fill(image.data.begin(), image.data.end(), uint8_t{255});
    for (int y : rows) std::fill_n(image.pixel(1, y), 3, uint8_t{0});
    return image;
}

TEST(GetMarg, CountsKeyRowsBelowAndAboveTheInk) {
    struct Case {
        const char* what;
        Image image;
        int top, bottom;
    };
    const Case cases[] = {
        {"no ink", inked({}), 4, 0},
        {"middle row", inked({2}), 2, 2},
        {"rows 1 and 3", inked({1, 3}), 1, 1},
        {"top row", inked({4}), 0, 4},
        {"bottom row only", inked({0}), 4, 0},
        // Ink in the bottom row counts even when there is ink above it.
        {"bottom row and row 3", inked({0, 3}), 1, 0},
        {"every row", inked({0, 1, 2, 3, 4}), 0, 0},
        {"one row high, no ink", inked({}, 1), 0, 0},
    };
    for (const Case& c : cases) {
        const Margins m = keyMargins(c.image.view());
        EXPECT_EQ(m.top, c.top) << c.what;
        EXPECT_EQ(m.bottom, c.bottom) << c.what;
    }
}

TEST(GetMarg, KeyIsTheBottomLeftPixel) {
    // Black background with ink in row 2 of 4 (from the bottom) that differs
    // from the key in one channel only.
    Image image(2, 4);
    image.pixel(1, 2)[1] = 1;
    const Margins m = keyMargins(image.view());
    EXPECT_EQ(m.bottom, 2);
    EXPECT_EQ(m.top, 1);
}

}  // namespace
}  // namespace tesmor
