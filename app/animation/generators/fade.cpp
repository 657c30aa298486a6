// Kinds 3 "フェードイン" and 4 "フェードアウト": the base image blended
// with the style's background colour, frame l = 0 .. n at level
// l * 255 / n (fade-in) or 255 - l * 255 / n (fade-out); level 0 is the
// plain background, 255 the text as it is.
#include "generators.h"

#include "shared_routines.h"

namespace vakuro {

namespace {

void fade(GenerationContext& ctx, const EntryTiming& timing, bool in) {
    const auto& fx = ctx.libraries().effects;
    for (int l = 0; l <= timing.n; ++l) {
        const double step = static_cast<double>(l) * 255 / timing.n;
        const int level = RoundHalfEven(in ? step : 255 - step);
        if (fx.Fead(ctx.baseFile.constData(), ctx.workFile.constData(), ctx.backColor(), level, 0) != 1) {
            ctx.frameFailed();
            return;
        }
        if (!ctx.appendWork(timing.delay)) return;
    }
}

}  // namespace

void generateFadeIn(GenerationContext& ctx, const EntryTiming& timing) { fade(ctx, timing, true); }

void generateFadeOut(GenerationContext& ctx, const EntryTiming& timing) { fade(ctx, timing, false); }

}  // namespace vakuro
