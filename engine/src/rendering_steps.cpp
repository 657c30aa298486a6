#include "render_context.h"

namespace pavrex {

// The steps that turn black glyphs on white into the finished picture run
// here in their fixed order: thickening, fill, shadow mask, shadow colour,
// background, relief edges and heights, relief shaping, outline and
// compositing. Until they are added the glyphs stay plain ink.
void runRenderingSteps(RenderContext& /*context*/) {}

}  // namespace pavrex
