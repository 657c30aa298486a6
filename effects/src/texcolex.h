// The striped two-colour pattern of the extended colour fill.
#pragma once

#include "file_op.h"

namespace tesmor {

namespace texcolex_result {
enum : int {
    Ok = 1,
    BadWidth = -1,   // below 1 or above bmp::kMaxSide
    BadHeight = -2,  // below 1 or above bmp::kMaxSide
    OutOfMemory = -3,
    CannotWrite = -4,
};
}

// A width x height pattern. With t = angle * 0.017453292519943278 (angle in
// degrees), S = |sin t| + |cos t| and for pixel (j, i) (i from the bottom)
//   f = (sin t (i - height/2) + cos t (j - width/2) + width S / 2) / width / S
//       * (repeat + 1) * 1.570796326794895
// (real arithmetic, halves exact), each channel is
// clamp(trunc(a |sin f| + b |cos f|), 0, 255) with a, b the channels of
// colourA and colourB. Sizes within the limits.
Image stripePattern(int width, int height, Colour a, Colour b, int repeat, int angle);

// Writes the pattern as a new 24-bit file. Returns a texcolex_result code;
// nothing is written unless it is Ok.
int texColExFile(const char* destination, int width, int height, int colourA, int colourB,
                 int repeat, int angle);

}  // namespace tesmor
