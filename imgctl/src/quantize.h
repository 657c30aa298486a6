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
// no more distinct colours than maxColors is converted exactly. Otherwise
// libimagequant builds the palette at its best-quality setting; with
// Dither::Nearest the palette is then polished by k-means over the picture's
// colours and every pixel takes its nearest entry.
QuantStatus quantize(const Bitmap& src, int maxColors, Dither dither, Bitmap& out);

// Sum over all pixels and channels of the squared difference between a
// 24-bit picture and what an 8-bit picture of the same size shows.
uint64_t squaredError(const Bitmap& rgb, const Bitmap& indexed);

}  // namespace imgctl
