// The in-memory picture behind a handle: either 24-bit colour or 8-bit
// palette indices, rows stored top-down without padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace imgctl {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Largest side and largest pixel count a bitmap may have.
inline constexpr int kMaxSide = 32767;
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;

struct Bitmap {
    int width = 0;
    int height = 0;
    bool indexed = false;
    // 24-bit: width * height pixels of 4 bytes r, g, b, 255 (the layout the
    // colour quantiser reads directly).
    std::vector<uint8_t> rgba;
    // 8-bit: width * height palette indices and the palette (1..256 entries).
    std::vector<uint8_t> indices;
    std::vector<Rgb> palette;

    size_t pixelCount() const { return size_t(width) * size_t(height); }

    // Colour of pixel i (row-major, top-down) whatever the depth.
    Rgb colorAt(size_t i) const {
        if (indexed) return palette[indices[i]];
        const uint8_t* p = &rgba[i * 4];
        return {p[0], p[1], p[2]};
    }
};

// A 24-bit bitmap of the given size with every byte of colour zeroed and
// alpha 255.
Bitmap makeRgbBitmap(int width, int height);

// The 24-bit picture an 8-bit bitmap shows (a copy for a 24-bit bitmap).
Bitmap expandToRgb(const Bitmap& bitmap);

}  // namespace imgctl
