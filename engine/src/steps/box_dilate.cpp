#include "box_dilate.h"

#include <algorithm>

namespace pavrex {
namespace {

// out(x) = 1 when in holds a set byte in columns x - s + 1 ... x + s, from the
// running count of set bytes in that window; s <= width.
void dilateRow(const uint8_t* in, uint8_t* out, int width, int s) {
    int count = 0;
    for (int x = 0; x < s; ++x) count += in[x] != 0;  // the window of x = -1: columns 0 ... s - 1
    int x = 0;
    // Each step the window gains column x + s and loses column x - s.
    for (; x < std::min(s, width - s); ++x) {
        count += in[x + s] != 0;
        out[x] = count > 0;
    }
    for (; x < width - s; ++x) {
        count += (in[x + s] != 0) - (in[x - s] != 0);
        out[x] = count > 0;
    }
    for (; x < width; ++x) {
        if (x - s >= 0) count -= in[x - s] != 0;
        out[x] = count > 0;
    }
}

}  // namespace

void boxDilate(std::vector<uint8_t>& mask, int width, int height, int s) {
    if (s <= 0) {
        std::fill(mask.begin(), mask.end(), 0);
        return;
    }
    // A square wider than the mask covers all of it.
    s = std::min(s, std::max(width, height));
    const auto W = static_cast<size_t>(width);

    std::vector<uint8_t> across(mask.size());
    const int sx = std::min(s, width);
    for (int y = 0; y < height; ++y) dilateRow(mask.data() + y * W, across.data() + y * W, width, sx);

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
        uint8_t* o = mask.data() + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x) o[x] = count[x] > 0;
    }
}

}  // namespace pavrex
