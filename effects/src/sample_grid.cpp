#include "sample_grid.h"

#include "exact_divider.h"

namespace tesmor {
namespace {

// Whether every run of n consecutive indices names a single index.
bool eachGroupIsOneIndex(const std::vector<int>& indices, int n) {
    for (size_t i = 0; i < indices.size(); ++i)
        if (indices[i] != indices[i - i % static_cast<size_t>(n)]) return false;
    return true;
}

}  // namespace

Image averageSampleGrid(ImageView source, const std::vector<int>& columns,
                        const std::vector<int>& rows, int n, bool capNearWhite) {
    const int width = static_cast<int>(columns.size()) / n;
    const int height = static_cast<int>(rows.size()) / n;
    // A channel sum is at most 255 * 15 * 15.
    const ExactDivider divider(static_cast<uint32_t>(n * n));
    std::vector<ptrdiff_t> columnBytes(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) columnBytes[i] = 3 * static_cast<ptrdiff_t>(columns[i]);
    std::vector<const uint8_t*> sampleRows(static_cast<size_t>(n));

    Image out(width, height);
    if (eachGroupIsOneIndex(columns, n) && eachGroupIsOneIndex(rows, n)) {
        // n x n samples of one pixel average to that pixel (an unchanged
        // size, or a whole-number enlargement): no sums needed.
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = source.row(rows[static_cast<size_t>(y) * n]);
            uint8_t* o = out.row(y);
            for (int x = 0; x < width; ++x, o += 3) {
                const uint8_t* p = in + columnBytes[static_cast<size_t>(x) * n];
                const bool capped = capNearWhite && p[0] > 245 && p[1] > 245 && p[2] > 245;
                for (int ch = 0; ch < 3; ++ch) o[ch] = capped ? 245 : p[ch];
            }
        }
        return out;
    }
    for (int y = 0; y < height; ++y) {
        for (int k = 0; k < n; ++k) {
            sampleRows[static_cast<size_t>(k)] = source.row(rows[static_cast<size_t>(y) * n + k]);
        }
        uint8_t* o = out.row(y);
        for (int x = 0; x < width; ++x, o += 3) {
            const ptrdiff_t* offsets = columnBytes.data() + static_cast<ptrdiff_t>(x) * n;
            uint32_t b = 0, g = 0, r = 0;
            for (const uint8_t* in : sampleRows) {
                for (int l = 0; l < n; ++l) {
                    const uint8_t* p = in + offsets[l];
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
            }
            b = divider.divide(b);
            g = divider.divide(g);
            r = divider.divide(r);
            if (capNearWhite && b > 245 && g > 245 && r > 245) b = g = r = 245;
            o[0] = static_cast<uint8_t>(b);
            o[1] = static_cast<uint8_t>(g);
            o[2] = static_cast<uint8_t>(r);
        }
    }
    return out;
}

}  // namespace tesmor
