// The file convention shared by Fead, Light and SideDsp: a 24-bit source
// is read, its pixels changed, and the result written at the same size.
#pragma once

#include "file_op.h"

namespace tesmor {

namespace recolour_result {
enum : int {
    Ok = 1,
    CannotOpen = -1,
    ShortHeader = -2,
    NotBm = -3,
    Compressed = -4,
    Not24Bit = -5,
    OutOfMemory = -6,
    CannotWrite = -10,
    BadEdgeWidth = -11,  // SideDsp only
    Damaged = -13,
};
}

inline constexpr SourceCodes kRecolourCodes{
    recolour_result::CannotOpen, recolour_result::ShortHeader, recolour_result::NotBm,
    recolour_result::NotBm,      recolour_result::Compressed,  recolour_result::Not24Bit,
    recolour_result::Damaged,    recolour_result::OutOfMemory};

// Reads source, lets change(Image&) alter the pixels in place and writes
// the result to destination. Returns a recolour_result code.
template <class Change>
int recolourFile(const char* source, const char* destination, Change&& change) {
    bmp::BmpImage file;
    Image image;
    const int read = readImage24(source, file, image, kRecolourCodes);
    if (read != kSuccess) return read;
    change(image);
    if (!writeResult(destination, file, image, false)) return recolour_result::CannotWrite;
    return recolour_result::Ok;
}

}  // namespace tesmor
