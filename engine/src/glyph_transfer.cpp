#include "glyph_transfer.h"

#include <algorithm>
#include <cstdint>

namespace pavrex {
namespace {

// Division rounding up, for a positive divisor and a numerator of any sign.
long long ceilDiv(long long n, long long d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); }

// Runs of ink along rows (across columns) or along columns (up rows).
void collectRuns(const GlyphRaster& r, bool alongColumns, PlacedGlyph& out) {
    const int lines = alongColumns ? r.width : r.height;
    const int length = alongColumns ? r.height : r.width;
    out.lineStart.assign(static_cast<size_t>(lines) + 1, 0);
    for (int line = 0; line < lines; ++line) {
        out.lineStart[line] = static_cast<int>(out.runs.size());
        int i = 0;
        while (i < length) {
            auto ink = [&](int at) { return alongColumns ? r.isInk(line, at) : r.isInk(at, line); };
            if (!ink(i)) {
                ++i;
                continue;
            }
            const int first = i;
            while (i < length && ink(i)) ++i;
            out.runs.emplace_back(first, i);
        }
    }
    out.lineStart[lines] = static_cast<int>(out.runs.size());
}

// What one glyph contributes to canvas rows: the rows it can reach and,
// for one of them, the canvas column intervals of its ink.
class GlyphRows {
public:
    GlyphRows(const PlacedGlyph& g, const RenderContext& c, float u) : g_(g), u_(u) {
        const GlyphPlacement& p = g.placement;
        const long long X = p.x;
        colLo_ = X < 0 ? -X : 0;
        if (p.turned) {
            // Output row j = 0 ... sx - 1 lands on canvas row Y + sx - j.
            colHi_ = std::min<long long>(p.sy, c.width - X);
            firstRow_ = static_cast<long long>(p.y) + 1;
            endRow_ = static_cast<long long>(p.y) + p.sx + 1;
        } else {
            // The sheared box spans trunc(H * u) + sx columns, cut at the canvas edge.
            long long span = static_cast<long long>(static_cast<float>(c.height) * u) + p.sx;
            if (X + span > c.width) span = c.width - X;
            colHi_ = span;
            firstRow_ = p.y;
            endRow_ = static_cast<long long>(p.y) + p.sy;
        }
        firstRow_ = std::max<long long>(firstRow_, 0);
        endRow_ = std::min<long long>(endRow_, c.height);
        const bool empty = p.sx <= 0 || p.sy <= 0 || g.sourceWidth <= 0 || g.sourceHeight <= 0 || colLo_ >= colHi_;
        if (empty) endRow_ = firstRow_;
    }

    long long firstRow() const { return firstRow_; }
    long long endRow() const { return endRow_; }

    // Adds +1 at the first and -1 at the end column of each ink interval on
    // canvas row y (which lies within firstRow() ... endRow() - 1).
    void addIntervals(long long y, std::vector<int>& cover) const {
        const GlyphPlacement& p = g_.placement;
        const long long w = g_.sourceWidth;
        const long long h = g_.sourceHeight;
        long long line = 0;
        long long shift = 0;
        if (p.turned) {
            // Output row j shows source column trunc(j * h / sy); canvas
            // column c shows source row trunc(w * c / sx) of it.
            const long long j = static_cast<long long>(p.y) + p.sx - y;
            line = j * h / p.sy;
            if (line >= w) return;
        } else {
            // Output row j shows source row trunc(j * h / sy), shifted right by
            // trunc(u * j); canvas column c shows source column trunc(w * c / sx) - shift.
            const long long j = y - p.y;
            line = j * h / p.sy;
            shift = static_cast<long long>(u_ * static_cast<float>(j));
        }
        for (int k = g_.lineStart[line]; k < g_.lineStart[line + 1]; ++k) {
            // Columns c with first <= trunc(w * c / sx) - shift < end.
            const auto [first, end] = g_.runs[k];
            const long long from = std::max(colLo_, ceilDiv((first + shift) * p.sx, w));
            const long long to = std::min(colHi_, ceilDiv((end + shift) * p.sx, w));
            if (from >= to) continue;
            ++cover[static_cast<size_t>(p.x + from)];
            --cover[static_cast<size_t>(p.x + to)];
        }
    }

private:
    const PlacedGlyph& g_;
    float u_;
    long long colLo_ = 0;   // first box column on the canvas (relative to X)
    long long colHi_ = 0;   // end box column on the canvas (relative to X)
    long long firstRow_ = 0;
    long long endRow_ = 0;
};

}  // namespace

PlacedGlyph placeGlyph(const GlyphRaster& raster, const GlyphPlacement& placement) {
    PlacedGlyph g;
    g.placement = placement;
    g.sourceWidth = raster.width;
    g.sourceHeight = raster.height;
    // Upright glyphs are read along source rows; turned glyphs along source
    // columns, which become canvas rows.
    if (raster.width > 0 && raster.height > 0) collectRuns(raster, placement.turned, g);
    return g;
}

GlyphExtent glyphExtent(const GlyphPlacement& p, double slantSine, int canvasHeight) {
    GlyphExtent extent;
    extent.start = p.x;
    const long long slantSpan = p.turned ? 0 : static_cast<long long>(slantSine * canvasHeight);
    extent.end = static_cast<int>(std::clamp<long long>(static_cast<long long>(p.x) + slantSpan + p.sx,
                                                        INT32_MIN, INT32_MAX));
    return extent;
}

void transferGlyphs(RenderContext& c, std::span<const PlacedGlyph> glyphs, double slantSine) {
    const auto u = static_cast<float>(slantSine);
    std::vector<GlyphRows> rows;
    rows.reserve(glyphs.size());
    long long first = c.height;
    long long end = 0;
    for (const PlacedGlyph& g : glyphs) {
        rows.emplace_back(g, c, u);
        if (rows.back().firstRow() < rows.back().endRow()) {
            first = std::min(first, rows.back().firstRow());
            end = std::max(end, rows.back().endRow());
        }
    }
    // Interval ends per column; their running sum is the number of glyph
    // intervals covering the column, and overlapping glyphs cost no more.
    std::vector<int> cover(static_cast<size_t>(c.width) + 1, 0);
    for (long long y = first; y < end; ++y) {
        bool touched = false;
        for (const GlyphRows& g : rows) {
            if (y < g.firstRow() || y >= g.endRow()) continue;
            g.addIntervals(y, cover);
            touched = true;
        }
        if (!touched) continue;
        int covering = 0;
        uint8_t* row = c.pixel(0, static_cast<int>(y));
        for (int x = 0; x < c.width; ++x) {
            covering += cover[static_cast<size_t>(x)];
            cover[static_cast<size_t>(x)] = 0;
            if (covering > 0) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 0;
        }
        cover[static_cast<size_t>(c.width)] = 0;
    }
}

GlyphExtent transferGlyph(RenderContext& c, const GlyphRaster& raster, const GlyphPlacement& p, double slantSine) {
    const PlacedGlyph g = placeGlyph(raster, p);
    transferGlyphs(c, std::span<const PlacedGlyph>(&g, 1), slantSine);
    return glyphExtent(p, slantSine, c.height);
}

}  // namespace pavrex
