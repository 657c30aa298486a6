#pragma once

#include <cstdint>
#include <vector>

namespace pavrex {

// Grows every set byte of a width x height mask into the square of offsets
// -s ... s - 1 in both directions (clipped at the edges): out(x, y) is set
// when a source byte lies in columns x - s + 1 ... x + s and rows
// y - s + 1 ... y + s. Linear in the area, whatever s is.
std::vector<uint8_t> boxDilate(const std::vector<uint8_t>& mask, int width, int height, int s);

}  // namespace pavrex
