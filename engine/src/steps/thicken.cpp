#include "steps.h"

namespace pavrex {

void thicken(RenderContext& c) {
    const int W = c.width;
    const int H = c.height;
    const int tx = c.style.ThickenX;
    if (tx > 1) {
        // Right to left, so new ink is never visited again.
        for (int y = 0; y < H; ++y) {
            for (int x = W - tx - 1; x >= 0; --x) {
                if (c.pixel(x, y)[0] != 0) continue;
                for (int k = x + 1; k <= x + tx - 1 && k < W; ++k) {
                    uint8_t* p = c.pixel(k, y);
                    p[0] = p[1] = p[2] = 0;
                }
            }
        }
    }
    const int ty = c.style.ThickenY;
    if (ty > 1) {
        // Bottom to top, growing downward: new ink lands in rows already visited.
        for (int y = ty; y <= H - ty - 2; ++y) {
            for (int x = 0; x < W; ++x) {
                if (c.pixel(x, y)[0] != 0) continue;
                for (int k = y - 1; k >= y - ty + 1; --k) {
                    uint8_t* p = c.pixel(x, k);
                    p[0] = p[1] = p[2] = 0;
                }
            }
        }
    }
}

}  // namespace pavrex
