#include <algorithm>

#include "steps.h"

namespace pavrex {

void composite(RenderContext& c) {
    const int W = c.width;
    for (int y = 0; y < c.height; ++y) {
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
}

}  // namespace pavrex
