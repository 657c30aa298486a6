// Turning a 24-bit image by any angle, the uncovered corners filled with
// the colour of its bottom-left pixel.
#pragma once

#include "file_op.h"

namespace tesmor {

struct RotatedSize {
    int width;
    int height;
};

// The size of a W x H image turned by angle (radians, clockwise on
// screen): the four corners (0, 0), (W, 0), (0, H), (W, H) are mapped by
//   X = W/2 + cos a (x - W/2) + sin a (y - H/2)
//   Y = H/2 + cos a (y - H/2) - sin a (x - W/2)
// each truncated toward zero; the size is max X - min X by max Y - min Y,
// at least 1 x 1. Sine and cosine are single precision, the rest double.
// angle must be finite.
RotatedSize rotatedSize(int width, int height, float angle);

// The turned image, rotatedSize(W, H, angle) in size. Output pixel
// (x', y') (y' from the bottom), with dx = x' - W'/2 and dy = y' - H'/2
// (centres truncated), takes source pixel
//   u = trunc(W/2 + dx cos a - dy sin a), v = trunc(H/2 + dy cos a + dx sin a)
// when that lies inside the source, else the source's bottom-left pixel.
// Throws std::length_error when the result exceeds the size limits.
Image rotateByAngle(ImageView source, float angle);

// The file function. outWidth and outHeight (either may be null) receive
// the size of the result. With angle 0 and the source as destination
// nothing is written and Unchanged is returned; the outputs then receive
// the source's size when it is a readable 24-bit file. Returns a
// file_result code.
int rotAngFile(const char* source, const char* destination, int* outWidth, int* outHeight,
               float angle);

}  // namespace tesmor
