#include "halve.h"

#include "bmp_file.h"

namespace pavrex {

void halveCanvas(RenderContext& c) {
    const int w = c.width / 2;
    const int h = c.height / 2;
    const int stride = bmp::rowStride(24, w);
    std::vector<uint8_t> out(static_cast<size_t>(h) * stride, 0);
    for (int y = 0; y < h; ++y) {
        const uint8_t* low = c.canvas.data() + static_cast<size_t>(2 * y) * c.stride;
        const uint8_t* high = low + c.stride;
        uint8_t* dst = out.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                const int i = 6 * x + ch;
                dst[3 * x + ch] = static_cast<uint8_t>((low[i] + low[i + 3] + high[i] + high[i + 3]) / 4);
            }
        }
    }
    c.canvas.swap(out);
    c.width = w;
    c.height = h;
    c.stride = stride;
}

}  // namespace pavrex
