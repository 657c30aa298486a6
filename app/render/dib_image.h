// Pictures as the libraries see them: bottom-up rows of 24-bit blue, green,
// red pixels padded to 4 bytes.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

#include "library_binding.h"

namespace vakuro {

// Bytes of one padded 24-bit row.
inline int dibStride(int width) { return 4 * ((3 * width + 3) / 4); }

// ReadPictureBits: the picture as a bottom-up 24-bit pixel array.
std::vector<uint8_t> ReadPictureBits(const QImage& picture);

// The picture held by a bottom-up 24-bit pixel array.
QImage imageFromDib(const uint8_t* bits, int width, int height);

// PastePicture: pastes source onto destination with its top-left corner at
// (x, y), scaled to width x height (0 stands for the source's size),
// replacing only destination pixels that still have the destination's key
// colour (its bottom-left pixel).
void PastePicture(const Libraries& libraries, QImage& destination, const QImage& source, int x, int y, int width,
                  int height, int spare);

// A picture kept in the libraries' own layout, so that effects that paste
// many times per frame convert it once instead of at every paste.
struct DibPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;  // bottom-up rows of dibStride(width) bytes

    static DibPicture of(const QImage& picture);
    QImage toImage() const { return imageFromDib(bits.data(), width, height); }
    bool isNull() const { return width < 1 || height < 1; }
    // Every pixel in one colour (0x00BBGGRR).
    void fill(int colour);
};

// PastePicture on pictures in the libraries' layout: the same keyed paste.
void PastePicture(const Libraries& libraries, DibPicture& destination, const DibPicture& source, int x, int y,
                  int width, int height, int spare);

}  // namespace vakuro
