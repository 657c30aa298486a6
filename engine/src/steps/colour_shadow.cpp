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
    if (b >= W || (type != 1 && type != 2)) {
        // Only columns g ... W - b - 1 are coloured, here none (the window
        // area t below would not even fit 64 bits for the largest blurs);
        // other types colour nothing. The layer is left empty.
        std::fill(c.backLayer.begin(), c.backLayer.end(), 0);
        return;
    }
    const long g = d + b;
    const long t = (2 * b + 1) * (2 * b + 1);

    std::vector<uint8_t> marks(static_cast<size_t>(W) * H, 0);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) marks[static_cast<size_t>(y) * W + x] = layerPixel(c.backLayer, c, x, y)[0] != 0;
    }

    // The pixels to colour: marks grown by the blur (or the marks themselves).
    std::vector<uint8_t> spread(marks.size(), 0);
    if (b > 0) {
        for (long r = std::max(0L, g); r <= H - b - 1; ++r) {
            for (long x = std::max(0L, g); x <= W - b - 1; ++x) spread[r * W + x] = marks[r * W + x];
        }
        boxDilate(spread, W, H, static_cast<int>(b));
    } else {
        for (long r = std::max(0L, d); r < H; ++r) {
            for (long x = std::max(0L, d); x < W; ++x) spread[r * W + x] = marks[r * W + x];
        }
    }

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

    // The colour depends only on E (0 ... t): a table of them for usual blurs.
    auto colourOf = [&](long E, uint8_t* p) {
        if (type == 1) {
            p[0] = dark(shadow.b, E, back.b);
            p[1] = dark(shadow.g, E, back.g);
            p[2] = dark(shadow.r, E, back.r);
        } else {
            p[0] = light(shadow.b, E, back.b);
            p[1] = light(shadow.g, E, back.g);
            p[2] = light(shadow.r, E, back.r);
        }
    };
    constexpr long kLargestTable = 1 << 16;
    std::vector<uint8_t> tones;
    if (t <= kLargestTable) {
        tones.resize(3 * static_cast<size_t>(t + 1));
        for (long E = 0; E <= t; ++E) colourOf(E, tones.data() + 3 * E);
    }

    // The layer is rebuilt from the marks: coloured pixels, zero elsewhere.
    std::fill(c.backLayer.begin(), c.backLayer.end(), 0);

    // E, the marks in the (2b + 1)^2 window around a pixel (clipped to the
    // image), from a running count per column of the marks in rows
    // r - b ... r + b and a running sum of those counts along the row.
    std::vector<long> columnCount(static_cast<size_t>(W), 0);
    std::vector<long> prefix(static_cast<size_t>(W) + 1, 0);
    auto addRow = [&](long r, int sign) {
        const uint8_t* m = marks.data() + static_cast<size_t>(r) * W;
        for (int x = 0; x < W; ++x) columnCount[x] += sign * m[x];
    };
    for (long r = 0; r <= std::min<long>(b, H - 1); ++r) addRow(r, 1);
    const long firstColumn = std::max(0L, g);
    const long lastColumn = W - b - 1;
    for (long r = 0; r < H; ++r) {
        if (r > 0 && r + b < H) addRow(r + b, 1);
        if (r - b - 1 >= 0) addRow(r - b - 1, -1);
        const uint8_t* toColour = spread.data() + static_cast<size_t>(r) * W;
        bool any = false;
        for (long x = firstColumn; x <= lastColumn && !any; ++x) any = toColour[x] != 0;
        if (!any) continue;
        for (int x = 0; x < W; ++x) prefix[x + 1] = prefix[x] + columnCount[x];
        for (long x = firstColumn; x <= lastColumn; ++x) {
            if (!toColour[x]) continue;
            const long E = prefix[std::min<long>(W, x + b + 1)] - prefix[std::max(0L, x - b)];
            uint8_t* p = layerPixel(c.backLayer, c, static_cast<int>(x), static_cast<int>(r));
            if (tones.empty()) {
                colourOf(E, p);
            } else {
                std::copy_n(tones.data() + 3 * E, 3, p);
            }
        }
    }
}

}  // namespace pavrex
