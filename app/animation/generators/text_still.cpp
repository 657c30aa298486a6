// Kind 1 "文字表示": the base image, shown for the whole duration of the
// entry as one frame.
#include "generators.h"

#include "shared_routines.h"

namespace vakuro {

void generateTextStill(GenerationContext& ctx, const EntryTiming& timing) {
    ctx.appendBase(RoundHalfEven(timing.seconds * 100));
}

}  // namespace vakuro
