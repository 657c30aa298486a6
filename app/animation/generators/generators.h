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

// ---- Splash, light, back light, flash, snow, illumination, telop, fade ----
// Kinds 5 "スプラッシュイン" and 6 "スプラッシュアウト": cells of the text fly
// in to their places or out from them (splash.cpp).
void generateSplashIn(GenerationContext& ctx, const EntryTiming& timing);
void generateSplashOut(GenerationContext& ctx, const EntryTiming& timing);
// One splash frame at level v (0: every cell in place) onto the canvas.
void Splash(GenerationContext& ctx, int colour, int v);
// Kind 7 "ライト": a band of light sweeps across the text (light.cpp).
void generateLight(GenerationContext& ctx, const EntryTiming& timing);
// One light frame at position p = 0 .. 1000 onto the canvas; p = 0 makes
// the entry's mask.
void FLight(GenerationContext& ctx, int colour, int p);
// Kind 8 "バックライト": a light moves behind the text (back_light.cpp).
void generateBackLight(GenerationContext& ctx, const EntryTiming& timing);
// Kind 9 "フラッシュ": the glow behind the text blinks (flash.cpp).
void generateFlash(GenerationContext& ctx, const EntryTiming& timing);
// Kind 10 "スノー": snow falls over the text (snow.cpp).
void generateSnow(GenerationContext& ctx, const EntryTiming& timing);
// m = -1 places the snow balls; m >= 0 paints frame m onto the canvas.
void SnowDrop(GenerationContext& ctx, int colour, int m, int framesPerSecond);
// Kind 16 "イルミネーション": stars twinkle over the text (star.cpp).
void generateStar(GenerationContext& ctx, const EntryTiming& timing);
// m = -1 places the stars; m >= 0 paints frame m onto the canvas.
void Star(GenerationContext& ctx, int colour, int m, int framesPerSecond);
// Kind 17 "テロップ": the text scrolls (telop.cpp).
void generateTelop(GenerationContext& ctx, const EntryTiming& timing);
// Telop frame i of the entry onto the canvas, on the key colour.
void FScroll(GenerationContext& ctx, int i, int direction, int key, const EntryTiming& timing);
// Kind 18 "フェード": the text revealed from its left end (side_fade.cpp).
void generateSideFade(GenerationContext& ctx, const EntryTiming& timing);

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
