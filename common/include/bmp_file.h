// Reading and writing the bitmap file convention shared by the engine, the
// effects library, the image-format component and the program: a 54-byte
// header, 24 (or 8) bits per pixel, rows padded to 4 bytes (bottom row
// first), pixels in blue, green, red order.
//
// This is the one BMP reader and writer of the system. The reader never
// trusts a header field before checking it against the real file length and
// the limits below; the writer never leaves a partial file behind. Each
// caller says what it accepts beyond the fixed checks (bit counts, top-down
// rows, size limits) with ReadRules, and maps BmpReadStatus onto its own
// result codes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace bmp {

inline constexpr int kBmpHeaderSize = 54;

// Largest width or height the system reads, creates or resizes to.
inline constexpr int kMaxSide = 30000;
// Largest pixel array (rows including padding) the system reads or creates.
inline constexpr int64_t kMaxPixelBytes = int64_t{1} << 30;
// Largest gap between the 54-byte header and the pixel data (extended info
// header and colour table; a 256-colour table is 1024 bytes).
inline constexpr int64_t kMaxBetweenBytes = int64_t{1} << 20;

// Bytes of one padded pixel row. Callers keep width within kMaxSide.
constexpr int rowStride(int bitsPerPixel, int width) {
    return 4 * ((bitsPerPixel / 8 * width + 3) / 4);
}

// True when a width x height image of bitsPerPixel (8 or 24) has both sides
// in 1 .. kMaxSide and a pixel array of at most kMaxPixelBytes.
bool fitsLimits(int64_t width, int64_t height, int bitsPerPixel);

// The 54-byte file and info header, kept as bytes so that fields the
// library does not interpret are written back unchanged. All fields are
// little-endian.
struct BmpHeader {
    std::array<uint8_t, kBmpHeaderSize> bytes{};

    int32_t fileSize() const;      // offset 2
    int32_t dataOffset() const;    // offset 10
    int32_t infoSize() const;      // offset 14
    int32_t width() const;         // offset 18
    int32_t height() const;        // offset 22, positive: bottom-up rows
    int planes() const;            // offset 26
    int bitCount() const;          // offset 28
    int32_t compression() const;   // offset 30
    int32_t imageSize() const;     // offset 34
    int32_t coloursUsed() const;   // offset 46

    void setFileSize(int32_t v);
    void setDataOffset(int32_t v);
    void setInfoSize(int32_t v);
    void setWidth(int32_t v);
    void setHeight(int32_t v);
    void setImageSize(int32_t v);
    void setColoursUsed(int32_t v);       // offset 46
    void setColoursImportant(int32_t v);  // offset 50
};

// The header the system writes for a fresh 24-bit image of width x height:
// "BM", file size, data offset 54, info size 40, 1 plane, 24 bits, rest 0.
BmpHeader makeHeader24(int width, int height);

// The header of a new image derived from a source image's header: the
// source's bytes (resolutions and other uninterpreted fields unchanged) with
// the new width and height, the data offset 54 + betweenBytes and the file
// size of what is actually written. When betweenBytes is 0 the extended
// info header and colour table of the source are not written, so the info
// size becomes 40 and the colour counts 0. A non-zero image size field is
// set to the new pixel data size.
BmpHeader deriveHeader(const BmpHeader& source, int width, int height,
                       int64_t betweenBytes);

// Why a file could not be read. Each library maps these onto its own
// result codes.
enum class BmpReadStatus {
    Ok,
    CannotOpen,      // missing, unreadable or not a regular file (or null path)
    TooLarge,        // longer than ReadRules::maxFileBytes
    ShortHeader,     // fewer than 54 bytes
    NotB,            // first signature byte is not 'B'
    NotM,            // second signature byte is not 'M'
    Compressed,      // compression field is not 0
    BadBitCount,     // not one of the accepted bit counts
    BadInfoHeader,   // an info header size of no known variant, or planes other than 1
    BadGeometry,     // width or height outside the limits (or top-down where not accepted)
    BadColourTable,  // an 8-bit colour table of more than 256 entries
    BadOffset,       // pixel data offset inside the headers or colour table, or too far past them
    Truncated,       // the file ends before the headers, colour table or pixel rows it declares
    OutOfMemory,
};

