// One rendering from text and style record to a finished canvas, and the
// writing of that canvas as a BMP file.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "glyph_source.h"
#include "glyph_transfer.h"
#include "render_context.h"

namespace pavrex {

// Largest canvas the engine makes; a style asking for more is refused
// instead of exhausting memory and time. The area grows with the resolution
// factor: the largest canvas a style with the program's own ranges can ask
// for is about 13 million pixels per factor (255 bytes of vertical text at
// the widest spacing, slant and margin), so no such style is refused, while
// a damaged one cannot make a rendering at factor 1 take much more than a
// second.
inline constexpr long long kMaxCanvasSide = 60000;
inline constexpr long long kMaxCanvasPixelsPerFactor = 16'000'000;
inline constexpr long long kMaxCanvasPixels = 50'000'000;

// The largest canvas area at resolution factor index q (0, 1, 2).
inline long long maxCanvasPixels(int q) {
    const long long factor = q == 0 ? 1 : q == 1 ? 2 : 4;
    return factor * kMaxCanvasPixelsPerFactor < kMaxCanvasPixels ? factor * kMaxCanvasPixelsPerFactor
                                                                  : kMaxCanvasPixels;
}

// Maps any quality value to one of 0, 1, 2, 100, 101, 102 (the nearest meaning).
int normalizeQuality(int quality);

// The copy of the record the steps read: dimensions scaled for the
// resolution factor index q, paint colours 0 replaced by 1, per-character
// widths and heights 0 replaced by 100.
PavrexStyle prepareStyle(const PavrexStyle& record, int q);

// Gives the glyph source for a code page 932 face name at a cell height.
using FontFactory = std::function<std::unique_ptr<GlyphSource>(std::string_view cp932Face, int cellHeight)>;

// The system's fonts through fontconfig and FreeType.
std::unique_ptr<GlyphSource> openSystemFont(std::string_view cp932Face, int cellHeight);

struct Rendering {
    int code = PAVREX_OK;        // PAVREX_OK or PAVREX_CANNOT_RENDER
    RenderContext context;       // the finished canvas (halved when asked)
    bool glyphRendered = false;  // the selected glyph was transferred
    GlyphExtent extent;          // its columns, before halving
};

// Runs the rendering steps on a canvas of ink on white.
using StepRunner = void (*)(RenderContext&);

// Lays out, rasterises and renders text (at most 255 bytes, checked by the
// caller) with quality already normalised. whiteInk keeps a pure white fill
// as text (RenderContext::whiteInk).
Rendering renderText(std::string_view text, const PavrexStyle& record, int quality, int glyphIndex,
                     const FontFactory& fonts, StepRunner steps = runRenderingSteps, bool whiteInk = false);

struct Measure {
    int code = PAVREX_OK;  // PAVREX_OK or PAVREX_CANNOT_RENDER
    int width = 0;
    int height = 0;
};

// The size of the picture renderText would make (halved when asked),
// from the layout alone: no pixel is drawn.
Measure measureText(std::string_view text, const PavrexStyle& record, int quality, const FontFactory& fonts);

// Writes the canvas as a 24-bit BMP file; false when no complete file was written.
bool writeCanvas(const RenderContext& context, const char* path);

}  // namespace pavrex
