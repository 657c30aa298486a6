// Copying a glyph raster onto the canvas: nearest-neighbour scaling to the
// glyph box, the slant shear, and the quarter turn of turned glyphs.
#pragma once

#include "glyph_source.h"
#include "layout.h"
#include "render_context.h"

namespace pavrex {

struct GlyphExtent {
    int start = 0;  // first column of the glyph
    int end = 0;    // end column: start plus slant span plus width
};

// Sets every canvas pixel covered by the glyph's ink to 0, 0, 0 and returns
// the columns the glyph occupies. slantSine is sin(Slant * 3.14159 / 180).
GlyphExtent transferGlyph(RenderContext& canvas, const GlyphRaster& raster, const GlyphPlacement& placement,
                          double slantSine);

}  // namespace pavrex
