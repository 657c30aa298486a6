#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "steps.h"

namespace pavrex {
namespace {

// One band amount: a multiple of the gloss, plus the row's reflection term.
struct Band {
    int gloss;
    bool reflects;
};
using BandTable = std::array<Band, 9>;  // index k; gloss 0 ends the table

constexpr BandTable kBands[2][3] = {
    // quality 0
    {{{{6, false}, {16, true}, {9, false}}},
     {{{4, false}, {14, true}, {8, false}, {3, false}}},
     {{{6, false}, {13, true}, {8, true}, {6, false}, {4, false}, {2, false}}}},
    // any other quality: wider bands
    {{{{4, false}, {8, false}, {14, true}, {16, true}, {11, false}, {7, false}}},
     {{{3, false}, {6, false}, {9, false}, {11, true}, {14, true}, {10, true}, {7, false}, {3, false}}},
     {{{3, false}, {6, false}, {9, true}, {11, true}, {14, true}, {16, true}, {9, false}, {5, false}, {3, false}}}},
};

const BandTable& bandTable(int quality, int gloss) {
    const int column = gloss <= 3 ? 0 : gloss <= 6 ? 1 : 2;
    return kBands[quality == 0 ? 0 : 1][column];
}

long long reflectionTerm(int y, int H, int reflection) {
    if (!(0.5 * H < y && y < 0.85 * H)) return 0;
    return (40 - 200LL * std::abs(static_cast<int>(0.7 * H) - y) / H) * reflection;
}

}  // namespace

void shapeRelief(RenderContext& c) {
    const auto& s = c.style;
    if (s.ReliefGloss == 0 || s.ReliefOn == 0) return;
    const int W = c.width;
    const int H = c.height;
    const int a = s.ReliefDepth;
    if (a <= 0) return;  // every pixel would get i <= 0: no band
    const int w = static_cast<int>(0.8 * a);
    const float p = 0.2f * static_cast<float>(s.ReliefCurvature) + 1.0f;
    const int limit = static_cast<int>(std::min(2.0 * std::pow(static_cast<double>(a), static_cast<double>(p)), 25.0));
    const int gloss = s.ReliefGloss;
    const BandTable& table = bandTable(c.quality, gloss);

    int run = 0;  // carried from row to row
    for (int y = 1; y < H; ++y) {
        const long long R = reflectionTerm(y, H, s.ReliefReflection);
        int16_t* heights = c.heightMap.data() + static_cast<size_t>(y) * W;
        for (int x = W - 1; x >= 1; --x) {
            if (!c.isText(x, y)) {
                run = -1;
                continue;
            }
            const int i = run < 0 ? a : run;
            if (i <= 0) continue;
            run = i - 1;
            const int k = w - i;
            if (k < 0 || k >= static_cast<int>(table.size()) || table[k].gloss == 0) continue;
            if (heights[x] >= limit) continue;
            const long long amount = static_cast<long long>(table[k].gloss) * gloss + (table[k].reflects ? R : 0);
            heights[x] = static_cast<int16_t>(std::clamp<long long>(heights[x] - amount, INT16_MIN, INT16_MAX));
        }
    }
}

}  // namespace pavrex
