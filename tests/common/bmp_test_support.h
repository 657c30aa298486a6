// Helpers shared by the tests of the BMP module and of the libraries that
// read and write BMP files: temporary folders, raw file bytes, little-endian
// fields, and BMP files built byte by byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace bmp::test {

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

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);

// Little-endian field access on raw file bytes.
void put32(std::vector<uint8_t>& bytes, size_t at, int32_t value);
void put16(std::vector<uint8_t>& bytes, size_t at, int value);
int32_t get32(const std::vector<uint8_t>& bytes, size_t at);
// Copies of a file's bytes with one field changed, or cut to a size: the
// damaged files of the result-code tables.
std::vector<uint8_t> with32(std::vector<uint8_t> bytes, size_t at, int32_t value);
std::vector<uint8_t> with16(std::vector<uint8_t> bytes, size_t at, int value);
std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t size);

// The bytes of a bottom-up file of the given padded pixel rows: 24-bit, or
// 8-bit with a recognisable 256-entry colour table (entry i is blue i,
// green 255 - i, red 7i).
std::vector<uint8_t> bmpBytes(int width, int height, int bitsPerPixel, std::span<const uint8_t> pixels);

}  // namespace bmp::test
