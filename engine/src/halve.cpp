#include "halve.h"

#include <algorithm>

#include "bmp_file.h"

namespace pavrex {

void halveCanvas(RenderContext& c) {
    const int w = halvedSide(c.width);
    const int h = halvedSide(c.height);
    const int stride = bmp::rowStride(24, w);
    std::vector<uint8_t> out(static_cast<size_t>(h) * stride, 0);
    for (int y = 0; y < h; ++y) {
        const uint8_t* low = c.canvas.data() + static_cast<size_t>(2 * y) * c.stride;
        const uint8_t* high = 2 * y + 1 < c.height ? low + c.stride : low;
        uint8_t* dst = out.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            const int left = 6 * x;
            const int right = 2 * x + 1 < c.width ? left + 3 : left;
            for (int ch = 0; ch < 3; ++ch) {
                dst[3 * x + ch] = static_cast<uint8_t>((low[left + ch] + low[right + ch] + high[left + ch] + high[right + ch]) / 4);
            }
        }
    }
    c.canvas.swap(out);
    c.width = w;
    c.height = h;
    c.stride = stride;
}

}  // namespace pavrex
