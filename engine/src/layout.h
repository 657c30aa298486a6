// Measuring, margin, canvas size and the placement of every glyph box.
#pragma once

#include <span>
#include <vector>

#include "pavrex.h"

namespace pavrex {

struct GlyphMetrics {
    int width = 0;   // extent width: sum of the advances
    int height = 0;  // extent height: the cell height
    bool smallKana = false;
    bool turned = false;
};

struct GlyphPlacement {
    int x = 0;       // left column of the glyph box
    int y = 0;       // bottom row of the glyph box
    int sx = 0;      // scaled width
    int sy = 0;      // scaled height
    bool turned = false;
};

struct Layout {
    long long margin = 0;
    long long width = 0;   // canvas width as computed (before any limit is applied)
    long long height = 0;
    double slantSine = 0;  // sin(Slant * 3.14159 / 180)
    std::vector<GlyphPlacement> glyphs;
};

// Index into the per-character tables: glyphs from the 21st on use entry 19.
inline int tableIndex(long long glyph) { return glyph < 19 ? static_cast<int>(glyph) : 19; }

// Margin around the text for thickening, shadow, relief and outline.
long long layoutMargin(const PavrexStyle& scaled, int q);

// Lays out the glyphs of a scaled, corrected style copy at resolution
// factor index q (0, 1, 2). At least one glyph is required.
Layout computeLayout(const PavrexStyle& scaled, int q, std::span<const GlyphMetrics> glyphs);

}  // namespace pavrex
