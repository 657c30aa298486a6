// PNG encoding of 32-bit RGBA pictures into memory with libpng.
#pragma once

#include <cstdint>
#include <vector>

#include "gif_writer.h"  // EncodeStatus

namespace imgctl {

// A picture in the caller's memory: rows top first, four bytes per pixel
// (red, green, blue, straight alpha).
struct RgbaView {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int strideBytes = 0;

    const uint8_t* row(int y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(strideBytes); }
};

// Encodes the picture as an 8-bit-per-channel RGBA PNG (colour type 6, no
// interlacing, no ancillary chunks). Pixels of alpha 0 are written as
// 0, 0, 0, 0: their colour cannot be seen and zeros pack better. The
// smallest of a few filter and compression-strategy choices is kept, all at
// zlib's best level.
EncodeStatus encodePng(const RgbaView& picture, std::vector<uint8_t>& out);

}  // namespace imgctl
