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

// ---- Stand-up, spin, the per-character effects and free move ---------------

// Kind 11 "スタンドアップ": the picture grows upwards from the bottom edge.
void generateStand(GenerationContext& ctx, const EntryTiming& timing);
// Kind 12 "スピン": the picture turns once about its vertical centre line.
void generateSpin(GenerationContext& ctx, const EntryTiming& timing);
// Kind 13 "ドロップ": the characters fall into place one after another.
void generateDrop(GenerationContext& ctx, const EntryTiming& timing);
// Kind 14 "スライド": the characters come in from the right one after another.
void generateSlide(GenerationContext& ctx, const EntryTiming& timing);
// Kind 15 "トランプ": the characters turn, stand up, jump or are dealt.
void generateTranp(GenerationContext& ctx, const EntryTiming& timing);
// Kind 19 "フリームーブ": the picture moves from a start to an end state.
void generateFreeMove(GenerationContext& ctx, const EntryTiming& timing);

// One frame of the stand-up and of the spin at level v (0 .. 255), written
// to the work file. False when an effect could not write its file.
bool standFrame(GenerationContext& ctx, int v, int perspective, int type);
bool spinFrame(GenerationContext& ctx, int v, int backBrightness, int perspective);

}  // namespace vakuro
