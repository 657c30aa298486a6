// Glyph extents and 1-bit rasters from FreeType, with the cell-height
// semantics the layout expects: the face is scaled so that its Windows
// ascent plus descent (hhea ascender - descender where OS/2 is missing)
// equals the requested cell height, and the baseline sits that ascent below
// the top of the cell.
#pragma once

#include <memory>
#include <string>

#include "glyph_source.h"

namespace pavrex {

class FreeTypeGlyphSource final : public GlyphSource {
public:
    // Opens the face; returns null when the file cannot be used.
    static std::unique_ptr<FreeTypeGlyphSource> open(const std::string& file, int faceIndex, int cellHeight);
    ~FreeTypeGlyphSource() override;

    int cellHeight() const override { return cellHeight_; }
    int measureWidth(std::string_view cp932Bytes) override;
    GlyphRaster draw(std::string_view cp932Bytes, int width, int height) override;

    int ascent() const { return ascent_; }

private:
    struct Handles;
    explicit FreeTypeGlyphSource(std::unique_ptr<Handles> handles, int cellHeight, int ascent);
    std::u32string characters(std::string_view cp932Bytes) const;

    std::unique_ptr<Handles> handles_;
    int cellHeight_;
    int ascent_;
};

}  // namespace pavrex
