#pragma once

#include "render_context.h"

namespace pavrex {

// A side of the halved canvas.
inline int halvedSide(int side) { return side / 2 > 1 ? side / 2 : 1; }

// Halves the canvas: each output pixel is the truncated mean of a 2 x 2
// block. A side of 1 stays 1 (its one row or column is read twice), so a
// degenerate canvas still gives a picture, never one with a zero side.
void halveCanvas(RenderContext& context);

}  // namespace pavrex
