// Brightness, contrast and sharpening of a 24-bit image, byte by byte.
#pragma once

#include "pixel_image.h"

namespace tesmor {

namespace effect_result {
enum : int {
    Ok = 1,
    CannotOpen = -3,  // also a file shorter than 54 bytes
    CannotWrite = -4,
    NotBm = -5,
    Compressed = -6,
    Not24Bit = -7,
    OutOfMemory = -8,
    Damaged = -13,
};
}

// Works on the whole padded rows, every byte on its own. Rows 0 and H - 1,
// the first 3 and last 3 bytes of each row, and all bytes when sharpen is
// 0, are only mapped. Any other byte t is first sharpened with its 8
// neighbours of the same channel (3 bytes left and right, in the rows
// above and below, and the four diagonal ones), read from the source:
// with A the number of neighbours greater than t, S = 3 (left + right +
// above + below) + 2 (the four diagonals) and s = sharpen,
//   A = 0 or 8:    t stays
//   A = 1 or 7:    t = (t (5s + 256) - S s / 4) >> 8
//   A = 2 or 6:    t = (t (10s + 256) - s S / 2) >> 8
//   A = 3, 4 or 5: t = (t (20s + 256) - s S) >> 8
// (divisions truncate toward zero, shifts are arithmetic). Every byte is
// then mapped to clamp(((contrast + 256) (t - 128) >> 8) + brightness
// + 128, 0, 255). The three arguments are 16-bit signed values.
Image adjustBytes(ImageView source, int brightness, int contrast, int sharpen);

// The file function: the result keeps the source's bytes between the
// header and the pixel data. Returns an effect_result code.
int effectFile(const char* source, const char* destination, int brightness, int contrast,
               int sharpen);

}  // namespace tesmor
