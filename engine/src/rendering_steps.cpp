#include "render_context.h"
#include "steps/steps.h"

namespace pavrex {

void runRenderingSteps(RenderContext& c) {
    thicken(c);
    if (c.whiteInk) c.takeTextMask();
    fill(c);
    markShadow(c);
    colourShadow(c);
    paintBackground(c);
    buildReliefEdges(c);
    shapeRelief(c);
    drawOutline(c);
    composite(c);
}

}  // namespace pavrex
