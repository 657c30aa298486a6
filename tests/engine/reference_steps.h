// Direct, unoptimised forms of the rendering steps that the engine computes
// with faster algorithms: each stamps whole squares, windows, kernels and
// discs per pixel exactly as the formulas read. Tests compare both.
#pragma once

#include "glyph_source.h"
#include "layout.h"
#include "render_context.h"

namespace pavrex::reference {

// The glyph copy pixel by pixel over the whole glyph box (slant sine s).
void transferGlyph(RenderContext& c, const GlyphRaster& raster, const GlyphPlacement& placement, double s);
// Thickening with a run of tx - 1 (ty - 1) pixels painted from every source.
void thicken(RenderContext& c);

void markShadow(RenderContext& c);
void colourShadow(RenderContext& c);
void buildReliefEdges(RenderContext& c);
void drawOutline(RenderContext& c);

// The whole step sequence with the direct forms above.
void runRenderingSteps(RenderContext& c);

}  // namespace pavrex::reference
