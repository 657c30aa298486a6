// Helpers of the imgctl tests: writing BMP files by hand, decoding what the
// library writes with giflib's and libjpeg's own readers, and a scratch
// folder per test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace imgctl_test {

struct Color {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

// A picture as the tests build it: top-down rows of colours.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;
    Color& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    Color at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Picture solid(int width, int height, Color c);
// A smooth picture with far more than 256 colours: red across, green down,
// blue diagonal.
Picture gradient(int width, int height);
// A picture of exactly `colors` distinct colours in vertical bands.
Picture bands(int width, int height, int colors);

// BMP file bytes in the bitmap file convention: 54-byte header, bottom-up,
// rows padded to 4 bytes.
std::vector<uint8_t> bmp24(const Picture& p);
// 8-bit BMP with the given colour table and indices (top-down rows).
std::vector<uint8_t> bmp8(int width, int height, const std::vector<Color>& table,
                          const std::vector<uint8_t>& indices);

void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed when the
// object goes away unless keep() was called or the running test has failed,
// so that the written images can be looked at; a kept folder's path is
// printed on standard error.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    void keep() { kept_ = true; }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool localTable = false;
    std::vector<Color> table;  // the colour table that applies to the frame
    std::vector<uint8_t> indices;
    int disposal = 0;
    int delay = 0;
    int transparent = -1;
    bool hasControl = false;
};

struct DecodedGif {
    bool ok = false;
    std::string error;
    std::string version;  // "GIF87a" or "GIF89a"
    int width = 0, height = 0;
    bool globalTable = false;
    int loopField = -1;  // NETSCAPE2.0 loop field, -1 when absent
    std::vector<GifFrame> frames;
};

// Decodes a GIF file with giflib's DGifSlurp.
DecodedGif decodeGif(const std::string& path);

// What each frame of an animation shows, composed the way browsers do
// (disposal and transparency honoured); 0 marks a pixel nothing was drawn
// on, other values are 0xFFRRGGBB.
std::vector<std::vector<uint32_t>> composeFrames(const DecodedGif& gif);

struct DecodedJpeg {
    bool ok = false;
    int width = 0, height = 0;
    bool progressive = false;
    std::vector<Color> pixels;
};

// Decodes a JPEG file with libjpeg.
DecodedJpeg decodeJpeg(const std::string& path);

// Peak signal-to-noise ratio in dB between two pictures of the same size.
double psnr(const std::vector<Color>& a, const std::vector<Color>& b);

}  // namespace imgctl_test
