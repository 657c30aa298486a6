#include "freetype_glyph_source.h"

#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "cp932.h"

namespace pavrex {

struct FreeTypeGlyphSource::Handles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Handles() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

namespace {

// Monochrome, hinted: the look of non-antialiased text output.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME;

struct CellMetrics {
    long ascent;   // font units
    long descent;  // font units, positive
};

CellMetrics cellMetrics(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        return {os2->usWinAscent, os2->usWinDescent};
    }
    return {face->ascender, -static_cast<long>(face->descender)};
}

}  // namespace

std::unique_ptr<FreeTypeGlyphSource> FreeTypeGlyphSource::open(const std::string& file, int faceIndex,
                                                               int cellHeight) {
    auto handles = std::make_unique<Handles>();
    if (FT_Init_FreeType(&handles->library) != 0) return nullptr;
    if (FT_New_Face(handles->library, file.c_str(), faceIndex, &handles->face) != 0) return nullptr;
    FT_Face face = handles->face;
    if (!FT_IS_SCALABLE(face) || cellHeight <= 0) return nullptr;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    const CellMetrics m = cellMetrics(face);
    if (m.ascent + m.descent <= 0) return nullptr;
    // Pixels per em so that ascent + descent spans the cell, in 26.6 at 72 dpi.
    const double ppem = static_cast<double>(cellHeight) * face->units_per_EM / (m.ascent + m.descent);
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(ppem * 64.0)), 72, 72) != 0) return nullptr;
    const int ascent = static_cast<int>(std::lround(static_cast<double>(cellHeight) * m.ascent / (m.ascent + m.descent)));
    return std::unique_ptr<FreeTypeGlyphSource>(new FreeTypeGlyphSource(std::move(handles), cellHeight, ascent));
}

FreeTypeGlyphSource::FreeTypeGlyphSource(std::unique_ptr<Handles> handles, int cellHeight, int ascent)
    : handles_(std::move(handles)), cellHeight_(cellHeight), ascent_(ascent) {}

FreeTypeGlyphSource::~FreeTypeGlyphSource() = default;

std::u32string FreeTypeGlyphSource::characters(std::string_view cp932Bytes) const {
    // Bytes that are no code page 932 character draw the font's missing-glyph box.
    return cp932::decode(cp932Bytes).value_or(std::u32string(1, U'\0'));
}

int FreeTypeGlyphSource::measureWidth(std::string_view cp932Bytes) {
    FT_Face face = handles_->face;
    long width = 0;
    for (char32_t c : characters(cp932Bytes)) {
        const FT_UInt index = c ? FT_Get_Char_Index(face, c) : 0;
        if (FT_Load_Glyph(face, index, kLoadFlags) != 0) continue;
        width += (face->glyph->advance.x + 32) >> 6;
    }
    return static_cast<int>(width);
}

GlyphRaster FreeTypeGlyphSource::draw(std::string_view cp932Bytes, int width, int height) {
    GlyphRaster raster;
    raster.width = std::max(width, 0);
    raster.height = std::max(height, 0);
    raster.ink.assign(static_cast<size_t>(raster.width) * raster.height, 0);
    FT_Face face = handles_->face;
    long pen = 0;
    for (char32_t c : characters(cp932Bytes)) {
        const FT_UInt index = c ? FT_Get_Char_Index(face, c) : 0;
        if (FT_Load_Glyph(face, index, kLoadFlags | FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (unsigned r = 0; r < bm.rows; ++r) {
                const long top = static_cast<long>(ascent_) - slot->bitmap_top + r;  // from the top of the cell
                if (top < 0 || top >= raster.height) continue;
                const unsigned char* src = bm.buffer + static_cast<long>(r) * bm.pitch;
                for (unsigned col = 0; col < bm.width; ++col) {
                    if (!(src[col >> 3] & (0x80 >> (col & 7)))) continue;
                    const long x = pen + slot->bitmap_left + col;
                    if (x < 0 || x >= raster.width) continue;
                    const long rowFromBottom = raster.height - 1 - top;
                    raster.ink[static_cast<size_t>(rowFromBottom) * raster.width + x] = 1;
                }
            }
        }
        pen += (slot->advance.x + 32) >> 6;
    }
    return raster;
}

}  // namespace pavrex
