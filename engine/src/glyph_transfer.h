// Copying glyph rasters onto the canvas: nearest-neighbour scaling to the
// glyph box, the slant shear, and the quarter turn of turned glyphs.
//
// The copy works on runs of ink: each canvas row takes, from every glyph
// that reaches it, the column intervals its source runs scale to, and their
// union becomes ink. So the work is bounded by the visible canvas rows and
// the runs, whatever size, offset or slant a style gives a glyph.
#pragma once

#include <span>
#include <utility>
#include <vector>

#include "glyph_source.h"
#include "layout.h"
#include "render_context.h"

namespace pavrex {

struct GlyphExtent {
    int start = 0;  // first column of the glyph
    int end = 0;    // end column: start plus slant span plus width
};

// A glyph ready to be copied: its box and the runs of ink of its raster,
// along each source row (upright) or each source column (turned).
struct PlacedGlyph {
    GlyphPlacement placement;
    int sourceWidth = 0;
    int sourceHeight = 0;
    std::vector<int> lineStart;              // runs of line i: lineStart[i] ... lineStart[i + 1] - 1
    std::vector<std::pair<int, int>> runs;   // [first, end) along the line
};

PlacedGlyph placeGlyph(const GlyphRaster& raster, const GlyphPlacement& placement);

// The columns the glyph occupies; slantSine is sin(Slant * 3.14159 / 180).
GlyphExtent glyphExtent(const GlyphPlacement& placement, double slantSine, int canvasHeight);

// Sets every canvas pixel covered by the ink of any of the glyphs to 0, 0, 0.
void transferGlyphs(RenderContext& canvas, std::span<const PlacedGlyph> glyphs, double slantSine);

// One glyph: transfers it and returns its columns.
GlyphExtent transferGlyph(RenderContext& canvas, const GlyphRaster& raster, const GlyphPlacement& placement,
                          double slantSine);

}  // namespace pavrex
