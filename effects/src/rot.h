// Quarter turns: of an 8- or 24-bit bitmap file (Rot) and of a one-byte
// per pixel array in the caller's memory (RotM).
#pragma once

#include <cstdint>

#include "file_op.h"

namespace tesmor {

namespace rotm_result {
enum : int {
    Ok = 1,
    Unchanged = 0,  // mode 0
    BadWidth = -1,
    BadHeight = -2,
    OutOfMemory = -3,
    NullPointer = -5,
};
}

enum class QuarterTurn { Clockwise, CounterClockwise };

// The image turned by a quarter: the result is H wide and W high. Source
// pixel (x, y) (y from the bottom) goes to (y, W - 1 - x) clockwise and to
// (H - 1 - y, x) counter-clockwise. Works on 1 or 3 bytes per pixel.
Image rotateQuarter(ImageView source, QuarterTurn turn);

// The file function. mode 0 copies, 1 turns clockwise, 2 counter-clockwise;
// an 8-bit file keeps its colour table. Returns a file_result code.
int rotFile(const char* source, const char* destination, int mode);

// Bytes of a width x height one-byte-per-pixel array (rows padded to 4).
int64_t bytes8(int width, int height);

// Turns a one-byte-per-pixel array in place and swaps *width and *height.
// mode 0 does nothing and returns Unchanged; 1 turns clockwise, any other
// value counter-clockwise. Both sizes 0 is an empty image (returns Ok).
// pixels must hold max(bytes8(w, h), bytes8(h, w)) bytes; sides above
// kMaxSide are refused. Returns an rotm_result code.
int rotateInPlace(uint8_t* pixels, int16_t* width, int16_t* height, int mode);

}  // namespace tesmor
