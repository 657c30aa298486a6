#include <gtest/gtest.h>

#include "reference_steps.h"
#include "step_fixture.h"

namespace pavrex {
namespace {

using namespace pavrex::testing;
using Rows = std::vector<std::string>;

void backSteps(RenderContext& c) {
    markShadow(c);
    colourShadow(c);
    paintBackground(c);
}

Rows blockGlyph() {
    Rows rows(30, std::string(30, '.'));
    for (int y = 3; y < 9; ++y)
        for (int x = 4; x < 12; ++x) rows[y][x] = (x + y) % 3 ? '#' : '.';
    return rows;
}

TEST(Shadow, NoShadowLeavesPlainBackground) {
    auto c = canvasFrom(blockGlyph());
    c.style.ShadowType = 0;
    c.style.BackColor = PAVREX_RGB(1, 2, 3);
    backSteps(c);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) ASSERT_EQ(layerRgb(c, x, y), (Rgb{1, 2, 3}));
}

TEST(Shadow, DarkShadowWithoutBlurIsTheTextMovedRightAndDown) {
    auto c = canvasFrom(blockGlyph());
    c.style.ShadowType = 1;
    c.style.ShadowDistance = 7;
    c.style.ShadowBlur = 0;
    c.style.ShadowSpread = 0;
    c.style.ShadowColor = PAVREX_RGB(128, 128, 128);
    backSteps(c);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const bool shadow = x >= 7 && y + 7 < c.height && !isWhite(c.pixel(x - 7, y + 7));
            ASSERT_EQ(layerRgb(c, x, y), shadow ? (Rgb{128, 128, 128}) : (Rgb{255, 255, 255})) << x << "," << y;
        }
    }
}

TEST(Shadow, LightShadowOnBlackAddsTheShadowColour) {
    Rows rows(20, std::string(20, '.'));
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 12; ++x) rows[y][x] = '#';
    auto c = canvasFrom(rows);
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    s.BackColor = 0;  // corrected to 1: red 1
    s.ShadowType = 2;
    s.ShadowColor = PAVREX_RGB(255, 100, 40);
    s.ShadowDistance = 2;
    s.ShadowBlur = 1;
    c.style = prepareStyle(s, 0);
    backSteps(c);
    // A fully covered pixel: the glyph is 10 x 10 at rows 8 ... 17 from the
    // bottom, its shadow at rows 6 ... 15, columns 4 ... 13.
    EXPECT_EQ(layerRgb(c, 8, 10), (Rgb{255, 100, 40}));
    EXPECT_EQ(layerRgb(c, 0, 0), (Rgb{1, 0, 0}));
}

TEST(Shadow, DistanceBeyondTheImageCastsNothing) {
    auto c = canvasFrom(blockGlyph());
    c.style.ShadowType = 1;
    c.style.ShadowDistance = 40;
    c.style.ShadowSpread = 3;
    backSteps(c);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) ASSERT_EQ(layerRgb(c, x, y), (Rgb{255, 255, 255}));
}

TEST(Shadow, SpreadMakesSquaresClippedAtTheEdges) {
    auto c = canvasFrom({"......", "......", "......", ".....#"});
    c.style.ShadowType = 1;
    c.style.ShadowDistance = 0;
    c.style.ShadowSpread = 2;
    markShadow(c);
    // The text pixel (5, 0) marks rows -2 ... 1 and columns 3 ... 6: clipped
    // to the image, never wrapped into the next row.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(c.backLayer[static_cast<size_t>(y) * c.stride + 3 * x], (y <= 1 && x >= 3) ? 1 : 0) << x << "," << y;
}

TEST(Shadow, NegativeDistanceMovesLeftAndUpAndStaysOnTheCanvas) {
    auto c = canvasFrom({"..#..", ".....", ".....", "....#"});
    c.style.ShadowType = 1;
    c.style.ShadowDistance = -1;
    c.style.ShadowSpread = 0;
    markShadow(c);
    // Mark (x, r) takes the text at (x + 1, r - 1): (4, 0) marks (3, 1); the
    // top pixel (2, 3) would mark (1, 4), above the image: nothing.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(c.backLayer[static_cast<size_t>(y) * c.stride + 3 * x], (x == 3 && y == 1) ? 1 : 0) << x << "," << y;
}

struct ShadowCase {
    int type, distance, spread, blur;
};

TEST(Shadow, FastFormsEqualTheDirectFormulas) {
    // Also negative distances, and spreads and blurs wider than the canvas.
    const ShadowCase cases[] = {{1, 7, 0, 2},  {1, 3, 4, 0},   {2, 0, 1, 5},  {1, 16, 8, 5}, {2, 14, 32, 20},
                                {1, 0, 0, 0},  {3, 5, 2, 2},   {1, 2, -1, 3}, {1, -5, 0, 2}, {2, -3, 2, 1},
                                {1, -40, 0, 0}, {1, 3, 200, 0}, {1, 0, 1, 96}, {2, 1, 0, 97}, {1, -2, 5, 300}};
    unsigned seed = 1;
    for (const auto& k : cases) {
        auto fast = randomCanvas(97, 61, seed++, 2);
        auto direct = fast;
        for (auto* c : {&fast, &direct}) {
            c->style.ShadowType = k.type;
            c->style.ShadowDistance = k.distance;
            c->style.ShadowSpread = k.spread;
            c->style.ShadowBlur = k.blur;
            c->style.ShadowColor = PAVREX_RGB(30, 140, 250);
            c->style.BackColor = PAVREX_RGB(200, 90, 10);
        }
        backSteps(fast);
        reference::markShadow(direct);
        reference::colourShadow(direct);
        paintBackground(direct);
        EXPECT_EQ(fast.backLayer, direct.backLayer) << k.type << " " << k.distance << " " << k.spread << " " << k.blur;
    }
}

}  // namespace
}  // namespace pavrex
