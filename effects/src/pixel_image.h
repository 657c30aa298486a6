// Pixel arrays in the bitmap layout: bottom-up rows padded to 4 bytes,
// 3 bytes per pixel (blue, green, red) or 1 byte per pixel (palette index).
// Row y counts from the bottom, as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bmp_file.h"

namespace tesmor {

struct ImageView {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;

    int stride() const { return bmp::rowStride(8 * bytesPerPixel, width); }
    const uint8_t* row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride(); }
    const uint8_t* pixel(int x, int y) const { return row(y) + x * bytesPerPixel; }
};

struct Image {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;
    std::vector<uint8_t> data;  // height * stride bytes, padding zero

    Image() = default;
    // Allocates a zeroed image; the caller has checked fitsLimits.
    Image(int w, int h, int bpp = 3)
        : width(w), height(h), bytesPerPixel(bpp),
          data(static_cast<size_t>(h) * static_cast<size_t>(bmp::rowStride(8 * bpp, w)), 0) {}

    int stride() const { return bmp::rowStride(8 * bytesPerPixel, width); }
    uint8_t* row(int y) { return data.data() + static_cast<ptrdiff_t>(y) * stride(); }
    uint8_t* pixel(int x, int y) { return row(y) + x * bytesPerPixel; }
    ImageView view() const { return {data.data(), width, height, bytesPerPixel}; }
};

// The pixels of a successfully read file.
inline ImageView viewOf(const bmp::BmpImage& image) {
    return {image.pixels.data(), image.width(), image.height(), image.header.bitCount() / 8};
}

}  // namespace tesmor
