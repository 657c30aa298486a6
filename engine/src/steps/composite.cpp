#include <algorithm>

#include "parallel_for.h"
#include "steps.h"

namespace pavrex {

namespace {

void compositeRow(RenderContext& c, int y) {
    const int W = c.width;
    for (int x = 0; x < W; ++x) {
        uint8_t* p = c.pixel(x, y);
        if (!c.isText(x, y)) {
            const uint8_t* back = layerPixel(c.backLayer, c, x, y);
            if (back[0] != 0 || back[1] != 0 || back[2] != 0) std::copy(back, back + 3, p);
            continue;
        }
        const int h = c.heightMap[static_cast<size_t>(y) * W + x];
        for (int ch = 0; ch < 3; ++ch) p[ch] = static_cast<uint8_t>(std::clamp(p[ch] - h + 10, 0, 255));
    }
}

}  // namespace

void composite(RenderContext& c) {
    // Rows are independent: bands of them on all cores.
    constexpr int kBandRows = 32;
    const int bands = (c.height + kBandRows - 1) / kBandRows;
    parallel::forEachIndex(static_cast<size_t>(bands), [&](size_t band) {
        const int first = static_cast<int>(band) * kBandRows;
        for (int y = first; y < std::min(c.height, first + kBandRows); ++y) compositeRow(c, y);
    });
}

}  // namespace pavrex
