// PLACEHOLDER for the kinds 5 .. 19 whose generators are not written yet:
// every frame is the base image, with the frame count, delays and progress
// weights the kind's real generator will have, so that schedules of every
// kind play and their timing can be checked. Delete a kind's case here when
// its generator lands.
#include "generators.h"

namespace vakuro {

void generatePlaceholder(GenerationContext& ctx, const EntryTiming& timing) {
    const int kind = ctx.entry->kind();
    const int first = kind == 12 ? 1 : 0;        // the spin starts already turned
    const int weight = kind == 19 ? 2 : 1;       // free-move frames weigh 2
    for (int l = first; l <= timing.n; ++l)
        if (!ctx.appendBase(timing.delay, weight)) return;
}

}  // namespace vakuro
