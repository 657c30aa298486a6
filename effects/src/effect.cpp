#include "effect.h"

#include <algorithm>
#include <array>

#include "file_op.h"

namespace tesmor {
namespace {

// The sharpened value of byte t from A (the neighbours greater than t),
// S (the weighted neighbour sum) and s (see adjustBytes).
int64_t sharpened(int64_t t, int above, int64_t sum, int64_t s) {
    switch (above) {
        case 1:
        case 7: return (t * (5 * s + 256) - sum * s / 4) >> 8;
        case 2:
        case 6: return (t * (10 * s + 256) - s * sum / 2) >> 8;
        case 3:
        case 4:
        case 5: return (t * (20 * s + 256) - s * sum) >> 8;
        default: return t;
    }
}

}  // namespace

Image adjustBytes(ImageView source, int brightness, int contrast, int sharpen) {
    const int64_t factor = int64_t{contrast} + 256;
    const auto map = [&](int64_t t) {
        return static_cast<uint8_t>(
            std::clamp<int64_t>(((factor * (t - 128)) >> 8) + brightness + 128, 0, 255));
    };
    std::array<uint8_t, 256> mapped{};
    for (int t = 0; t < 256; ++t) mapped[static_cast<size_t>(t)] = map(t);

    Image out(source.width, source.height);
    const int stride = source.stride();
    for (int y = 0; y < source.height; ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* o = out.row(y);
        for (int i = 0; i < stride; ++i) o[i] = mapped[in[i]];
        if (sharpen == 0 || y == 0 || y == source.height - 1) continue;
        const uint8_t* below = source.row(y - 1);
        const uint8_t* above = source.row(y + 1);
        for (int i = 3; i < stride - 3; ++i) {
            const int t = in[i];
            const int l = in[i - 3], r = in[i + 3], a = above[i], b = below[i];
            const int al = above[i - 3], ar = above[i + 3], bl = below[i - 3], br = below[i + 3];
            const int count = (l > t) + (r > t) + (a > t) + (b > t) + (al > t) + (ar > t) +
                              (bl > t) + (br > t);
            if (count == 0 || count == 8) continue;  // t stays: already mapped
            const int64_t sum = 3 * (l + r + a + b) + 2 * (al + ar + bl + br);
            o[i] = map(sharpened(t, count, sum, sharpen));
        }
    }
    return out;
}

int effectFile(const char* source, const char* destination, int brightness, int contrast,
               int sharpen) {
    using namespace effect_result;
    static constexpr SourceCodes kCodes{CannotOpen, CannotOpen, NotBm,   NotBm,
                                        Compressed, Not24Bit,   Damaged, OutOfMemory};
    bmp::BmpImage file;
    const int read = sourceCode(bmp::readBmp(source, file), kCodes);
    if (read != kSuccess) return read;
    const Image result = adjustBytes(viewOf(file), brightness, contrast, sharpen);
    if (!writeResult(destination, file, result, true)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
