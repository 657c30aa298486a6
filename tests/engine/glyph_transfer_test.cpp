#include <gtest/gtest.h>

#include <random>
#include <string>

#include "glyph_transfer.h"
#include "reference_steps.h"

namespace pavrex {
namespace {

RenderContext whiteCanvas(int w, int h) {
    RenderContext c;
    c.width = w;
    c.height = h;
    c.stride = 3 * w;
    c.canvas.assign(static_cast<size_t>(c.stride) * h, 255);
    return c;
}

// Rows from the top as strings: '#' ink, '.' white.
std::vector<std::string> picture(RenderContext& c) {
    std::vector<std::string> rows;
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < c.width; ++x) row += c.pixel(x, y)[0] == 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// A raster from rows given top first.
GlyphRaster raster(std::vector<std::string> rowsFromTop) {
    GlyphRaster r;
    r.height = static_cast<int>(rowsFromTop.size());
    r.width = static_cast<int>(rowsFromTop[0].size());
    r.ink.assign(static_cast<size_t>(r.width) * r.height, 0);
    for (int y = 0; y < r.height; ++y) {
        for (int x = 0; x < r.width; ++x) {
            r.ink[static_cast<size_t>(r.height - 1 - y) * r.width + x] = rowsFromTop[y][x] == '#';
        }
    }
    return r;
}

using Rows = std::vector<std::string>;

TEST(GlyphTransfer, CopiesAndScalesByNearestNeighbour) {
    auto c = whiteCanvas(6, 4);
    const auto r = raster({".#", "#."});
    const auto e = transferGlyph(c, r, {1, 1, 4, 2, false}, 0.0);
    EXPECT_EQ(picture(c), (Rows{"......", "...##.", ".##...", "......"}));
    EXPECT_EQ(e.start, 1);
    EXPECT_EQ(e.end, 5);
}

TEST(GlyphTransfer, ShearsRightByTheSlantPerRow) {
    auto c = whiteCanvas(4, 4);
    const auto r = raster({"#", "#", "#", "#"});
    // u = 0.5: rows 0 and 1 unshifted, rows 2 and 3 one column right;
    // span = trunc(4 * 0.5) + 1 = 3.
    const auto e = transferGlyph(c, r, {0, 0, 1, 4, false}, 0.5);
    EXPECT_EQ(picture(c), (Rows{".#..", ".#..", "#...", "#..."}));
    EXPECT_EQ(e.end, 0 + 2 + 1);
}

TEST(GlyphTransfer, TurnedGlyphRunsDownTheColumn) {
    auto c = whiteCanvas(4, 5);
    // A bar with ink at its left end: turned, the left end is at the top.
    // The turned box covers rows Y + 1 ... Y + sx.
    const auto r = raster({"#.."});
    const auto e = transferGlyph(c, r, {1, 0, 3, 1, true}, 0.0);
    EXPECT_EQ(picture(c), (Rows{"....", ".#..", "....", "....", "...."}));
    EXPECT_EQ(e.end, 1 + 3);
}

TEST(GlyphTransfer, ClipsAtEveryCanvasEdge) {
    auto c = whiteCanvas(3, 2);
    const auto r = raster({"##", "##"});
    transferGlyph(c, r, {-1, -1, 2, 2, false}, 0.0);
    transferGlyph(c, r, {2, 1, 2, 2, false}, 0.0);
    EXPECT_EQ(picture(c), (Rows{"..#", "#.."}));
}

TEST(GlyphTransfer, GlyphScaledToNothingLeavesNoInk) {
    auto c = whiteCanvas(4, 4);
    const auto r = raster({"##", "##"});
    transferGlyph(c, r, {0, 0, 0, 2, false}, 0.0);
    transferGlyph(c, r, {0, 0, 2, -3, true}, 0.0);
    EXPECT_EQ(picture(c), (Rows{"....", "....", "....", "...."}));
}

// Random rasters, boxes and slants, also far outside the canvas and larger
// or smaller than the raster: the run-based copy of several glyphs at once
// sets exactly the pixels the direct copy sets glyph by glyph.
TEST(GlyphTransfer, RunsEqualTheDirectCopy) {
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const double sines[] = {0.0, 0.2588, -0.5, 0.99985, -0.99985, 0.7};
    for (int round = 0; round < 300; ++round) {
        auto fast = whiteCanvas(pick(1, 40), pick(1, 30));
        auto direct = fast;
        const double sine = sines[pick(0, 5)];
        std::vector<PlacedGlyph> placed;
        for (int g = pick(1, 4); g > 0; --g) {
            GlyphRaster r;
            r.width = pick(1, 12);
            r.height = pick(1, 12);
            r.ink.resize(static_cast<size_t>(r.width) * r.height);
            for (auto& v : r.ink) v = pick(0, 2) == 0;
            const bool far = pick(0, 5) == 0;
            const int reach = far ? 3000 : 30;
            GlyphPlacement p{pick(-reach, 45), pick(-reach, 35), pick(-2, far ? 6000 : 50), pick(-2, far ? 6000 : 50),
                             pick(0, 3) == 0};
            reference::transferGlyph(direct, r, p, sine);
            placed.push_back(placeGlyph(r, p));
        }
        transferGlyphs(fast, placed, sine);
        ASSERT_EQ(picture(fast), picture(direct)) << "round " << round;
    }
}

}  // namespace
}  // namespace pavrex
