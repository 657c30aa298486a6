#include <gtest/gtest.h>

#include "halve.h"

namespace pavrex {
namespace {

TEST(Halve, EachPixelIsTheTruncatedMeanOfItsBlock) {
    RenderContext c;
    c.width = 6;  // 3 x 1 after halving: a padded row of 12 bytes
    c.height = 3; // the odd top row is dropped
    c.stride = 18;
    c.canvas.assign(54, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            uint8_t* p = c.pixel(x, y);
            p[0] = static_cast<uint8_t>(10 * x + y);  // blue
            p[1] = 255;
            p[2] = static_cast<uint8_t>(x == 1 ? 3 : 0);
        }
    }
    halveCanvas(c);
    EXPECT_EQ(c.width, 3);
    EXPECT_EQ(c.height, 1);
    EXPECT_EQ(c.stride, 12);
    ASSERT_EQ(c.canvas.size(), 12u);
    // Block (0,0): blue (0 + 10 + 1 + 11) / 4 = 5, red (0 + 3 + 0 + 3) / 4 = 1.
    const std::vector<uint8_t> expected = {5, 255, 1, 25, 255, 0, 45, 255, 0, 0, 0, 0};
    EXPECT_EQ(c.canvas, expected);
}

TEST(Halve, ASideOfOneStaysOne) {
    // The smallest canvas, 4 x 1: its one row is read twice, so each output
    // pixel is the mean of two pixels: (10 + 30 + 10 + 30) / 4 = 20 and
    // (50 + 71 + 50 + 71) / 4 = 60 (truncated from 60.5).
    RenderContext c;
    c.width = 4;
    c.height = 1;
    c.stride = 12;
    c.canvas = {10, 0, 255, 30, 0, 255, 50, 1, 255, 71, 2, 255};
    halveCanvas(c);
    EXPECT_EQ(c.width, 2);
    EXPECT_EQ(c.height, 1);
    EXPECT_EQ(c.stride, 8);
    const std::vector<uint8_t> expected = {20, 0, 255, 60, 1, 255, 0, 0};
    EXPECT_EQ(c.canvas, expected);
}

}  // namespace
}  // namespace pavrex
