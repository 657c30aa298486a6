#include "zoom.h"

#include <algorithm>

#include "exact_divider.h"
#include "file_op.h"

namespace tesmor {
namespace {

// Where one output column (or row) samples and how far it lies towards the
// next source column: first and second source index and fraction f.
struct Tap {
    int first;
    int second;
    int64_t f;
};

// sourceSize >= 1, newSize >= 1.
std::vector<Tap> taps(int64_t sourceSize, int64_t newSize) {
    std::vector<Tap> result(static_cast<size_t>(newSize));
    if (sourceSize == 1) {
        for (Tap& t : result) t = {0, 0, 0};
        return result;
    }
    const int64_t cap = newSize / sourceSize;
    for (int64_t i = 0; i < newSize; ++i) {
        const int64_t s = i * (sourceSize - 1) / newSize;  // at most sourceSize - 2
        const int64_t f = std::clamp<int64_t>(i - s * newSize / (sourceSize - 1), 0, cap);
        result[static_cast<size_t>(i)] = {static_cast<int>(s), static_cast<int>(s + 1), f};
    }
    return result;
}

class WideDivider {
public:
    explicit WideDivider(uint64_t d) : d_(d) {}
    uint64_t divide(uint64_t n) const { return n / d_; }

private:
    uint64_t d_;
};

// The weighted sum of one channel never exceeds 255 * sx * sy, so 32-bit
// arithmetic is used whenever that fits (every zoom the program makes) and
// 64 bits otherwise. Since all terms are non-negative,
// floor(floor(sum / sx) / sy) = floor(sum / (sx * sy)): one division.
template <class Wide, class Divider>
void zoomRows(ImageView source, Image& out, int64_t sx, int64_t sy, const std::vector<Tap>& columns,
              const std::vector<Tap>& rows) {
    const Divider divider(static_cast<Wide>(sx * sy));
    for (int y = 0; y < out.height; ++y) {
        const Tap& row = rows[static_cast<size_t>(y)];
        const uint8_t* lower = source.row(row.first);
        const uint8_t* upper = source.row(row.second);
        const auto below = static_cast<Wide>(sy - 10 * row.f);  // weight of the first row
        const auto above = static_cast<Wide>(10 * row.f);       // weight of the second row
        uint8_t* o = out.row(y);
        for (int x = 0; x < out.width; ++x, o += 3) {
            const Tap& column = columns[static_cast<size_t>(x)];
            const uint8_t* p00 = lower + 3 * column.first;
            if (column.f == 0 && row.f == 0) {  // all the weight on one pixel
                o[0] = p00[0];
                o[1] = p00[1];
                o[2] = p00[2];
                continue;
            }
            const auto left = static_cast<Wide>(sx - 10 * column.f);
            const auto right = static_cast<Wide>(10 * column.f);
            const Wide w00 = left * below, w10 = right * below;
            const Wide w01 = left * above, w11 = right * above;
            const uint8_t* p10 = lower + 3 * column.second;
            const uint8_t* p01 = upper + 3 * column.first;
            const uint8_t* p11 = upper + 3 * column.second;
            for (int c = 0; c < 3; ++c) {
                const Wide sum = w00 * p00[c] + w10 * p10[c] + w01 * p01[c] + w11 * p11[c];
                o[c] = static_cast<uint8_t>(std::min<Wide>(divider.divide(sum), 255));
            }
        }
    }
}

}  // namespace

Image zoomBilinear(ImageView source, int newWidth, int newHeight) {
    const int64_t sx = std::max<int64_t>(1, int64_t{10} * newWidth / source.width);
    const int64_t sy = std::max<int64_t>(1, int64_t{10} * newHeight / source.height);
    const std::vector<Tap> columns = taps(source.width, newWidth);
    const std::vector<Tap> rows = taps(source.height, newHeight);
    Image out(newWidth, newHeight);
    if (255 * sx * sy <= int64_t{UINT32_MAX}) {
        zoomRows<uint32_t, ExactDivider>(source, out, sx, sy, columns, rows);
    } else {
        zoomRows<uint64_t, WideDivider>(source, out, sx, sy, columns, rows);
    }
    return out;
}

int zoomFile(const char* source, const char* destination, int newWidth, int newHeight) {
    using namespace zoom_result;
    if (newWidth < 1) return BadWidth;
    if (newHeight < 1) return BadHeight;
    static constexpr SourceCodes kCodes{CannotOpen, ShortHeader, NotBm,   NotBm,
                                        Compressed, Not24Bit,    Damaged, OutOfMemory};
    bmp::BmpImage image;
    const int read = sourceCode(bmp::readBmp(source, image), kCodes);
    if (read != kSuccess) return read;
    if (!bmp::fitsLimits(newWidth, newHeight, 24)) return OutOfMemory;

    const Image result = zoomBilinear(viewOf(image), newWidth, newHeight);
    if (!writeResult(destination, image, result, false)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
