#include "bmp_test_support.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bmp::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "bmp-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.at(at + static_cast<size_t>(i)) = static_cast<uint8_t>(v >> (8 * i));
}

void put16(std::vector<uint8_t>& bytes, size_t at, int value) {
    bytes.at(at) = static_cast<uint8_t>(value);
    bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

int32_t get32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{bytes.at(at + static_cast<size_t>(i))} << (8 * i);
    return static_cast<int32_t>(v);
}

std::vector<uint8_t> with32(std::vector<uint8_t> bytes, size_t at, int32_t value) {
    put32(bytes, at, value);
    return bytes;
}

std::vector<uint8_t> with16(std::vector<uint8_t> bytes, size_t at, int value) {
    put16(bytes, at, value);
    return bytes;
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> bmpBytes(int width, int height, int bitsPerPixel, std::span<const uint8_t> pixels) {
    const bool palette = bitsPerPixel == 8;
    const size_t between = palette ? 1024 : 0;
    std::vector<uint8_t> bytes(54 + between);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<int32_t>(54 + between + pixels.size()));
    put32(bytes, 10, static_cast<int32_t>(54 + between));
    put32(bytes, 14, 40);
    put32(bytes, 18, width);
    put32(bytes, 22, height);
    put16(bytes, 26, 1);
    put16(bytes, 28, bitsPerPixel);
    for (size_t i = 0; i < between / 4; ++i) {  // a recognisable colour table
        bytes[54 + 4 * i] = static_cast<uint8_t>(i);
        bytes[54 + 4 * i + 1] = static_cast<uint8_t>(255 - i);
        bytes[54 + 4 * i + 2] = static_cast<uint8_t>(i * 7);
    }
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

}  // namespace bmp::test
