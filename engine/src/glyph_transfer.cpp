#include "glyph_transfer.h"

#include <algorithm>
#include <cstdint>

namespace pavrex {
namespace {

void setInk(RenderContext& c, long long x, int y) {
    uint8_t* p = c.pixel(static_cast<int>(x), y);
    p[0] = p[1] = p[2] = 0;
}

// Scales the glyph to sx x sy by nearest neighbour and shears it to the
// right by u pixels per row upward.
void transferUpright(RenderContext& c, const GlyphRaster& r, const GlyphPlacement& p, float u) {
    const long long X = p.x;
    long long span = static_cast<long long>(static_cast<float>(c.height) * u) + p.sx;
    if (X + span > c.width) span = c.width - X;
    const long long firstColumn = X < 0 ? -X : 0;
    const long long w = r.width;
    for (long long j = 0; j < p.sy; ++j) {
        const long long row = p.y + j;
        if (row < 0) continue;
        if (row >= c.height) break;
        const long long sourceRow = j * r.height / p.sy;
        const long long shift = static_cast<long long>(u * static_cast<float>(j));
        for (long long col = firstColumn; col < span; ++col) {
            const long long g = w * col / p.sx - shift;
            if (g < 0) continue;
            if (g >= w) break;
            if (r.isInk(static_cast<int>(g), static_cast<int>(sourceRow))) setInk(c, X + col, static_cast<int>(row));
        }
    }
}

// Draws the glyph a quarter turn clockwise: it occupies sy columns and sx rows.
void transferTurned(RenderContext& c, const GlyphRaster& r, const GlyphPlacement& p) {
    const long long X = p.x;
    const long long firstColumn = X < 0 ? -X : 0;
    const long long columns = std::min<long long>(p.sy, c.width - X);
    const long long w = r.width;
    const long long h = r.height;
    for (long long j = 0; j < p.sx; ++j) {
        const long long row = p.y + p.sx - j;
        if (row < 0 || row >= c.height) continue;
        const long long sourceColumn = j * h / p.sy;
        for (long long col = firstColumn; col < columns; ++col) {
            if (sourceColumn >= w) break;
            const long long sourceRow = w * col / p.sx;
            if (sourceRow >= h) continue;
            if (r.isInk(static_cast<int>(sourceColumn), static_cast<int>(sourceRow))) {
                setInk(c, X + col, static_cast<int>(row));
            }
        }
    }
}

}  // namespace

GlyphExtent transferGlyph(RenderContext& c, const GlyphRaster& raster, const GlyphPlacement& p, double slantSine) {
    GlyphExtent extent;
    extent.start = p.x;
    const long long slantSpan = p.turned ? 0 : static_cast<long long>(slantSine * c.height);
    extent.end = static_cast<int>(std::clamp<long long>(static_cast<long long>(p.x) + slantSpan + p.sx,
                                                        INT32_MIN, INT32_MAX));
    // A glyph scaled to nothing (a zero or negative percentage) leaves no ink.
    if (p.sx <= 0 || p.sy <= 0 || raster.width <= 0 || raster.height <= 0) return extent;
    if (p.turned) {
        transferTurned(c, raster, p);
    } else {
        transferUpright(c, raster, p, static_cast<float>(slantSine));
    }
    return extent;
}

}  // namespace pavrex
