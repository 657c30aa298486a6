#include "box_dilate.h"

#include <algorithm>

namespace pavrex {

std::vector<uint8_t> boxDilate(const std::vector<uint8_t>& mask, int width, int height, int s) {
    std::vector<uint8_t> out(mask.size(), 0);
    if (s <= 0) return out;
    // A square wider than the mask covers all of it; a smaller bound keeps
    // the window ends within int.
    s = std::min(s, std::max(width, height) + 1);
    const auto W = static_cast<size_t>(width);

    // Across: out(x) is set when a set byte lies in columns x - s + 1 ... x + s,
    // from the running count of set bytes in that window.
    std::vector<uint8_t> across(mask.size(), 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = mask.data() + y * W;
        uint8_t* o = across.data() + y * W;
        int count = 0;
        for (int x = 0; x < std::min(s, width); ++x) count += in[x] != 0;  // window of x = 0: columns 0 ... s
        for (int x = 0; x < width; ++x) {
            if (x + s < width) count += in[x + s] != 0;
            if (x - s >= 0) count -= in[x - s] != 0;
            o[x] = count > 0;
        }
    }
    // Down the columns, row by row: a running count per column of the set
    // bytes in rows y - s + 1 ... y + s.
    std::vector<int> count(W, 0);
    for (int y = 0; y < std::min(s, height); ++y)
        for (size_t x = 0; x < W; ++x) count[x] += across[y * W + x];
    for (int y = 0; y < height; ++y) {
        if (y + s < height) {
            const uint8_t* entering = across.data() + static_cast<size_t>(y + s) * W;
            for (size_t x = 0; x < W; ++x) count[x] += entering[x];
        }
        if (y - s >= 0) {
            const uint8_t* leaving = across.data() + static_cast<size_t>(y - s) * W;
            for (size_t x = 0; x < W; ++x) count[x] -= leaving[x];
        }
        uint8_t* o = out.data() + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x) o[x] = count[x] > 0;
    }
    return out;
}

}  // namespace pavrex
