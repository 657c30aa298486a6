// What the layout needs from a font: the extent of a glyph's bytes and a
// 1-bit raster of them. Layout tests plug in synthetic metrics; renderings
// use the FreeType implementation.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pavrex {

// A monochrome glyph raster, rows stored bottom-up (row 0 is the bottom row).
struct GlyphRaster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> ink;  // width * height bytes, 1 where the glyph has ink

    bool isInk(int column, int rowFromBottom) const {
        return ink[static_cast<size_t>(rowFromBottom) * width + column] != 0;
    }
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // The cell height of the font in pixels: the height of every glyph extent.
    virtual int cellHeight() const = 0;
    // Width of the glyph's 1 or 2 code page 932 bytes: the sum of the advances.
    virtual int measureWidth(std::string_view cp932Bytes) = 0;
    // Draws the bytes at (0, 0) into a width x height raster.
    virtual GlyphRaster draw(std::string_view cp932Bytes, int width, int height) = 0;
};

}  // namespace pavrex
