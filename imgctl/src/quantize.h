// Reduction of a 24-bit bitmap to an 8-bit palette bitmap.
#pragma once

#include <cstdint>

#include "bitmap.h"

namespace imgctl {

enum class Dither { Auto, Never, Always };

enum class QuantStatus { Ok, OutOfMemory, Failed };

// Reduces src (24-bit) to at most maxColors (2..256) colours. A picture with
// no more distinct colours than maxColors is converted exactly. Otherwise
// libimagequant builds the palette at its best-quality setting and remaps the
// picture; with Dither::Auto it remaps both with and without dithering and
// keeps the result whose summed squared colour error is smaller.
QuantStatus quantize(const Bitmap& src, int maxColors, Dither dither, Bitmap& out);

// Sum over all pixels and channels of the squared difference between a
// 24-bit picture and what an 8-bit picture of the same size shows.
uint64_t squaredError(const Bitmap& rgb, const Bitmap& indexed);

}  // namespace imgctl
