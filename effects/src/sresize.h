// Supersampling resize of 24-bit images, optionally mirrored left to right.
#pragma once

#include "sample_grid.h"

namespace tesmor {

// The grid size n for a samples argument: 4 when samples <= 0, at most 15.
int sReSizeGrid(int samples);

// Output pixel (x, y) averages the n x n source pixels at rows
// floor((y*n + k) * H / (n * newHeight)) and columns
// floor((x'*n + l) * W / (n * |newWidth|)), x' = x, or |newWidth| - 1 - x
// when newWidth is negative. With n = 3 near-white pixels (all averages
// above 245) become 245 grey. |newWidth| and newHeight are at least 1 and
// within the size limits; n is 1 .. 15.
Image superSample(ImageView source, int newWidth, int newHeight, int n);

// The file function. Returns a supersample_result code.
int sReSizeFile(const char* source, const char* destination, int newWidth, int newHeight,
                int samples);

}  // namespace tesmor
