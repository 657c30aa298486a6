#include "rot.h"

#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "file_op.h"

namespace tesmor {
namespace {

// Copies a quarter turn of source into out (H wide, W high, same bytes per
// pixel). Output row y' holds source column W - 1 - y' (clockwise) or
// column y' (counter-clockwise), read upwards (clockwise) or downwards.
template <int Bpp>
void turn(ImageView source, QuarterTurn direction, uint8_t* out, int outStride) {
    const int w = source.width, h = source.height;
    const int inStride = source.stride();
    for (int yo = 0; yo < w; ++yo) {
        uint8_t* o = out + static_cast<ptrdiff_t>(yo) * outStride;
        // Clockwise: output (xo, yo) is source (W - 1 - yo, xo).
        // Counter-clockwise: output (xo, yo) is source (yo, H - 1 - xo).
        if (direction == QuarterTurn::Clockwise) {
            const uint8_t* in = source.data + static_cast<ptrdiff_t>(w - 1 - yo) * Bpp;
            for (int xo = 0; xo < h; ++xo, o += Bpp, in += inStride) std::memcpy(o, in, Bpp);
        } else {
            const uint8_t* in = source.data + static_cast<ptrdiff_t>(h - 1) * inStride +
                                static_cast<ptrdiff_t>(yo) * Bpp;
            for (int xo = 0; xo < h; ++xo, o += Bpp, in -= inStride) std::memcpy(o, in, Bpp);
        }
    }
}

void turnInto(ImageView source, QuarterTurn direction, uint8_t* out) {
    const int outStride = bmp::rowStride(8 * source.bytesPerPixel, source.height);
    if (source.bytesPerPixel == 1) {
        turn<1>(source, direction, out, outStride);
    } else {
        turn<3>(source, direction, out, outStride);
    }
}

}  // namespace

Image rotateQuarter(ImageView source, QuarterTurn direction) {
    Image out(source.height, source.width, source.bytesPerPixel);
    turnInto(source, direction, out.data.data());
    return out;
}

int rotFile(const char* source, const char* destination, int mode) {
    using namespace file_result;
    if (mode != 0 && mode != 1 && mode != 2) return BadArgument;
    if (mode == 0 && samePath(source, destination)) return Unchanged;
    static constexpr std::array<int, 2> kBits{8, 24};
    bmp::BmpImage image;
    const int read = sourceCode(bmp::readBmp(source, image, {kBits}), kFileCodes);
    if (read != kSuccess) return read;

    const bool palette = image.header.bitCount() == 8;
    bool written = false;
    if (mode == 0) {
        Image copy;
        copy.width = image.width();
        copy.height = image.height();
        copy.bytesPerPixel = palette ? 1 : 3;
        copy.data = std::move(image.pixels);
        written = writeResult(destination, image, copy, palette);
    } else {
        const Image result = rotateQuarter(
            viewOf(image), mode == 1 ? QuarterTurn::Clockwise : QuarterTurn::CounterClockwise);
        written = writeResult(destination, image, result, palette);
    }
    return written ? Ok : CannotWrite;
}

int64_t bytes8(int width, int height) { return int64_t{height} * bmp::rowStride(8, width); }

int rotateInPlace(uint8_t* pixels, int16_t* width, int16_t* height, int mode) {
    using namespace rotm_result;
    if (mode == 0) return Unchanged;
    if (pixels == nullptr || width == nullptr || height == nullptr) return NullPointer;
    const int w = *width, h = *height;
    if (w == 0 && h == 0) return Ok;  // an empty image: nothing to move
    if (w < 1 || w > bmp::kMaxSide) return BadWidth;
    if (h < 1 || h > bmp::kMaxSide) return BadHeight;

    // The source is copied aside first: the turned rows overwrite it.
    std::vector<uint8_t> copy;
    try {
        copy.assign(pixels, pixels + bytes8(w, h));
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
    const ImageView source{copy.data(), w, h, 1};
    // Padding bytes of the turned rows are written as 0.
    std::memset(pixels, 0, static_cast<size_t>(bytes8(h, w)));
    turnInto(source, mode == 1 ? QuarterTurn::Clockwise : QuarterTurn::CounterClockwise, pixels);
    *width = static_cast<int16_t>(h);
    *height = static_cast<int16_t>(w);
    return Ok;
}

}  // namespace tesmor
