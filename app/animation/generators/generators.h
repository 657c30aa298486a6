// The effect generators, one file each. The dispatch table (dispatch.cpp)
// names them; app/animation/README.md says what a generator receives and
// must do.
#pragma once

#include "generation_context.h"

namespace vakuro {

// Kind 1 "文字表示": one frame of the base image for the whole duration.
void generateTextStill(GenerationContext& ctx, const EntryTiming& timing);
// Kind 2 "背景表示": one frame of the background colour for the whole duration.
void generateBackgroundStill(GenerationContext& ctx, const EntryTiming& timing);
// Kind 3 "フェードイン": the text appears out of the background colour.
void generateFadeIn(GenerationContext& ctx, const EntryTiming& timing);
// Kind 4 "フェードアウト": the text disappears into the background colour.
void generateFadeOut(GenerationContext& ctx, const EntryTiming& timing);

// PLACEHOLDER for kinds 5 .. 19 until their generators are written: a still
// of the base image per frame, with the kind's frame count, delays and
// weights. Each kind gets its own file (splash.cpp, light.cpp, ...) that
// replaces its row in dispatch.cpp.
void generatePlaceholder(GenerationContext& ctx, const EntryTiming& timing);

}  // namespace vakuro
