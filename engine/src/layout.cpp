#include "layout.h"

#include <algorithm>
#include <cmath>

namespace pavrex {
namespace {

// The slant factor uses 3.14159 / 180, not the exact pi / 180.
double slantSine(int slant) { return std::sin(slant * 3.14159 / 180.0); }

long long trunc(double v) { return static_cast<long long>(v); }

// 4 * (v / 4) with division truncating toward zero.
long long roundDownTo4(long long v) { return 4 * (v / 4); }

// Positions and sizes from absurd table values are held far outside any
// canvas instead of overflowing; such glyphs are simply clipped away.
int clampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, -1000000000LL, 1000000000LL)); }
int clampToInt(double v) { return clampToInt(trunc(std::clamp(v, -1e12, 1e12))); }

}  // namespace

long long layoutMargin(const PavrexStyle& s, int q) {
    long long m = std::max(s.ThickenX, s.ThickenY) + 2LL * s.ShadowBlur + s.ShadowDistance + 5;
    if (s.ReliefOn != 0) {
        m += 2LL * s.ReliefDepth;
    } else {
        m += q == 1 ? 20 : q == 2 ? 40 : 10;
    }
    if (s.OutlineStyle != 0) m += s.OutlineWidth;
    return m;
}

Layout computeLayout(const PavrexStyle& s, int q, std::span<const GlyphMetrics> glyphs) {
    Layout out;
    const long long n = static_cast<long long>(glyphs.size());
    const long long m = layoutMargin(s, q);
    const double sine = slantSine(s.Slant);
    const long long h0 = glyphs.empty() ? 0 : glyphs[0].height;
    const long long shear = trunc(h0 * sine);
    const long long gapEnd = s.CharGap[tableIndex(n)];
    const bool vertical = s.Vertical != 0;

    long long run = 0;
    long long maxW = 0;
    for (long long i = 0; i < n; ++i) {
        const auto& g = glyphs[i];
        run += (vertical ? g.height : g.width) + static_cast<long long>(s.SpacingPx) + s.CharGap[tableIndex(i)];
        maxW = std::max<long long>(maxW, g.width);
    }

    out.margin = m;
    out.slantSine = sine;
    if (!vertical) {
        out.width = roundDownTo4(shear + trunc(0.1 * h0) - gapEnd + 2 * m - s.SpacingPx + run + 3);
        out.height = m + trunc(1.1 * h0);
    } else {
        out.width = roundDownTo4(shear + trunc(0.1 * maxW) + m + maxW + 3);
        out.height = run + m - gapEnd - s.SpacingPx;
    }

    const double W = static_cast<double>(out.width);
    double pen = 0;
    if (vertical) pen = s.Vertical == 1 ? static_cast<double>(out.height - h0 - m) : 0.0;
    const long long smallKanaShift = trunc(0.07 * W);

    out.glyphs.reserve(glyphs.size());
    for (long long i = 0; i < n; ++i) {
        const auto& g = glyphs[i];
        const int k = tableIndex(i);
        const long long w = g.width;
        const long long h = g.height;
        GlyphPlacement p;
        p.sx = clampToInt(w * s.CharWidth[k] / 100);
        p.sy = clampToInt(h * s.CharHeight[k] / 100);
        const long long ox = w * s.CharOffsetX[k] / 100;
        const long long oy = h * s.CharOffsetY[k] / 100;
        const double advance = static_cast<double>(s.CharGap[k]) + (vertical ? h : w) + s.SpacingPx;
        if (!vertical) {
            p.x = clampToInt((m + pen + w / 2.0 - p.sx / 2.0 + ox));
            p.y = clampToInt((m + h / 2.0 - p.sy / 2.0 + oy));
            pen += advance;
        } else if (!g.turned) {
            p.x = clampToInt((W / 2.0 - p.sx / 2.0 + ox - shear / 2.0));
            p.y = clampToInt((h / 2.0 - p.sy / 2.0 + oy + pen + m));
            pen -= advance;
        } else {
            p.turned = true;
            p.x = clampToInt((W / 2.0 - p.sy / 2.0 + ox));
            p.y = clampToInt((h / 2.0 - p.sx / 2.0 + oy + m / 2.0 + pen));
            pen -= advance;
        }
        if (vertical && g.smallKana) p.x = clampToInt(static_cast<long long>(p.x) + smallKanaShift);
        out.glyphs.push_back(p);
    }
    return out;
}

}  // namespace pavrex
