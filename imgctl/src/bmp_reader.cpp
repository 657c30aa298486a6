#include "bmp_reader.h"

#include <new>

#include "bmp_file.h"

namespace imgctl {
namespace {

// The shared reader with this component's limits: 8 and 24 bits, rows in
// either order, sides up to 32767 and at most 2^26 pixels.
constexpr int kAcceptedBits[] = {8, 24};
constexpr bmp::ReadRules kRules{kAcceptedBits, true, kMaxSide, kMaxPixels, kMaxBmpFileBytes};

BmpStatus statusOf(bmp::BmpReadStatus status) {
    using bmp::BmpReadStatus;
    switch (status) {
        case BmpReadStatus::Ok: return BmpStatus::Ok;
        case BmpReadStatus::CannotOpen: return BmpStatus::CannotOpen;
        case BmpReadStatus::TooLarge: return BmpStatus::TooLarge;
        case BmpReadStatus::ShortHeader: return BmpStatus::Truncated;
        case BmpReadStatus::NotB:
        case BmpReadStatus::NotM: return BmpStatus::NotBmp;
        case BmpReadStatus::Compressed:
        case BmpReadStatus::BadBitCount:
        case BmpReadStatus::BadInfoHeader:
        case BmpReadStatus::BadColourTable: return BmpStatus::Unsupported;
        case BmpReadStatus::BadGeometry: return BmpStatus::BadGeometry;
        case BmpReadStatus::BadOffset: return BmpStatus::BadOffset;
        case BmpReadStatus::Truncated: return BmpStatus::Truncated;
        case BmpReadStatus::OutOfMemory: return BmpStatus::OutOfMemory;
    }
    return BmpStatus::Unsupported;
}

// The picture of a read file as a bitmap: rows top-down, 24-bit pixels as
// r, g, b, 255, or palette indices checked against the colour table.
BmpStatus toBitmap(const bmp::BmpImage& image, Bitmap& out) {
    const int width = image.width();
    const int height = image.height();
    const size_t w = size_t(width);
    const size_t stride = size_t(image.stride());
    const auto fileRow = [&](int y) {
        const int stored = image.topDown() ? y : height - 1 - y;
        return image.pixels.data() + size_t(stored) * stride;
    };
    Bitmap b;
    try {
        if (image.header.bitCount() == 24) {
            b = makeRgbBitmap(width, height);
            for (int y = 0; y < height; ++y) {
                const uint8_t* src = fileRow(y);
                uint8_t* dst = b.rgba.data() + size_t(y) * w * 4;
                for (size_t x = 0; x < w; ++x) {
                    dst[x * 4 + 0] = src[x * 3 + 2];
                    dst[x * 4 + 1] = src[x * 3 + 1];
                    dst[x * 4 + 2] = src[x * 3 + 0];
                }
            }
        } else {
            const std::span<const uint8_t> table = image.colourTable();
            b.width = width;
            b.height = height;
            b.indexed = true;
            b.palette.resize(table.size() / 4);
            for (size_t i = 0; i < b.palette.size(); ++i) {
                b.palette[i] = {table[i * 4 + 2], table[i * 4 + 1], table[i * 4]};
            }
            b.indices.resize(w * size_t(height));
            for (int y = 0; y < height; ++y) {
                const uint8_t* src = fileRow(y);
                uint8_t* dst = b.indices.data() + size_t(y) * w;
                for (size_t x = 0; x < w; ++x) {
                    if (src[x] >= b.palette.size()) return BmpStatus::BadIndex;
                    dst[x] = src[x];
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return BmpStatus::OutOfMemory;
    }
    out = std::move(b);
    return BmpStatus::Ok;
}

}  // namespace

BmpStatus decodeBmp(std::span<const uint8_t> bytes, Bitmap& out) {
    bmp::BmpImage image;
    const bmp::BmpReadStatus status = bmp::decodeBmp(bytes, image, kRules);
    if (status != bmp::BmpReadStatus::Ok) return statusOf(status);
    return toBitmap(image, out);
}

BmpStatus readBmpFile(const char* path, Bitmap& out) {
    bmp::BmpImage image;
    const bmp::BmpReadStatus status = bmp::readBmp(path, image, kRules);
    if (status != bmp::BmpReadStatus::Ok) return statusOf(status);
    return toBitmap(image, out);
}

}  // namespace imgctl
