#include "hresize.h"

#include <array>
#include <cstring>

#include "file_op.h"

namespace tesmor {

Image resizeNearest(ImageView source, int newWidth, int newHeight) {
    const int bpp = source.bytesPerPixel;
    Image out(newWidth, newHeight, bpp);
    std::vector<int> columnOffset(static_cast<size_t>(newWidth));
    for (int x = 0; x < newWidth; ++x) {
        columnOffset[static_cast<size_t>(x)] =
            static_cast<int>(int64_t{x} * source.width / newWidth) * bpp;
    }
    for (int y = 0; y < newHeight; ++y) {
        const uint8_t* in = source.row(static_cast<int>(int64_t{y} * source.height / newHeight));
        uint8_t* o = out.row(y);
        for (int x = 0; x < newWidth; ++x) {
            std::memcpy(o + x * bpp, in + columnOffset[static_cast<size_t>(x)], static_cast<size_t>(bpp));
        }
    }
    return out;
}

int hReSizeFile(const char* source, const char* destination, int newWidth, int newHeight) {
    using namespace hresize_result;
    if (newWidth != 0 || newHeight != 0) {
        if (newWidth < 1) return BadWidth;
        if (newHeight < 1) return BadHeight;
    }
    static constexpr std::array<int, 2> kBits{8, 24};
    static constexpr SourceCodes kCodes{CannotOpen, CannotOpen, NotBm,       NotBm,
                                        Compressed, BadBitCount, Damaged,    OutOfMemory};
    bmp::BmpImage image;
    const int read = sourceCode(bmp::readBmp(source, image, {kBits}), kCodes);
    if (read != kSuccess) return read;

    // Halving a source one pixel wide or high would give an empty image.
    const TargetSize size = resolveHalfSize(newWidth, newHeight, image.width(), image.height());
    if (size.width < 1) return BadWidth;
    if (size.height < 1) return BadHeight;
    const int bits = image.header.bitCount();
    if (!bmp::fitsLimits(size.width, size.height, bits)) return OutOfMemory;

    const Image result = resizeNearest(viewOf(image), size.width, size.height);
    if (!writeResult(destination, image, result, bits == 8)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
