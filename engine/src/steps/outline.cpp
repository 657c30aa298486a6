#include <algorithm>
#include <cstring>

#include "steps.h"

namespace pavrex {
namespace {

// Marks every pixel closer than r to a text pixel of the scanned area
// (rows and columns r ... size - r), row span by row span: the disc's
// half-width per row offset, applied to whole runs of text at once.
void markDiscs(RenderContext& c, int r) {
    const int W = c.width;
    const int H = c.height;
    std::vector<int> halfWidth(2 * static_cast<size_t>(r) - 1);
    for (int dy = -(r - 1); dy <= r - 1; ++dy) {
        int hw = 0;
        while ((hw + 1) * (hw + 1) + dy * dy < r * r) ++hw;
        halfWidth[dy + r - 1] = hw;
    }
    const int x0 = std::max(0, r);
    const int x1 = std::min(W - 1, W - r);
    for (int y = std::max(0, r); y <= std::min(H - 1, H - r); ++y) {
        int x = x0;
        while (x <= x1) {
            if (isWhite(c.pixel(x, y))) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x <= x1 && !isWhite(c.pixel(x, y))) ++x;
            const int runEnd = x - 1;
            for (int dy = -(r - 1); dy <= r - 1; ++dy) {
                const int ty = y + dy;
                if (ty < 0 || ty >= H) continue;
                const int hw = halfWidth[dy + r - 1];
                const int from = std::max(0, runStart - hw);
                const int to = std::min(W - 1, runEnd + hw);
                uint8_t* row = c.edgeMask.data() + static_cast<size_t>(ty) * W;
                for (int k = from; k <= to; ++k) row[k] |= row[k] == 0;
            }
        }
    }
}

}  // namespace

void drawOutline(RenderContext& c) {
    const auto& s = c.style;
    const int style = s.OutlineStyle;
    if (style < 1 || style > 3) return;
    if (s.OutlineWidth > 0) markDiscs(c, std::min(s.OutlineWidth, 4000) + 2);

    const Rgb c1 = channels(s.OutlineColor1);
    const Rgb c2 = channels(s.OutlineColor2);
    const int W = c.width;
    const int H = c.height;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (c.edgeMask[static_cast<size_t>(y) * W + x] == 0) continue;
            Rgb v = c1;
            if (style == 1) {
                if (v.r == 0) v.r = 1;
            } else if (style == 2) {
                const double t = static_cast<double>(x) / W;
                auto mix = [t](int a, int b) { return static_cast<int>(a * (1 - t) + b * t); };
                v = {mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
            } else {
                const double t = static_cast<double>(y) / H;
                auto mix = [t](int a, int b) { return static_cast<int>(b * (1 - t) + a * t); };
                v = {mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)};
            }
            uint8_t* p = layerPixel(c.backLayer, c, x, y);
            p[0] = static_cast<uint8_t>(v.b);
            p[1] = static_cast<uint8_t>(v.g);
            p[2] = static_cast<uint8_t>(v.r);
        }
    }
}

}  // namespace pavrex
