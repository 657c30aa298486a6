#include "dib_image.h"

#include <algorithm>

namespace vakuro {

std::vector<uint8_t> ReadPictureBits(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const int stride = dibStride(w);
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(h - 1 - y));
        uint8_t* dst = bits.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
            dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
        }
    }
    return bits;
}

QImage imageFromDib(const uint8_t* bits, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const int stride = dibStride(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = bits + static_cast<size_t>(height - 1 - y) * stride;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
    }
    return image;
}

void PastePicture(const Libraries& libraries, QImage& destination, const QImage& source, int x, int y, int width,
                  int height, int spare) {
    if (destination.isNull() || source.isNull()) return;
    if (width == 0) width = source.width();
    if (height == 0) height = source.height();
    std::vector<uint8_t> dst = ReadPictureBits(destination);
    const std::vector<uint8_t> src = ReadPictureBits(source);
    libraries.effects.DIBPast(dst.data(), src.data(), spare, destination.width(), destination.height(), source.width(),
                              source.height(), x, y, width, height, 1);
    destination = imageFromDib(dst.data(), destination.width(), destination.height());
}

DibPicture DibPicture::of(const QImage& picture) {
    DibPicture p;
    if (picture.isNull()) return p;
    p.width = picture.width();
    p.height = picture.height();
    p.bits = ReadPictureBits(picture);
    return p;
}

void DibPicture::fill(int colour) {
    const int stride = dibStride(width);
    bits.assign(static_cast<size_t>(stride) * static_cast<size_t>(std::max(height, 0)), 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bits.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>((colour >> 16) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>(colour & 0xFF);
        }
    }
}

void PastePicture(const Libraries& libraries, DibPicture& destination, const DibPicture& source, int x, int y,
                  int width, int height, int spare) {
    if (destination.isNull() || source.isNull()) return;
    if (width == 0) width = source.width;
    if (height == 0) height = source.height;
    libraries.effects.DIBPast(destination.bits.data(), source.bits.data(), spare, destination.width,
                              destination.height, source.width, source.height, x, y, width, height, 1);
}

}  // namespace vakuro
