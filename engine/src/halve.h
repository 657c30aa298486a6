#pragma once

#include "render_context.h"

namespace pavrex {

// Halves the canvas: each output pixel is the truncated mean of a 2 x 2 block.
void halveCanvas(RenderContext& context);

}  // namespace pavrex
