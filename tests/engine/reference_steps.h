// Direct, unoptimised forms of the rendering steps that the engine computes
// with faster algorithms: each stamps whole squares, windows, kernels and
// discs per pixel exactly as the formulas read. Tests compare both.
#pragma once

#include "render_context.h"

namespace pavrex::reference {

void markShadow(RenderContext& c);
void colourShadow(RenderContext& c);
void buildReliefEdges(RenderContext& c);
void drawOutline(RenderContext& c);

// The whole step sequence with the direct forms above.
void runRenderingSteps(RenderContext& c);

}  // namespace pavrex::reference
