#pragma once

#include <cstdint>
#include <vector>

namespace pavrex {

// Grows every set byte of a width x height mask, in place, into the square
// of offsets -s ... s - 1 in both directions (clipped at the edges): a byte
// (x, y) ends set (1) when a set byte lies in columns x - s + 1 ... x + s
// and rows y - s + 1 ... y + s; s <= 0 clears the mask. Linear in the area,
// whatever s is.
void boxDilate(std::vector<uint8_t>& mask, int width, int height, int s);

}  // namespace pavrex
