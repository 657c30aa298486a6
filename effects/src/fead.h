// Fading a 24-bit image toward a colour, or darkening all but that colour.
#pragma once

#include "file_op.h"

namespace tesmor {

// level is taken as 0 .. 255 (values outside are clamped). With p a
// channel of a pixel and c the colour's channel (integer division):
//  mode 0: p' = ((255 - level) c + level p) / 255: 255 keeps the picture,
//          0 gives the plain colour;
//  mode 1: pixels exactly of the colour stay, the others get
//          p' = level p / 255;
//  other modes leave the picture as it is.
// Padding bytes are left as they are.
void fade(Image& image, Colour colour, int level, int mode);

// The file function. Returns a file_result code.
int feadFile(const char* source, const char* destination, int colour, int level, int mode);

}  // namespace tesmor
