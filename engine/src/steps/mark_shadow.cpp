#include <algorithm>

#include "box_dilate.h"
#include "steps.h"

namespace pavrex {
namespace {

bool isText(RenderContext& c, long x, long y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return false;
    return !isWhite(c.pixel(static_cast<int>(x), static_cast<int>(y)));
}

}  // namespace

void markShadow(RenderContext& c) {
    if (c.style.ShadowType == 0) return;
    const int W = c.width;
    const int H = c.height;
    const long d = c.style.ShadowDistance;
    const int s = c.style.ShadowSpread;
    if (s < 0) return;
    // Where the text moved right and down by d lands: rows below H - d, and
    // with a spread only rows below H - s are sources.
    const long rowEnd = s == 0 ? H - d : std::min<long>(H - s, H - d);
    if (s == 0) {
        // Without spread the shadow is the text moved: mark it directly.
        for (long r = 0; r < rowEnd; ++r) {
            for (long x = std::max(0L, d); x < W; ++x) {
                if (isText(c, x - d, r + d)) layerPixel(c.backLayer, c, static_cast<int>(x), static_cast<int>(r))[0] = 1;
            }
        }
        return;
    }
    // Where the text moved right and down by d lands, each source grown to
    // a square of 2s x 2s: only rows below H - s are sources.
    std::vector<uint8_t> moved(static_cast<size_t>(W) * H, 0);
    for (long r = 0; r < rowEnd; ++r) {
        for (long x = std::max(0L, d); x < W; ++x) moved[r * W + x] = isText(c, x - d, r + d);
    }
    moved = boxDilate(moved, W, H, s);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (moved[static_cast<size_t>(y) * W + x]) layerPixel(c.backLayer, c, x, y)[0] = 1;
        }
    }
}

}  // namespace pavrex
