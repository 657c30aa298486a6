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
    int badGeometry;
    int outOfMemory;
};

// kSuccess for BmpReadStatus::Ok, else the matching code.
int sourceCode(BmpReadStatus status, const SourceCodes& codes);

// Writes result to path with the source's header (deriveHeader). With
// keepBetween the source's colour table (the bytes between the header and
// the pixel data) is written too; otherwise it is dropped.
bool writeResult(const char* path, const BmpImage& source, const Image& result, bool keepBetween);

// The size of a result: both requested sides 0 means half the source's size
// (integer division), otherwise the requested size.
struct TargetSize {
    int width;
    int height;
};
TargetSize resolveHalfSize(int newWidth, int newHeight, int sourceWidth, int sourceHeight);

}  // namespace tesmor
