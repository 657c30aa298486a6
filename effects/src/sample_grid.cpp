#include "sample_grid.h"

namespace tesmor {

Image averageSampleGrid(ImageView source, const std::vector<int>& columns,
                        const std::vector<int>& rows, int n, bool capNearWhite) {
    const int width = static_cast<int>(columns.size()) / n;
    const int height = static_cast<int>(rows.size()) / n;
    const int count = n * n;
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const int* sampleRows = rows.data() + static_cast<ptrdiff_t>(y) * n;
        uint8_t* o = out.row(y);
        for (int x = 0; x < width; ++x) {
            const int* sampleColumns = columns.data() + static_cast<ptrdiff_t>(x) * n;
            int b = 0, g = 0, r = 0;
            for (int k = 0; k < n; ++k) {
                const uint8_t* in = source.row(sampleRows[k]);
                for (int l = 0; l < n; ++l) {
                    const uint8_t* p = in + 3 * sampleColumns[l];
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
            }
            b /= count;
            g /= count;
            r /= count;
            if (capNearWhite && b > 245 && g > 245 && r > 245) b = g = r = 245;
            o[3 * x] = static_cast<uint8_t>(b);
            o[3 * x + 1] = static_cast<uint8_t>(g);
            o[3 * x + 2] = static_cast<uint8_t>(r);
        }
    }
    return out;
}

}  // namespace tesmor
