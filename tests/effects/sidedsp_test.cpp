#include "sidedsp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "test_support.h"

namespace tesmor {
namespace {

using namespace tesmor::test;

// A 6 x 2 picture of grey 200 faded into the colour (0, 0, 100) (blue 0,
// green 0, red 100; 0x00000064). Per column the weight m gives
// blue = green = floor(200 m / 256), red = floor(200 m / 256) + floor(100 (256 - m) / 256).
std::vector<Bgr> faded(const std::vector<int>& weights) {
    std::vector<Bgr> v;
    for (const int m : weights) {
        const int keep = 200 * m / 256;
        v.push_back({keep, keep, keep + 100 * (256 - m) / 256});
    }
    return v;
}

TEST(SideDsp, EdgeWeightTable) {
    struct Case {
        int edgeX, edgeWidth;
        std::vector<int> weights;  // m for columns 0 .. 5
    };
    const Case cases[] = {
        // 256 up to the edge, then 256 + 256 (1 - x) / 2: 128, 0, -128 -> 0
        {1, 2, {256, 256, 128, 0, 0, 0}},
        // 256 (0 - x) / 3 truncates toward zero: -85, -170, -256
        {0, 3, {256, 171, 86, 0, 0, 0}},
        // edge entering from the left: 256 + 256 (-2 - x) / 4
        {-2, 4, {128, 64, 0, 0, 0, 0}},
        // edge at 0, width 1: plain colour from column 1 on
        {0, 1, {256, 0, 0, 0, 0, 0}},
        // edge at or beyond the right edge: unchanged
        {5, 3, {256, 256, 256, 256, 256, 256}},
        {1000, 1, {256, 256, 256, 256, 256, 256}},
        // far to the left: plain colour everywhere
        {-1000, 50, {0, 0, 0, 0, 0, 0}},
        // only the low 24 bits count, as a signed value
        {0x1000000 + 1, 2, {256, 256, 128, 0, 0, 0}},
        {0x7FFFFFFF, 4, {192, 128, 64, 0, 0, 0}},  // low 24 bits: -1
        // a wide edge: 256 x / 1000 stays below 1 up to column 3
        {0, 1000, {256, 256, 256, 256, 255, 255}},
    };
    for (const Case& c : cases) {
        Image image = greyImage(6, 2, {200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200});
        sideReveal(image, c.edgeX, c.edgeWidth, colourOf(0x00000064));
        const std::vector<Bgr> expected = faded(c.weights);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(at(image, x, y), expected[static_cast<size_t>(x)])
                    << "edge " << c.edgeX << " width " << c.edgeWidth << " at " << x << "," << y;
    }
}

// An edge width below 1 would divide by zero: refused before the source is
// looked at, nothing written.
TEST(SideDsp, EdgeWidthBelowOneIsRefused) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, greyImage(2, 1, {10, 20}));
    for (const int width : {0, -1, INT32_MIN}) {
        EXPECT_EQ(sideDspFile(a.c_str(), b.c_str(), 0, width, 0), -11) << width;
        EXPECT_EQ(sideDspFile(dir.file("missing").c_str(), b.c_str(), 0, width, 0), -11);
    }
    EXPECT_FALSE(std::filesystem::exists(b));
}

TEST(SideDsp, FileEdgeCasesAndSamePath) {
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeImage(a, testCard(9, 4));
    ASSERT_EQ(sideDspFile(a.c_str(), b.c_str(), 9, 1, 0x00FFFFFF), 1);
    EXPECT_EQ(readBytes(b), readBytes(a));
    ASSERT_EQ(sideDspFile(a.c_str(), a.c_str(), 0, 1, 0x00563412), 1);
    const Image out = readImage(a);
    const Image card = testCard(9, 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(at(out, 0, y), at(card, 0, y));
        for (int x = 1; x < 9; ++x) EXPECT_EQ(at(out, x, y), (Bgr{0x56, 0x34, 0x12})) << x << "," << y;
    }
}

}  // namespace
}  // namespace tesmor
