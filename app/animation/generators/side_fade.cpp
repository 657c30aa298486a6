// Kind 18 "フェード": the text is revealed from its left end by a soft edge
// (SideDsp of the effects library) that moves from -e to the right edge,
// e = "幅" x Wf / 10; beyond the edge the frame shows the base background.
#include <algorithm>

#include "effect_steps.h"
#include "generators.h"

namespace vakuro {

void generateSideFade(GenerationContext& ctx, const EntryTiming& timing) {
    const int fadeWidth = std::clamp((*ctx.entry)[slot::FadeWidth], 1, 10);
    const auto& fx = ctx.libraries().effects;
    for (int v = 0; v <= timing.n; ++v) {
        const SideSweep s = sideSweep(fadeWidth, ctx.frameWidth, v, timing.n);
        const bool made = fx.SideDsp(ctx.baseFile.constData(), ctx.workFile.constData(), s.position, s.width,
                                     ctx.baseBackground) == 1;
        if (!ctx.appendWorkIfMade(made, timing.delay)) return;
    }
}

}  // namespace vakuro
