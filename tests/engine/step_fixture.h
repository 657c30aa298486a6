// Tiny canvases for the rendering-step tests.
#pragma once

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "render.h"
#include "steps/steps.h"

namespace pavrex::testing {

// A canvas drawn from rows given top first: '#' ink (0, 0, 0), '.' white.
inline RenderContext canvasFrom(const std::vector<std::string>& rowsFromTop, int q = 0) {
    RenderContext c;
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    c.style = prepareStyle(s, q);
    c.q = q;
    c.height = static_cast<int>(rowsFromTop.size());
    c.width = static_cast<int>(rowsFromTop[0].size());
    c.stride = 3 * c.width + (4 - (3 * c.width) % 4) % 4;
    c.canvas.assign(static_cast<size_t>(c.stride) * c.height, 255);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (rowsFromTop[c.height - 1 - y][x] == '#') {
                uint8_t* p = c.pixel(x, y);
                p[0] = p[1] = p[2] = 0;
            }
        }
    }
    c.allocateWorkBuffers();
    return c;
}

// A random scatter of ink blobs on a w x h canvas, margins left white.
inline RenderContext randomCanvas(int w, int h, unsigned seed, int margin) {
    std::mt19937 rng(seed);
    std::vector<std::string> rows(h, std::string(w, '.'));
    std::uniform_int_distribution<int> px(margin, w - margin - 1), py(margin, h - margin - 1), len(1, 9);
    for (int blob = 0; blob < w * h / 60; ++blob) {
        const int x = px(rng), y = py(rng), bw = len(rng), bh = len(rng);
        for (int yy = y; yy < std::min(h - margin, y + bh); ++yy)
            for (int xx = x; xx < std::min(w - margin, x + bw); ++xx) rows[yy][xx] = '#';
    }
    return canvasFrom(rows);
}

// Text pixels ('#') and white ('.') of the canvas, top row first.
inline std::vector<std::string> inkPicture(RenderContext& c) {
    std::vector<std::string> rows;
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < c.width; ++x) row += isWhite(c.pixel(x, y)) ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

inline Rgb pixelRgb(RenderContext& c, int x, int y) {
    const uint8_t* p = c.pixel(x, y);
    return {p[2], p[1], p[0]};
}

inline Rgb layerRgb(const RenderContext& c, int x, int y) {
    const uint8_t* p = c.backLayer.data() + static_cast<size_t>(y) * c.stride + 3 * static_cast<size_t>(x);
    return {p[2], p[1], p[0]};
}

}  // namespace pavrex::testing

namespace pavrex {
inline bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline std::ostream& operator<<(std::ostream& o, const Rgb& v) {
    return o << "RGB(" << v.r << ", " << v.g << ", " << v.b << ")";
}
}  // namespace pavrex
