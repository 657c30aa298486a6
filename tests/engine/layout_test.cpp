#include <gtest/gtest.h>

#include "layout.h"
#include "render.h"

namespace pavrex {
namespace {

// The default style at base resolution: margin 3 + 2*2 + 7 + 5 + 2*5 = 29.
PavrexStyle baseStyle() {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    return prepareStyle(s, 0);
}

GlyphMetrics glyph(int w, int h = 96, bool smallKana = false, bool turned = false) {
    return {w, h, smallKana, turned};
}

TEST(Layout, MarginFollowsTheEffectsThatNeedRoom) {
    PavrexStyle s = baseStyle();
    EXPECT_EQ(layoutMargin(s, 0), 29);
    s.ReliefOn = 0;
    EXPECT_EQ(layoutMargin(s, 0), 19 + 10);
    EXPECT_EQ(layoutMargin(s, 1), 19 + 20);
    EXPECT_EQ(layoutMargin(s, 2), 19 + 40);
    s.OutlineStyle = 2;
    s.OutlineWidth = 3;
    s.ThickenY = 8;
    EXPECT_EQ(layoutMargin(s, 0), 8 + 4 + 7 + 5 + 10 + 3);
}

TEST(Layout, HorizontalCanvasAndPositions) {
    const PavrexStyle s = baseStyle();
    const GlyphMetrics g[] = {glyph(96), glyph(48)};
    const Layout l = computeLayout(s, 0, g);
    // W = 4*((0 + 9 - 0 + 58 - 0 + 144 + 3) / 4), H = 29 + trunc(105.6)
    EXPECT_EQ(l.width, 212);
    EXPECT_EQ(l.height, 134);
    ASSERT_EQ(l.glyphs.size(), 2u);
    EXPECT_EQ(l.glyphs[0].x, 29);
    EXPECT_EQ(l.glyphs[0].y, 29);
    EXPECT_EQ(l.glyphs[1].x, 125);
    EXPECT_EQ(l.glyphs[1].y, 29);
    EXPECT_EQ(l.glyphs[1].sx, 48);
    EXPECT_EQ(l.glyphs[1].sy, 96);
}

TEST(Layout, SpacingGapsAndScaledWidth) {
    PavrexStyle s = baseStyle();
    s.SpacingPx = 10;
    s.CharGap[0] = 5;
    s.CharWidth[1] = 50;
    s.CharHeight[1] = 50;
    s.CharOffsetY[1] = -10;
    const GlyphMetrics g[] = {glyph(96), glyph(48)};
    const Layout l = computeLayout(s, 0, g);
    // run = (96 + 10 + 5) + (48 + 10 + 0) = 169; W = 4*((9 + 58 - 10 + 169 + 3)/4)
    EXPECT_EQ(l.width, 228);
    EXPECT_EQ(l.glyphs[1].sx, 24);
    EXPECT_EQ(l.glyphs[1].sy, 48);
    // X = 29 + 111 + 24 - 12; Y = 29 + 48 - 24 - 9 (oy = trunc(96 * -10 / 100) = -9)
    EXPECT_EQ(l.glyphs[1].x, 152);
    EXPECT_EQ(l.glyphs[1].y, 44);
}

TEST(Layout, SlantUsesTheShortPiFactor) {
    PavrexStyle s = baseStyle();
    s.Slant = 30;
    const GlyphMetrics g[] = {glyph(96), glyph(48)};
    const Layout l = computeLayout(s, 0, g);
    // sin(30 * 3.14159 / 180) * 96 = 47.9999..., so the shear is 47, not 48.
    EXPECT_EQ(l.width, 4 * ((47 + 9 + 58 + 144 + 3) / 4));
    EXPECT_NEAR(l.slantSine, 0.4999996, 1e-7);
}

TEST(Layout, VerticalUprightTurnedAndSmallKana) {
    PavrexStyle s = baseStyle();
    s.Vertical = 1;
    const GlyphMetrics upright[] = {glyph(96), glyph(48)};
    Layout l = computeLayout(s, 0, upright);
    // W = 4*((0 + 9 + 29 + 96 + 3)/4) = 136; H = 192 + 29 - 0 - 0 = 221
    EXPECT_EQ(l.width, 136);
    EXPECT_EQ(l.height, 221);
    EXPECT_EQ(l.glyphs[0].x, 20);
    EXPECT_EQ(l.glyphs[0].y, 125);  // pen starts at 221 - 96 - 29 = 96
    EXPECT_EQ(l.glyphs[1].x, 44);
    EXPECT_EQ(l.glyphs[1].y, 29);

    const GlyphMetrics turned[] = {glyph(96), glyph(48, 96, false, true)};
    l = computeLayout(s, 0, turned);
    EXPECT_TRUE(l.glyphs[1].turned);
    EXPECT_EQ(l.glyphs[1].x, 20);  // 68 - 96/2
    EXPECT_EQ(l.glyphs[1].y, 38);  // trunc(48 - 24 + 14.5 + 0)

    const GlyphMetrics small[] = {glyph(96), glyph(48, 96, true)};
    l = computeLayout(s, 0, small);
    EXPECT_EQ(l.glyphs[1].x, 44 + 9);  // trunc(0.07 * 136)
    EXPECT_EQ(computeLayout(baseStyle(), 0, small).glyphs[1].x, 125) << "no shift in horizontal writing";
}

TEST(Layout, VerticalOtherThanOneStartsThePenAtZero) {
    PavrexStyle s = baseStyle();
    s.Vertical = 2;
    const GlyphMetrics g[] = {glyph(96)};
    EXPECT_EQ(computeLayout(s, 0, g).glyphs[0].y, 29);
}

TEST(Layout, GlyphsFromThe21stOnUseEntry19) {
    PavrexStyle s = baseStyle();
    s.CharGap[19] = 7;
    s.CharWidth[19] = 50;
    s.CharGap[20] = 1000;  // never read
    s.CharWidth[20] = 10;
    std::vector<GlyphMetrics> g(22, glyph(10));
    const Layout l = computeLayout(s, 0, g);
    // run = 22 * 10 + 3 * 7; gapEnd = CharGap[19] = 7
    EXPECT_EQ(l.width, 4 * ((9 - 7 + 58 + 241 + 3) / 4));
    EXPECT_EQ(l.glyphs[19].x, 221);  // trunc(29 + 190 + 5 - 2.5)
    EXPECT_EQ(l.glyphs[21].x, 255);  // pen 224
    EXPECT_EQ(l.glyphs[21].sx, 5);
}

TEST(Layout, AbsurdTableValuesDoNotOverflow) {
    PavrexStyle s = baseStyle();
    s.CharOffsetX[0] = INT32_MAX;
    s.CharWidth[0] = INT32_MAX;
    s.CharGap[0] = INT32_MIN;
    const GlyphMetrics g[] = {glyph(96), glyph(96)};
    const Layout l = computeLayout(s, 0, g);
    EXPECT_LT(l.width, 0);
    EXPECT_EQ(l.glyphs[0].sx, 1000000000);
}

}  // namespace
}  // namespace pavrex
