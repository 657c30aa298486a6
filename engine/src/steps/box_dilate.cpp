#include "box_dilate.h"

#include <algorithm>

namespace pavrex {
namespace {

// out[i] = any in[j] for j in [i - s + 1, i + s] along one line of n values.
void dilateLine(const uint8_t* in, uint8_t* out, int n, long step, int s, std::vector<int>& prefix) {
    prefix[0] = 0;
    for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + (in[i * step] != 0);
    for (int i = 0; i < n; ++i) {
        const int lo = std::max(0, i - s + 1);
        const int hi = std::min(n - 1, i + s);
        out[i * step] = lo <= hi && prefix[hi + 1] - prefix[lo] > 0;
    }
}

}  // namespace

std::vector<uint8_t> boxDilate(const std::vector<uint8_t>& mask, int width, int height, int s) {
    std::vector<uint8_t> across(mask.size(), 0);
    std::vector<uint8_t> out(mask.size(), 0);
    if (s <= 0) return out;
    std::vector<int> prefix(static_cast<size_t>(std::max(width, height)) + 1);
    for (int y = 0; y < height; ++y) {
        const size_t row = static_cast<size_t>(y) * width;
        dilateLine(mask.data() + row, across.data() + row, width, 1, s, prefix);
    }
    for (int x = 0; x < width; ++x) dilateLine(across.data() + x, out.data() + x, height, width, s, prefix);
    return out;
}

}  // namespace pavrex
