// PLACEHOLDER for the kinds 5 .. 19 whose generators are not written yet:
// every frame is the base image, with the frame count, delays and progress
// weights the kind's real generator will have, so that schedules of every
// kind play and their timing can be checked. Delete a kind's case here when
// its generator lands.
#include "generators.h"

#include "dispatch.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

// Flash: dark and lit frames alternate (types 0 and 2) with the delays of
// the flash ratio, or pulses of equal frames (type 1) weighing 10 each.
void flashPlaceholder(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int count = flashCountOf(e);
    const int ratio = flashRatioOf(e);
    if (flashTypeOf(e) == 1) {
        const int perPulse = RoundHalfEven((timing.n + 1) / static_cast<double>(count));
        for (int i = 0; i < perPulse * count; ++i)
            if (!ctx.appendBase(timing.delay, 10)) return;
        return;
    }
    const double period = timing.seconds * 100 / count;
    const int dark = RoundHalfEven(period * (12 - ratio) / 12);
    const int lit = RoundHalfEven(period * ratio / 12);
    for (int i = 0; i < 2 * count; ++i)
        if (!ctx.appendBase(i % 2 == 0 ? dark : lit)) return;
}

}  // namespace

void generatePlaceholder(GenerationContext& ctx, const EntryTiming& timing) {
    const int kind = ctx.entry->kind();
    if (kind == 9) {
        flashPlaceholder(ctx, timing);
        return;
    }
    const int first = kind == 12 ? 1 : 0;        // the spin starts already turned
    const int weight = kind == 19 ? 2 : 1;       // free-move frames weigh 2
    for (int l = first; l <= timing.n; ++l)
        if (!ctx.appendBase(timing.delay, weight)) return;
    // The splash-in shows its last frame once more, weighing nothing.
    if (kind == 5 && timing.n >= 0) ctx.appendBase(timing.delay, 0);
}

}  // namespace vakuro
