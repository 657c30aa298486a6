#include <algorithm>
#include <vector>

#include "steps.h"

namespace pavrex {
namespace {

void setInk(uint8_t* p) { p[0] = p[1] = p[2] = 0; }

}  // namespace

// Each pass grows only the ink that was there before the pass: rightward,
// ink in columns 0 ... W - tx - 1 paints the tx - 1 pixels to its right;
// downward, ink in rows ty ... H - ty - 2 paints the ty - 1 rows below it.
// Both passes sweep once, remembering the nearest such ink seen so far, so
// they take one visit per pixel whatever the thickness.
void thicken(RenderContext& c) {
    const long long W = c.width;
    const long long H = c.height;
    const long long tx = c.style.ThickenX;
    if (tx > 1) {
        const long long lastSource = W - tx - 1;
        for (int y = 0; y < H; ++y) {
            long long source = -1;  // nearest original ink to the left that grows
            for (int x = 0; x < W; ++x) {
                uint8_t* p = c.pixel(x, y);
                const bool wasInk = p[0] == 0;
                if (source >= 0 && x - source <= tx - 1) setInk(p);
                if (wasInk && x <= lastSource) source = x;
            }
        }
    }
    const long long ty = c.style.ThickenY;
    if (ty > 1) {
        // Top to bottom: the nearest original source row above, per column.
        const long long firstSource = ty;
        const long long lastSource = H - ty - 2;
        std::vector<long long> source(static_cast<size_t>(W), -1);
        for (long long y = H - 1; y >= 0; --y) {
            const bool rowIsSource = y >= firstSource && y <= lastSource;
            for (int x = 0; x < W; ++x) {
                uint8_t* p = c.pixel(x, static_cast<int>(y));
                const bool wasInk = p[0] == 0;
                const long long s = source[static_cast<size_t>(x)];
                if (s >= 0 && s - y <= ty - 1) setInk(p);
                if (wasInk && rowIsSource) source[static_cast<size_t>(x)] = y;
            }
        }
    }
}

}  // namespace pavrex
