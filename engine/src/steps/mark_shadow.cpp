#include <algorithm>

#include "box_dilate.h"
#include "steps.h"

namespace pavrex {
namespace {

bool isText(RenderContext& c, long x, long y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return false;
    return c.isText(static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

void markShadow(RenderContext& c) {
    if (c.style.ShadowType == 0) return;
    const long W = c.width;
    const long H = c.height;
    const long d = c.style.ShadowDistance;
    const int s = c.style.ShadowSpread;
    if (s < 0) return;
    // The text moved right and down by d: row r takes canvas row r + d and
    // column x takes column x - d. Only rows and columns whose source lies
    // on the canvas can be marked, and marks stay on the canvas, so a
    // distance of either sign costs no more than the canvas. With a spread
    // only rows below H - s are sources.
    const long rowFrom = std::max(0L, -d);
    const long rowEnd = std::min(s == 0 ? H : H - s, H - d);
    const long columnFrom = std::max(0L, d);
    const long columnEnd = std::min(W, W + d);
    if (s == 0) {
        // Without spread the shadow is the text moved: mark it directly.
        for (long r = rowFrom; r < rowEnd; ++r) {
            for (long x = columnFrom; x < columnEnd; ++x) {
                if (isText(c, x - d, r + d)) layerPixel(c.backLayer, c, static_cast<int>(x), static_cast<int>(r))[0] = 1;
            }
        }
        return;
    }
    // Each source grown to a square of 2s x 2s.
    std::vector<uint8_t> moved(static_cast<size_t>(W) * H, 0);
    for (long r = rowFrom; r < rowEnd; ++r) {
        for (long x = columnFrom; x < columnEnd; ++x) moved[r * W + x] = isText(c, x - d, r + d);
    }
    boxDilate(moved, static_cast<int>(W), static_cast<int>(H), s);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (moved[static_cast<size_t>(y) * W + x]) layerPixel(c.backLayer, c, x, y)[0] = 1;
        }
    }
}

}  // namespace pavrex
