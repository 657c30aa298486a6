#include <algorithm>

#include "box_dilate.h"
#include "steps.h"

namespace pavrex {

void colourShadow(RenderContext& c) {
    const int type = c.style.ShadowType;
    if (type == 0) return;
    const int W = c.width;
    const int H = c.height;
    const long d = c.style.ShadowDistance;
    const long b = std::max(0, c.style.ShadowBlur);
    const long g = d + b;
    const long t = (2 * b + 1) * (2 * b + 1);

    std::vector<uint8_t> marks(static_cast<size_t>(W) * H, 0);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) marks[static_cast<size_t>(y) * W + x] = layerPixel(c.backLayer, c, x, y)[0] != 0;
    }

    // The pixels to colour: marks grown by the blur (or the marks themselves).
    std::vector<uint8_t> spread(marks.size(), 0);
    if (b > 0) {
        std::vector<uint8_t> sources(marks.size(), 0);
        for (long r = std::max(0L, g); r <= H - b - 1; ++r) {
            for (long x = std::max(0L, g); x <= W - b - 1; ++x) sources[r * W + x] = marks[r * W + x];
        }
        spread = boxDilate(sources, W, H, static_cast<int>(b));
    } else {
        for (long r = std::max(0L, d); r < H; ++r) {
            for (long x = std::max(0L, d); x < W; ++x) spread[r * W + x] = marks[r * W + x];
        }
    }

    // Window counts from a summed-area table of the marks.
    const size_t W1 = static_cast<size_t>(W) + 1;
    std::vector<int> sum(W1 * (H + 1), 0);
    for (int y = 0; y < H; ++y) {
        int rowSum = 0;
        for (int x = 0; x < W; ++x) {
            rowSum += marks[static_cast<size_t>(y) * W + x];
            sum[(y + 1) * W1 + x + 1] = sum[y * W1 + x + 1] + rowSum;
        }
    }
    auto count = [&](long x0, long y0, long x1, long y1) {  // inclusive, clipped
        x0 = std::max(0L, x0);
        y0 = std::max(0L, y0);
        x1 = std::min<long>(W - 1, x1);
        y1 = std::min<long>(H - 1, y1);
        if (x0 > x1 || y0 > y1) return 0L;
        return static_cast<long>(sum[(y1 + 1) * W1 + x1 + 1] - sum[y0 * W1 + x1 + 1] - sum[(y1 + 1) * W1 + x0] +
                                 sum[y0 * W1 + x0]);
    };

    const Rgb shadow = channels(c.style.ShadowColor);
    Rgb back = channels(c.style.BackColor);
    if (back.r == 0 && back.g == 0 && back.b == 0) back.r = 1;
    auto dark = [t](long S, long E, long K) {
        const long v = ((S - 255) * E + 255 * t) / t + K - 255;
        return static_cast<uint8_t>(v <= 1 ? 1 : v);
    };
    auto light = [t](long S, long E, long K) {
        const long v = (S * E) / t + K;
        return static_cast<uint8_t>(v >= 255 ? 255 : v);
    };

    std::vector<uint8_t> scratch(c.backLayer.size(), 0);
    if (type == 1 || type == 2) {
        for (long r = 0; r < H; ++r) {
            for (long x = std::max(0L, g); x <= W - b - 1; ++x) {
                if (!spread[r * W + x]) continue;
                const long E = count(x - b, r - b, x + b, r + b);
                uint8_t* p = layerPixel(scratch, c, static_cast<int>(x), static_cast<int>(r));
                if (type == 1) {
                    p[0] = dark(shadow.b, E, back.b);
                    p[1] = dark(shadow.g, E, back.g);
                    p[2] = dark(shadow.r, E, back.r);
                } else {
                    p[0] = light(shadow.b, E, back.b);
                    p[1] = light(shadow.g, E, back.g);
                    p[2] = light(shadow.r, E, back.r);
                }
            }
        }
    }
    c.backLayer.swap(scratch);
}

}  // namespace pavrex
