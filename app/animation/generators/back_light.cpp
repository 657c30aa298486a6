// Kind 8 "バックライト": a light source moves behind the text and its rays
// stream through the letters (Light of the effects library), frame l =
// 0 .. n, in one of four directions.
#include <algorithm>

#include "effect_steps.h"
#include "generators.h"

namespace vakuro {

void generateBackLight(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int direction = std::clamp(e[slot::BackLightDirection], 0, 3);
    const int strength = std::clamp(e[slot::BackLightBrightness], 0, 9) + 1;
    const int falloff = std::clamp(e[slot::BackLightDiffusion], 0, 9);
    const auto& fx = ctx.libraries().effects;
    for (int l = 0; l <= timing.n; ++l) {
        const QPoint at = backLightPosition(direction, l, timing.n, ctx.frameWidth, ctx.frameHeight);
        const bool made = fx.Light(ctx.baseFile.constData(), ctx.workFile.constData(), at.x(), at.y(), strength,
                                   falloff) == 1;
        if (!ctx.appendWorkIfMade(made, timing.delay)) return;
    }
}

}  // namespace vakuro
