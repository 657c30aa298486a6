// Bilinear enlargement (point sampling when shrinking) of 24-bit images.
#pragma once

#include "pixel_image.h"

namespace tesmor {

namespace zoom_result {
enum : int {
    Ok = 1,
    CannotOpen = -1,
    ShortHeader = -2,
    NotBm = -3,
    Compressed = -4,
    Not24Bit = -5,
    CannotWrite = -6,
    BadWidth = -7,
    BadHeight = -8,
    OutOfMemory = -9,
    Damaged = -13,
};
}

// With SX = max(1, floor(10 * newWidth / W)), capX = floor(newWidth / W),
// for output column x: sx = floor(x * (W - 1) / newWidth) and
// fx = x - floor(sx * newWidth / (W - 1)) clamped to 0 .. capX; rows alike
// with SY, capY, sy, fy. Each channel is
//   floor(floor((w00*p(sx,sy) + w10*p(sx+1,sy) + w01*p(sx,sy+1)
//                + w11*p(sx+1,sy+1)) / SX) / SY)
// with w00 = (SX - 10fx)(SY - 10fy), w10 = 10fx (SY - 10fy),
// w01 = 10fy (SX - 10fx), w11 = 100 fx fy. When shrinking fx = fy = 0, so
// the result is the source pixel (sx, sy).
// A source one pixel wide (or high) has nothing to interpolate between:
// every output column (row) takes that single column (row), so a 1 x 1
// source gives a uniform image. newWidth and newHeight are at least 1 and
// within the size limits.
Image zoomBilinear(ImageView source, int newWidth, int newHeight);

// The file function. Returns a zoom_result code.
int zoomFile(const char* source, const char* destination, int newWidth, int newHeight);

}  // namespace tesmor
