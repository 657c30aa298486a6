// Revealing a 24-bit image from the left with a soft edge into a colour.
#pragma once

#include "file_op.h"

namespace tesmor {

// For column x: m = 256 + 256 (edgeX - x) / edgeWidth (division truncating
// toward zero), m = 256 where x <= edgeX and 0 where m < 0; each channel
// becomes floor(m p / 256) + floor((256 - m) c / 256), c the colour's
// channel. Only the low 24 bits of edgeX count, as a signed value
// (-8388608 .. 8388607). edgeWidth is at least 1.
void sideReveal(Image& image, int edgeX, int edgeWidth, Colour colour);

// The file function. edgeWidth below 1 is refused (BadEdgeWidth) before
// the source is looked at. Returns a file_result code.
int sideDspFile(const char* source, const char* destination, int edgeX, int edgeWidth,
                int colour);

}  // namespace tesmor
