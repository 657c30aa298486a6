// The plumbing shared by the file functions: mapping reader failures onto a
// function's result codes and writing a result next to its source's header.
#pragma once

#include "bmp_file.h"
#include "pixel_image.h"

namespace tesmor {

inline constexpr int kSuccess = 1;

// A function's result code for each reader failure.
struct SourceCodes {
    int cannotOpen;
    int shortHeader;
    int notB;
    int notM;
    int compressed;
    int badBitCount;
    int badGeometry;  // every other damaged or absurd file
    int outOfMemory;
};

// The result codes that Rot, RotAng, Fead, Light and SideDsp share.
namespace file_result {
enum : int {
    Ok = 1,
    Unchanged = 0,  // Rot mode 0 or RotAng angle 0 onto the source itself: nothing to do
    CannotOpen = -1,
    ShortHeader = -2,
    NotBm = -3,
    Compressed = -4,
    BadBitCount = -5,  // Rot: neither 8 nor 24 bits; the others: not 24 bits
    OutOfMemory = -6,
    CannotWrite = -10,
    BadArgument = -11,  // Rot: the mode; RotAng: the angle; SideDsp: the edge width
    Damaged = -13,
};
}

inline constexpr SourceCodes kFileCodes{
    file_result::CannotOpen, file_result::ShortHeader, file_result::NotBm,
    file_result::NotBm,      file_result::Compressed,  file_result::BadBitCount,
    file_result::Damaged,    file_result::OutOfMemory};

// kSuccess for BmpReadStatus::Ok, else the matching code.
int sourceCode(bmp::BmpReadStatus status, const SourceCodes& codes);

// Writes result to path with the source's header (deriveHeader). With
// keepBetween the source's colour table (the bytes between the header and
// the pixel data) is written too; otherwise it is dropped.
bool writeResult(const char* path, const bmp::BmpImage& source, const Image& result, bool keepBetween);

// The size of a result: both requested sides 0 means half the source's size
// (integer division), otherwise the requested size.
struct TargetSize {
    int width;
    int height;
};
TargetSize resolveHalfSize(int newWidth, int newHeight, int sourceWidth, int sourceHeight);

// True when both paths are given and name the same string. The whole
// strings are compared: two long paths that share a prefix are different
// files.
bool samePath(const char* a, const char* b);

// A colour argument 0x00BBGGRR as channels in pixel byte order.
struct Colour {
    uint8_t b;
    uint8_t g;
    uint8_t r;
    uint8_t channel(int byteIndex) const { return byteIndex == 0 ? b : byteIndex == 1 ? g : r; }
    bool matches(const uint8_t* pixel) const {
        return pixel[0] == b && pixel[1] == g && pixel[2] == r;
    }
};
constexpr Colour colourOf(int value) {
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

// Reads a 24-bit file for an operation that works in place: on success
// image holds the pixels (moved out of file.pixels) and file keeps the
// header. Returns kSuccess or the matching code.
int readImage24(const char* path, bmp::BmpImage& file, Image& image, const SourceCodes& codes);

}  // namespace tesmor
