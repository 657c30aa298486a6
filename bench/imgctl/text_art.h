// Synthetic text-art pictures for the imgctl benchmarks: letter strokes with
// a gradient fill, a soft shadow and a glow on a coloured background, the
// kind of picture the program writes as GIF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imgctl_bench {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top-down
};

struct Style {
    const char* name;
    Rgb background1, background2;  // vertical background gradient
    Rgb fill1, fill2, fill3;       // three-stop vertical text gradient
    Rgb shadow;
    float shadowAlpha;
    Rgb glow;
    float glowAlpha;
};

// The three styles the benchmarks use.
const std::vector<Style>& styles();

// Renders the word at horizontal offset textX (pixels) into a picture of
// width x height.
Picture renderTextArt(const Style& style, int width, int height, float textX);

// Writes a 24-bit BMP in the bitmap file convention.
bool writeBmp(const std::string& path, const Picture& picture);

// Reads a binary PPM (P6, maxval 255) as ImageMagick writes it.
bool readPpm(const std::string& path, Picture& picture);

double psnr(const Picture& a, const Picture& b);

}  // namespace imgctl_bench
