// Kind 19 "フリームーブ": the whole picture moves from a start state to an
// end state (position, size, angle, transparency), drawn at four times the
// frame size and reduced with 3 x 3 supersampling.
#pragma once

#include "dib_image.h"
#include "generation_context.h"

namespace vakuro {

// One state of the entry, in the units of its slots, brought into the slot
// ranges (x, y -100 .. 100 %, sizes 10 .. 300 %, angle -360 .. 360
// degrees, transparency 0 .. 100 %).
struct FreeMoveState {
    int x = 0, y = 0, width = 100, height = 100, angle = 0, transparency = 0;
};
struct FreeMoveStates {
    FreeMoveState start, end;
    static FreeMoveStates of(const ScheduleEntry& entry);
};

// The interpolated state at position v (0 = start .. 1024 = end) in the
// working space W4 x H4: the size of the resized picture, its offset, the
// angle in degrees (single precision) and the transparency level 0 .. 255.
struct FreeMoveGeometry {
    int width = 0, height = 0, offsetX = 0, offsetY = 0;
    float angle = 0;
    int transparency = 0;
};
FreeMoveGeometry freeMoveGeometry(const FreeMoveStates& states, int v, int W4, int H4);

// The frame before its transparency: the base picture resized plainly to
// the geometry's size (HReSize), turned by its angle unless that is 0
// (RotAng, uncovered corners in the base's bottom-left colour), copied at
// its place onto a W4 x H4 picture of backColour and reduced to
// round(W4 / 4) x round(H4 / 4) with 3 x 3 samples (SReSize, mode 3). It
// computes exactly what that chain of library calls writes, but samples
// only the 9 working-space pixels each frame pixel averages instead of
// writing and reading three pictures of 16 times the frame area.
DibPicture freeMoveReduced(const DibPicture& base, int W4, int H4, const FreeMoveGeometry& geometry, int backColour);

// One frame: the reduced picture written to the work file, then faded
// towards the background colour by its transparency (Fead). False when a
// file could not be written.
bool freeMoveFrame(GenerationContext& ctx, const DibPicture& base, int W4, int H4, const FreeMoveStates& states, int v);

}  // namespace vakuro
