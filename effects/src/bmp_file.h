// Reading and writing the bitmap file convention shared by the engine, the
// effects library and the program: a 54-byte header, 24 (or 8) bits per
// pixel, bottom-up rows padded to 4 bytes, pixels in blue, green, red order.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tesmor {

inline constexpr int kBmpHeaderSize = 54;

// Bytes of one padded pixel row.
constexpr int rowStride(int bitsPerPixel, int width) {
    return 4 * ((bitsPerPixel / 8 * width + 3) / 4);
}

// The 54-byte file and info header, kept as bytes so that fields the
// library does not interpret are written back unchanged.
struct BmpHeader {
    std::array<uint8_t, kBmpHeaderSize> bytes{};

    int32_t fileSize() const;
    int32_t dataOffset() const;
    int32_t infoSize() const;
    int32_t width() const;
    int32_t height() const;
    int bitCount() const;
    int32_t compression() const;

    void setFileSize(int32_t v);
    void setWidth(int32_t v);
    void setHeight(int32_t v);
};

// The header the system writes for a fresh 24-bit image of width x height:
// "BM", file size, data offset 54, info size 40, 1 plane, 24 bits, rest 0.
BmpHeader makeHeader24(int width, int height);

// Why a file could not be read. Each library maps these onto its own
// result codes.
enum class BmpReadStatus {
    Ok,
    CannotOpen,      // missing or unreadable file
    ShortHeader,     // fewer than 54 bytes
    NotB,            // first signature byte is not 'B'
    NotM,            // second signature byte is not 'M'
    Compressed,      // compression field is not 0
    BadBitCount,     // not one of the accepted bit counts
    BadGeometry,     // width/height/offsets/sizes absurd or inconsistent with the file
    OutOfMemory,
};

struct BmpImage {
    BmpHeader header;
    std::vector<uint8_t> between;  // bytes between offset 54 and the pixel data (colour table)
    std::vector<uint8_t> pixels;   // height rows of rowStride(bitCount, width) bytes, bottom row first
    int width() const { return header.width(); }
    int height() const { return header.height(); }
    int stride() const { return rowStride(header.bitCount(), header.width()); }
};

// Reads a whole bitmap file. Only files whose bit count is in acceptedBits
// (24 by default) are read. Every header field is checked against the real
// file length and sane limits before it is trusted; on success
// image.pixels holds exactly height * stride bytes (a file that holds less
// pixel data than that is padded with zero bytes only where the header's
// own sizes say the data is shorter; see the implementation note).
BmpReadStatus readBmp(const char* path, BmpImage& image,
                      std::span<const int> acceptedBits = std::span<const int>());

// Writes header, between-bytes and pixels to path through a temporary file
// in the same folder that is renamed over the target, so an interrupted
// write never leaves a partial file. Returns false when nothing was written.
bool writeBmp(const char* path, const BmpHeader& header,
              std::span<const uint8_t> between, std::span<const uint8_t> pixels);

// Writes bytes to path atomically (temporary file in the same folder, then
// rename). Returns false, and leaves no file behind, on any failure.
bool writeFileAtomically(const char* path, std::span<const uint8_t> head,
                         std::span<const uint8_t> body);

}  // namespace tesmor
