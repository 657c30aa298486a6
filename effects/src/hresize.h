// Nearest-neighbour resizing of 8- and 24-bit images.
#pragma once

#include "pixel_image.h"

namespace tesmor {

namespace hresize_result {
enum : int {
    Ok = 1,
    BadWidth = -1,
    BadHeight = -2,
    CannotOpen = -3,  // also a file shorter than 54 bytes
    CannotWrite = -4,
    NotBm = -5,
    Compressed = -6,
    BadBitCount = -7,
    OutOfMemory = -8,
    Damaged = -13,
};
}

// Output pixel (x, y) is source pixel (floor(x * W / newWidth),
// floor(y * H / newHeight)). Works on 1 or 3 bytes per pixel. newWidth and
// newHeight are at least 1 and within the size limits.
Image resizeNearest(ImageView source, int newWidth, int newHeight);

// The file function: reads an 8- or 24-bit file, resizes it and writes it
// (with the colour table of an 8-bit file). Returns an hresize_result code.
int hReSizeFile(const char* source, const char* destination, int newWidth, int newHeight);

}  // namespace tesmor
