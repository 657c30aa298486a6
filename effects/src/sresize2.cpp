#include "sresize2.h"

#include <algorithm>

#include "file_op.h"
#include "sample_grid.h"

namespace tesmor {

int sReSize2Grid(int samples) { return samples < 1 ? 5 : std::min(samples, 15); }

bool windowInside(const Window& window, int width, int height) {
    return window.left >= 0 && window.top >= 0 && window.width >= 1 && window.height >= 1 &&
           int64_t{window.left} + window.width <= width &&
           int64_t{window.top} + window.height <= height;
}

Image superSampleWindow(ImageView source, const Window& window, int newWidth, int newHeight,
                        int n) {
    std::vector<int> columns(static_cast<size_t>(int64_t{newWidth} * n));
    for (int64_t x = 0; x < newWidth; ++x) {
        for (int l = 0; l < n; ++l) {
            columns[static_cast<size_t>(x * n + l)] =
                window.left + static_cast<int>((x * n + l) * window.width / (int64_t{n} * newWidth));
        }
    }
    const int windowBottom = source.height - window.top - window.height;
    std::vector<int> rows(static_cast<size_t>(int64_t{newHeight} * n));
    for (int64_t y = 0; y < newHeight; ++y) {
        for (int k = 0; k < n; ++k) {
            rows[static_cast<size_t>(y * n + k)] =
                windowBottom +
                static_cast<int>((y * n + k) * window.height / (int64_t{n} * newHeight));
        }
    }
    return averageSampleGrid(source, columns, rows, n, false);
}

int sReSize2File(const char* source, const char* destination, const Window& window,
                 int newWidth, int newHeight, int samples) {
    using namespace supersample_result;
    if (newWidth != 0 || newHeight != 0) {
        if (newWidth < 1) return BadWidth;
        if (newHeight < 1) return BadHeight;
    }
    bmp::BmpImage image;
    const int read = sourceCode(bmp::readBmp(source, image), kSupersampleCodes);
    if (read != kSuccess) return read;
    if (!windowInside(window, image.width(), image.height())) return WindowOutside;

    // Both sizes 0: half the size of the source (not of the window).
    const TargetSize size = resolveHalfSize(newWidth, newHeight, image.width(), image.height());
    if (size.width < 1) return BadWidth;
    if (size.height < 1) return BadHeight;
    if (!bmp::fitsLimits(size.width, size.height, 24)) return OutOfMemory;

    const Image result = superSampleWindow(viewOf(image), window, size.width, size.height,
                                           sReSize2Grid(samples));
    if (!writeResult(destination, image, result, false)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
