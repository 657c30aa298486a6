// Reduction of a 24-bit bitmap to an 8-bit palette bitmap.
#pragma once

#include <cstdint>

#include "bitmap.h"

namespace imgctl {

// Nearest: every pixel takes its nearest palette colour (the mapping with
// the smallest squared error). Always: libimagequant's error diffusion.
enum class Dither { Nearest, Always };

enum class QuantStatus { Ok, OutOfMemory, Failed };

// Reduces src (24-bit) to at most maxColors (2..256) colours. A picture with
// no more distinct colours than maxColors is converted exactly. Otherwise,
// with Dither::Nearest, greedy variance-lowering cuts of the picture's
// distinct colours give the palette, k-means over those colours refines it,
// and every pixel takes its nearest entry; with Dither::Always libimagequant
// at its best-quality setting builds the palette and dithers.
QuantStatus quantize(const Bitmap& src, int maxColors, Dither dither, Bitmap& out);

// Sum over all pixels and channels of the squared difference between a
// 24-bit picture and what an 8-bit picture of the same size shows.
uint64_t squaredError(const Bitmap& rgb, const Bitmap& indexed);

}  // namespace imgctl
