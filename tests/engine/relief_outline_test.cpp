#include <gtest/gtest.h>

#include <climits>

#include "reference_steps.h"
#include "step_fixture.h"

namespace pavrex {
namespace {

using namespace pavrex::testing;
using Rows = std::vector<std::string>;

Rows square(int size, int from, int to) {
    Rows rows(size, std::string(size, '.'));
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x) rows[y][x] = '#';
    return rows;
}

TEST(ReliefKernel, BevelValuesByHand) {
    // d = 2, curvature 5: p = 2, e = 2 - trunc(sqrt(3 dy^2 + dx^2)).
    const auto k = reliefKernel(1, 2, 5);
    auto at = [&](int dx, int dy) { return k[(dy + 2) * 5 + dx + 2]; };
    EXPECT_EQ(at(0, 0), 4);   // trunc(2^2 + 0.5)
    EXPECT_EQ(at(1, 0), 1);   // trunc(1 + 0.5)
    EXPECT_EQ(at(-1, 0), 1);  // trunc((1 + 1) * 0.5): the left slope is halved
    EXPECT_EQ(at(0, 1), 1);   // sqrt(3) -> 1
    EXPECT_EQ(at(-2, 0), 0);
    EXPECT_EQ(at(0, 2), 0);
}

TEST(ReliefKernel, TrapezoidSplitsLeftAndRight) {
    const auto k = reliefKernel(2, 10, 5);
    auto at = [&](int dx, int dy) { return k[(dy + 10) * 21 + dx + 10]; };
    EXPECT_EQ(at(-10, 10), 127);
    EXPECT_EQ(at(1, 0), 0);
    EXPECT_EQ(at(0, 0), 127);  // clamp(200)
    EXPECT_EQ(at(0, 9), 20);
}

TEST(ReliefKernel, DeepKernelsAreSizedToTheirDepth) {
    // Depth 10 at the resolution factor 4: d = 40, an 81 x 81 kernel.
    const auto k = reliefKernel(1, 40, 1);
    ASSERT_EQ(k.size(), 81u * 81u);
    EXPECT_EQ(k[40 * 81 + 40], 84);  // trunc(40^1.2 + 0.5)
}

TEST(Relief, EdgeMaskMarksTextAndItsRing) {
    auto c = canvasFrom(square(7, 2, 5));
    c.style.ReliefOn = 0;
    c.style.ReliefDepth = 1;
    buildReliefEdges(c);
    auto mask = [&](int x, int y) { return c.edgeMask[static_cast<size_t>(y) * 7 + x]; };
    EXPECT_GE(mask(3, 3), 156);
    EXPECT_EQ(mask(1, 1), 1);  // a corner of the ring touches one text pixel
    EXPECT_EQ(mask(1, 3), 3);  // a side touches three
    EXPECT_EQ(mask(0, 0), 0);
    for (int v : c.heightMap) ASSERT_EQ(v, 0) << "no heights with relief off";
}

TEST(Relief, DeepInsideTextKeepsHeightZero) {
    auto c = canvasFrom(square(40, 5, 35));
    c.style.ReliefOn = 1;
    c.style.ReliefDepth = 5;
    buildReliefEdges(c);
    EXPECT_EQ(c.heightMap[20 * 40 + 20], 0) << "farther than the depth from every edge";
    EXPECT_GT(c.heightMap[20 * 40 + 33], 0) << "just inside the right edge";
}

TEST(Relief, ReliefOffGivesFillPlusTen) {
    auto c = canvasFrom(square(20, 4, 16));
    c.style.ReliefOn = 0;
    c.style.ShadowType = 0;
    c.style.FillColor1 = PAVREX_RGB(100, 250, 3);
    c.style.BackColor = PAVREX_RGB(9, 9, 9);
    runRenderingSteps(c);
    EXPECT_EQ(pixelRgb(c, 10, 10), (Rgb{110, 255, 13}));
    EXPECT_EQ(pixelRgb(c, 0, 0), (Rgb{9, 9, 9}));
}

TEST(Relief, GlossZeroLeavesTheBevelAlone) {
    auto withGloss = canvasFrom(square(40, 5, 35));
    withGloss.style.ThickenX = withGloss.style.ThickenY = 0;
    auto without = withGloss;
    without.style.ReliefGloss = 0;
    buildReliefEdges(without);
    const auto bevel = without.heightMap;
    shapeRelief(without);
    EXPECT_EQ(without.heightMap, bevel);
    buildReliefEdges(withGloss);
    shapeRelief(withGloss);
    EXPECT_NE(withGloss.heightMap, bevel);
}

TEST(Relief, GlossBandsFromTheRightEndOfEachRun) {
    // Depth 5, gloss 4, quality 0: w = 4; the run's first five pixels from
    // the right get i = 5 ... 1, so k = w - i = -1, 0, 1, 2, 3; the amounts
    // 4c, 14c + R, 8c, 3c land on the 2nd to 5th pixel from the right.
    auto c = canvasFrom({"..................", "..................", "..........#######.", ".................."});
    c.style.ReliefDepth = 5;
    c.style.ReliefGloss = 4;
    c.style.ReliefReflection = 0;
    c.quality = 0;
    shapeRelief(c);
    const int16_t* row = c.heightMap.data() + 1 * c.width;
    EXPECT_EQ(row[16], 0);
    EXPECT_EQ(row[15], -16);
    EXPECT_EQ(row[14], -56);
    EXPECT_EQ(row[13], -32);
    EXPECT_EQ(row[12], -12);
    EXPECT_EQ(row[11], 0);
}

struct ReliefCase {
    int on, depth, curvature;
};

TEST(Relief, FastStampingEqualsTheDirectKernel) {
    // Also depths near half the canvas, curvatures far outside 1 ... 10 and
    // relief kinds without a kernel.
    const ReliefCase cases[] = {{1, 1, 2},  {1, 5, 6},     {1, 10, 4},       {1, 20, 7},   {2, 1, 2},
                                {2, 5, 6},  {2, 10, 4},    {2, 20, 7},       {1, 0, 5},    {2, 0, 5},
                                {1, 8, -4}, {1, 8, -1000}, {1, 8, 1000000},  {1, 30, 0},   {1, 44, 5},
                                {2, 44, 5}, {3, 5, 5},     {0, 5, 5},        {1, 3, INT_MIN}};
    unsigned seed = 100;
    for (const auto& k : cases) {
        auto fast = randomCanvas(120, 90, seed++, 1);
        auto direct = fast;
        for (auto* c : {&fast, &direct}) {
            c->style.ReliefOn = k.on;
            c->style.ReliefDepth = k.depth;
            c->style.ReliefCurvature = k.curvature;
        }
        buildReliefEdges(fast);
        reference::buildReliefEdges(direct);
        EXPECT_EQ(fast.edgeMask, direct.edgeMask) << k.on << " " << k.depth << " " << k.curvature;
        EXPECT_EQ(fast.heightMap, direct.heightMap) << k.on << " " << k.depth << " " << k.curvature;
    }
}

TEST(ReliefKernel, CurvatureBelowMinusFourReadsAsMinusFour) {
    // At -4 the exponent is 0.2: still a bevel falling away from the edge.
    EXPECT_EQ(reliefKernel(1, 6, -4), reliefKernel(1, 6, INT_MIN));
    EXPECT_NE(reliefKernel(1, 6, -4), reliefKernel(1, 6, -3));
    const auto k = reliefKernel(1, 6, INT_MIN);
    EXPECT_EQ(k[6 * 13 + 6], 1);  // trunc(6^0.2 + 0.5) = trunc(1.43 + 0.5)
    EXPECT_EQ(k[6 * 13 + 12], 0) << "nothing at the kernel's edge";
}

TEST(Outline, WidthZeroIsOnePixelAroundTheText) {
    auto c = canvasFrom(square(9, 3, 6));
    c.style.ReliefDepth = 1;
    c.style.OutlineStyle = 1;
    c.style.OutlineWidth = 0;
    c.style.OutlineColor1 = PAVREX_RGB(0, 0, 255);
    c.style.ShadowType = 0;
    c.style.BackColor = PAVREX_RGB(255, 255, 255);
    paintBackground(c);
    buildReliefEdges(c);
    drawOutline(c);
    composite(c);
    // Pure blue is painted with red 1.
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool ring = x >= 2 && x <= 6 && y >= 2 && y <= 6 && !(x >= 3 && x <= 5 && y >= 3 && y <= 5);
            if (ring) {
                EXPECT_EQ(pixelRgb(c, x, y), (Rgb{1, 0, 255})) << x << "," << y;
            }
            if (x < 2 || x > 6 || y < 2 || y > 6) {
                EXPECT_EQ(pixelRgb(c, x, y), (Rgb{255, 255, 255})) << x << "," << y;
            }
        }
    }
}

