// GIF's variable-length-code LZW compression of palette indices.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace imgctl {

// What to compress. Every index is below 2^minCodeSize.
struct LzwImage {
    std::span<const uint8_t> indices;
    int minCodeSize = 8;  // 2..8
    // Optional, one flag per pixel: a pixel whose flag is set may be written
    // as `transparent` instead of its index (both show the same picture).
    // The encoder picks, pixel by pixel, whichever lets the current string
    // grow longest.
    std::span<const uint8_t> mayBeTransparent;
    int transparent = -1;
    // When the table of strings is full, it is cleared, as giflib does
    // (false); or (true) it may be kept, without new strings, for as long
    // as it spends fewer bits per pixel than a new one would, which the
    // encoder finds out by writing the stretch that follows both ways.
    bool keepTablesThatPay = false;
};

// The smallest code size (2..8) for indices below `entries`.
int lzwCodeSizeFor(int entries);

// Appends the image data of a GIF image block: the code size byte, the
// codes in sub-blocks of at most 255 bytes, and the empty block that ends
// them.
void appendLzwImageData(const LzwImage& image, std::vector<uint8_t>& out);

}  // namespace imgctl