// What a reader accepts beyond the fixed checks of the convention. The
// defaults are the convention itself: 24-bit, bottom-up, kMaxSide.
struct ReadRules {
    std::span<const int> acceptedBits = {};  // 8 and/or 24; empty: 24 only
    bool topDownAccepted = false;            // a negative height: rows stored top row first
    int maxSide = kMaxSide;                  // largest width or height
    int64_t maxPixels = 0;                   // largest width * height; 0: kMaxPixelBytes alone limits
    int64_t maxFileBytes = 0;                // longest file read; 0: no limit
};

// Where the parts of a checked file lie.
struct BmpLayout {
    int64_t betweenBytes = 0;       // dataOffset - 54
    int64_t pixelBytes = 0;         // rows * stride
    int64_t missingPadding = 0;     // bytes at the end of the last row that the file lacks
    int64_t colourTableOffset = 0;  // from the start of the file: 14 + info size
    int colourTableEntries = 0;     // 8-bit: entries of 4 bytes; 24-bit: 0
};

// Checks a header against the real file length. The checks run in this
// order, so each library reports the first failure its own table knows:
//  - signature ('B', then 'M'), compression, bit count (rules.acceptedBits);
//  - info header: size 40, 52, 56, 108 or 124 (the variants that share the
//    40-byte layout's first fields), 1 plane; the headers end within the file;
//  - width in 1 .. rules.maxSide, height too (a negative, top-down height
//    only with rules.topDownAccepted), at most rules.maxPixels pixels and
//    kMaxPixelBytes of pixel rows;
//  - 8 bits: the colour table (colours used, 256 when 0) has at most 256
//    entries and ends within the file;
//  - the data offset (read unsigned) lies at or after the end of the
//    colour table, within the file, and at most kMaxBetweenBytes after the
//    54-byte header;
//  - the file holds rows * stride bytes after the data offset. Only the
//    padding of the last row may be missing (some writers leave it out);
//    those bytes read as zero. A file that lacks any real pixel byte is
//    refused as Truncated rather than shown with invented pixels.
// The file size field is not used: the real length is what counts, so a
// field that overstates or understates it does no harm.
BmpReadStatus checkBmpHeader(const BmpHeader& header, int64_t fileLength,
                             const ReadRules& rules, BmpLayout& layout);

struct BmpImage {
    BmpHeader header;
    std::vector<uint8_t> between;  // bytes between offset 54 and the pixel data (colour table)
    std::vector<uint8_t> pixels;   // the rows of rowStride(bitCount, width) bytes, as stored
    int width() const { return header.width(); }
    // The number of rows, also of a top-down file.
    int height() const { return topDown() ? -header.height() : header.height(); }
    // True when the rows are stored top row first (a negative height).
    bool topDown() const { return header.height() < 0; }
    int stride() const { return rowStride(header.bitCount(), header.width()); }
    // The colour table of an 8-bit image: entries of blue, green, red and
    // one unused byte. Empty for a 24-bit image.
    std::span<const uint8_t> colourTable() const;
};

// Reads a whole bitmap file. See checkBmpHeader for everything that is
// checked. A file longer than rules.maxFileBytes (when set) is TooLarge
// and a file shorter than 54 bytes is ShortHeader before its signature is
// looked at. On success image.pixels holds exactly rows * stride bytes; on
// failure image is left in an unspecified but valid state.
BmpReadStatus readBmp(const char* path, BmpImage& image, const ReadRules& rules = {});

// The same for a file already in memory.
BmpReadStatus decodeBmp(std::span<const uint8_t> bytes, BmpImage& image,
                        const ReadRules& rules = {});

// Writes header, between-bytes and pixels to path through a temporary file
// in the same folder that is renamed over the target, so an interrupted
// write never leaves a partial file. The header is written as given.
// Returns false when nothing was written.
bool writeBmp(const char* path, const BmpHeader& header,
              std::span<const uint8_t> between, std::span<const uint8_t> pixels);

// Writes head followed by body to path atomically: a temporary file in the
// same folder is written and renamed over the target (an existing target
// keeps its permission bits). A crash, kill or full disk in the middle
// leaves either the old or the new file, never a partial one. The data is
// not forced to disk (that costs milliseconds per file on the interactive
// preview path); durability across a power cut is left to the file system.
// path may name the file the caller has just read. Returns false, and
// leaves no file behind, on any failure (null or empty path, missing
// folder, no permission, full disk).
bool writeFileAtomically(const char* path, std::span<const uint8_t> head,
                         std::span<const uint8_t> body);

}  // namespace bmp
