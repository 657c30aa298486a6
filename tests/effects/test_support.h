// Helpers shared by the effects tests: temporary folders, tiny images
// written out as tables, BMP files built byte by byte, golden images.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "pixel_image.h"

namespace tesmor::test {

struct Bgr {
    int b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};
std::ostream& operator<<(std::ostream& os, const Bgr& c);

inline Bgr grey(int v) { return {v, v, v}; }

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Path of a file in the folder, as a string for the C functions.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

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
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
void writeImage(const std::string& path, const Image& image);
// Reads a 24-bit (or 8-bit) file with the library's reader; fails the
// current test when it cannot be read.
Image readImage(const std::string& path);

// Little-endian field access on raw file bytes.
void put32(std::vector<uint8_t>& bytes, size_t at, int32_t value);
void put16(std::vector<uint8_t>& bytes, size_t at, int value);
// Copies of a file's bytes with one field changed, or cut to a size: the
// damaged files of the result-code tables.
std::vector<uint8_t> with32(std::vector<uint8_t> bytes, size_t at, int32_t value);
std::vector<uint8_t> with16(std::vector<uint8_t> bytes, size_t at, int value);
std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t size);
int32_t get32(const std::vector<uint8_t>& bytes, size_t at);

// Compares actual with the golden image tests/effects/golden/<name>.bmp.
// With UPDATE_GOLDEN=1 in the environment the golden image is (re)written
// instead. On a difference the actual image and a difference image go to
// the build folder (golden-failures/<name>.actual.bmp and .diff.bmp).
void expectMatchesGolden(const Image& actual, const std::string& name);

}  // namespace tesmor::test