TEST(Outline, VerticalGradientRedAtTopBlueAtBottom) {
    auto c = canvasFrom(square(40, 10, 30));
    c.style.ReliefDepth = 1;
    c.style.OutlineStyle = 3;
    c.style.OutlineWidth = 8;
    c.style.OutlineColor1 = PAVREX_RGB(255, 0, 0);
    c.style.OutlineColor2 = PAVREX_RGB(0, 0, 255);
    buildReliefEdges(c);
    drawOutline(c);
    // Row y: C2 * (1 - y/H) + C1 * y/H.
    EXPECT_EQ(layerRgb(c, 20, 36), (Rgb{229, 0, 25}));
    EXPECT_EQ(layerRgb(c, 20, 4), (Rgb{25, 0, 229}));
}

TEST(Outline, StyleZeroPaintsNothing) {
    auto c = canvasFrom(square(20, 5, 15));
    c.style.OutlineStyle = 0;
    c.style.OutlineWidth = 5;
    buildReliefEdges(c);
    const auto before = c.backLayer;
    drawOutline(c);
    EXPECT_EQ(c.backLayer, before);
}

TEST(Outline, FastDiscsEqualTheDirectFormula) {
    unsigned seed = 300;
    for (int style : {1, 2, 3}) {
        for (int width : {0, 1, 2, 5, 20, 38, 60}) {
            auto fast = randomCanvas(110, 80, seed++, 1);
            for (auto* c : {&fast}) {
                c->style.ReliefDepth = 2;
                buildReliefEdges(*c);
            }
            auto direct = fast;
            for (auto* c : {&fast, &direct}) {
                c->style.OutlineStyle = style;
                c->style.OutlineWidth = width;
                c->style.OutlineColor1 = PAVREX_RGB(250, 0, 10);
                c->style.OutlineColor2 = PAVREX_RGB(20, 200, 100);
            }
            drawOutline(fast);
            reference::drawOutline(direct);
            EXPECT_EQ(fast.backLayer, direct.backLayer) << style << " " << width;
        }
    }
}

}  // namespace
}  // namespace pavrex
