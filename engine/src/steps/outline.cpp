#include <algorithm>
#include <cstring>

#include "distance.h"
#include "steps.h"

namespace pavrex {
namespace {

// Marks every pixel closer than r to a text pixel of the scanned area
// (rows and columns r ... size - r). A text pixel dy rows away in column x
// reaches, on this row, the columns x - k ... x + k with k^2 + dy^2 < r^2;
// only the nearest text pixel of each column matters, so each row takes one
// interval per column and the work grows with the canvas, not with r.
void markDiscs(RenderContext& c, long long r) {
    const int W = c.width;
    const int H = c.height;
    const Area area = innerArea(W, H, r);
    if (area.firstRow > area.lastRow || area.firstColumn > area.lastColumn) return;
    VerticalDistances text(W, H, area, r - 1, [&](long long x, long long y) {
        return c.isText(static_cast<int>(x), static_cast<int>(y));
    });
    std::vector<long long> halfWidth(static_cast<size_t>(r));  // r is below a canvas side here
    for (long long dy = 0, k = r; dy < r; ++dy) {
        while (k > 0 && k * k + dy * dy >= r * r) --k;
        halfWidth[dy] = k;
    }
    std::vector<long long> vertical(static_cast<size_t>(W));
    std::vector<int> cover(static_cast<size_t>(W) + 1, 0);
    for (int y = 0; y < H; ++y) {
        if (!text.anyWithin(y)) continue;
        text.row(y, vertical);
        for (int x = 0; x < W; ++x) {
            if (vertical[x] == kFar) continue;
            const long long k = halfWidth[vertical[x]];
            ++cover[static_cast<size_t>(std::max<long long>(0, x - k))];
            --cover[static_cast<size_t>(std::min<long long>(W, x + k + 1))];
        }
        uint8_t* row = c.edgeMask.data() + static_cast<size_t>(y) * W;
        int covering = 0;
        for (int x = 0; x < W; ++x) {
            covering += cover[x];
            cover[x] = 0;
            if (covering > 0) row[x] |= row[x] == 0;
        }
        cover[W] = 0;
    }
}

}  // namespace

void drawOutline(RenderContext& c) {
    const auto& s = c.style;
    const int style = s.OutlineStyle;
    if (style < 1 || style > 3) return;
    // Beyond half the canvas the scanned area is empty; the bound keeps r^2 in range.
    if (s.OutlineWidth > 0) markDiscs(c, std::min(s.OutlineWidth, 1000000) + 2LL);

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
