#include <algorithm>

#include "gradient.h"
#include "steps.h"

namespace pavrex {
namespace {

template <typename ColourOf>
void paintInk(RenderContext& c, ColourOf colourOf) {
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            uint8_t* p = c.pixel(x, y);
            if (p[0] != 0) continue;
            const Rgb v = colourOf(x, y);
            p[0] = static_cast<uint8_t>(v.b);
            p[1] = static_cast<uint8_t>(v.g);
            p[2] = static_cast<uint8_t>(v.r);
        }
    }
}

}  // namespace

void fill(RenderContext& c) {
    const auto& s = c.style;
    const Rgb c1 = channels(s.FillColor1);
    const Rgb c2 = channels(s.FillColor2);
    const Rgb c3 = channels(s.FillColor3);
    const int W = c.width;
    const int H = c.height;
    switch (s.FillType) {
    case 0:
        paintInk(c, [&](int, int) { return c1; });
        break;
    case 1: {
        std::vector<Rgb> columns(W);
        for (int x = 0; x < W; ++x) columns[x] = twoColourColumn(x, W, c1, c2);
        paintInk(c, [&](int x, int) { return columns[x]; });
        break;
    }
    case 2: {
        std::vector<Rgb> columns(W);
        for (int x = 0; x < W; ++x) columns[x] = threeColourColumn(x, W, c1, c2, c3);
        paintInk(c, [&](int x, int) { return columns[x]; });
        break;
    }
    case 3: {
        std::vector<Rgb> rows(H);
        for (int y = 0; y < H; ++y) rows[y] = twoColourRow(y, H, c1, c2);
        paintInk(c, [&](int, int y) { return rows[y]; });
        break;
    }
    case 4: {
        std::vector<Rgb> rows(H);
        for (int y = 0; y < H; ++y) rows[y] = threeColourRow(y, H, c1, c2, c3);
        paintInk(c, [&](int, int y) { return rows[y]; });
        break;
    }
    case 5:
    case 6:
        fillFromTexture(c);
        break;
    default:
        break;  // unknown types leave the ink unpainted
    }
}

}  // namespace pavrex
