// Helpers shared by the effects tests: tiny images written out as tables,
// their BMP files, golden images; the file helpers of the BMP module's
// tests (tests/common/bmp_test_support.h) are theirs too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "bmp_test_support.h"
#include "pixel_image.h"

namespace tesmor::test {

struct Bgr {
    int b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};
std::ostream& operator<<(std::ostream& os, const Bgr& c);

inline Bgr grey(int v) { return {v, v, v}; }

using bmp::test::cut;
using bmp::test::get32;
using bmp::test::put16;
using bmp::test::put32;
using bmp::test::readBytes;
using bmp::test::TempDir;
using bmp::test::with16;
using bmp::test::with32;
using bmp::test::writeBytes;

// A 24-bit image from pixels listed row by row, bottom row first (the
// stored order; y counts from the bottom everywhere in these tests).
Image image24(int width, int height, std::initializer_list<Bgr> bottomRowFirst);
// A 24-bit image whose channels all hold the listed grey values.
Image greyImage(int width, int height, std::initializer_list<int> bottomRowFirst);
// Pixel (x, y), bottom row first, is blue v, green v + 1, red v + 2, so that a
// mix-up of channels or of byte offsets shows.
Image channelled(int width, int height, std::initializer_list<int> bottomRowFirst);
// An 8-bit (palette index) image from indices, bottom row first.
Image image8(int width, int height, std::initializer_list<int> bottomRowFirst);

Bgr at(const Image& image, int x, int y);
// The grey levels of an image, bottom row first, checking that every pixel
// is grey.
std::vector<int> greyLevels(const Image& image);

// A deterministic test card with gradients, hard edges and a white block.
Image testCard(int width, int height);

// The bytes of a 24-bit (or 8-bit, with a 256-entry colour table) file.
std::vector<uint8_t> bmpBytes(const Image& image);
void writeImage(const std::string& path, const Image& image);
// Reads a 24-bit (or 8-bit) file with the library's reader; fails the
// current test when it cannot be read.
Image readImage(const std::string& path);

// Compares actual with the golden image tests/effects/golden/<name>.bmp.
// With UPDATE_GOLDEN=1 in the environment the golden image is (re)written
// instead. On a difference the actual image and a difference image go to
// the build folder (golden-failures/<name>.actual.bmp and .diff.bmp).
void expectMatchesGolden(const Image& actual, const std::string& name);

}  // namespace tesmor::test
