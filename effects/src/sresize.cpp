#include "sresize.h"

#include <algorithm>
#include <cstdlib>

#include "file_op.h"
#include "sample_grid.h"

namespace tesmor {

int sReSizeGrid(int samples) { return samples <= 0 ? 4 : std::min(samples, 15); }

Image superSample(ImageView source, int newWidth, int newHeight, int n) {
    const bool mirrored = newWidth < 0;
    const int64_t width = std::abs(int64_t{newWidth});
    std::vector<int> columns(static_cast<size_t>(width * n));
    for (int64_t x = 0; x < width; ++x) {
        const int64_t xs = mirrored ? width - 1 - x : x;
        for (int l = 0; l < n; ++l) {
            columns[static_cast<size_t>(x * n + l)] =
                static_cast<int>((xs * n + l) * source.width / (n * width));
        }
    }
    std::vector<int> rows(static_cast<size_t>(int64_t{newHeight} * n));
    for (int64_t y = 0; y < newHeight; ++y) {
        for (int k = 0; k < n; ++k) {
            rows[static_cast<size_t>(y * n + k)] =
                static_cast<int>((y * n + k) * source.height / (int64_t{n} * newHeight));
        }
    }
    return averageSampleGrid(source, columns, rows, n, n == 3);
}

int sReSizeFile(const char* source, const char* destination, int newWidth, int newHeight,
                int samples) {
    using namespace supersample_result;
    if (newWidth != 0 || newHeight != 0) {
        if (newWidth == 0) return BadWidth;  // a negative width mirrors
        if (newHeight < 1) return BadHeight;
    }
    bmp::BmpImage image;
    const int read = sourceCode(bmp::readBmp(source, image), kSupersampleCodes);
    if (read != kSuccess) return read;

    const TargetSize size = resolveHalfSize(newWidth, newHeight, image.width(), image.height());
    if (size.width == 0) return BadWidth;
    if (size.height < 1) return BadHeight;
    if (!bmp::fitsLimits(std::abs(int64_t{size.width}), size.height, 24)) return OutOfMemory;

    const Image result = superSample(viewOf(image), size.width, size.height, sReSizeGrid(samples));
    if (!writeResult(destination, image, result, false)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
