// Reading uncompressed 24- and 8-bit BMP files into bitmaps: the shared BMP
// reader (common/bmp_file.h) with this component's limits and result codes,
// and the conversion of its rows into a bitmap.
#pragma once

#include <cstdint>
#include <span>

#include "bitmap.h"

namespace imgctl {

enum class BmpStatus {
    Ok,
    CannotOpen,    // missing, unreadable or not a regular file
    TooLarge,      // the file is larger than any picture this reader accepts
    Truncated,     // shorter than the headers, colour table or pixel rows it declares
    NotBmp,        // no "BM" signature
    Unsupported,   // info header, planes, bit count or compression not handled
    BadGeometry,   // width or height zero, negative where not allowed, or too large
    BadOffset,     // pixel data offset overlapping the headers or colour table, or 1 MiB past them
    BadIndex,      // an 8-bit pixel refers past the end of the colour table
    OutOfMemory,
};

// Largest file the reader opens (a 2^26-pixel 24-bit picture fits easily).
inline constexpr int64_t kMaxBmpFileBytes = int64_t{512} << 20;

// Decodes a BMP held in memory. Every field is checked against bytes.size()
// before it is used. A file of fewer than 54 bytes is Truncated.
BmpStatus decodeBmp(std::span<const uint8_t> bytes, Bitmap& out);

// Reads and decodes the file at path.
BmpStatus readBmpFile(const char* path, Bitmap& out);

}  // namespace imgctl
