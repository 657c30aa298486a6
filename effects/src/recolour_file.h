// The file convention shared by Fead, Light and SideDsp: a 24-bit source
// is read, its pixels changed, and the result written at the same size.
#pragma once

#include "file_op.h"

namespace tesmor {

// Reads source, lets change(Image&) alter the pixels in place and writes
// the result to destination. Returns a file_result code.
template <class Change>
int recolourFile(const char* source, const char* destination, Change&& change) {
    bmp::BmpImage file;
    Image image;
    const int read = readImage24(source, file, image, kFileCodes);
    if (read != kSuccess) return read;
    change(image);
    if (!writeResult(destination, file, image, false)) return file_result::CannotWrite;
    return file_result::Ok;
}

}  // namespace tesmor
