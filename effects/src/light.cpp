#include "light.h"

#include <algorithm>
#include <cmath>

#include "recolour_file.h"

namespace tesmor {
namespace {

struct March {
    int count;    // probes of ink, capped
    int64_t px;   // last probe
    int64_t py;
};

// The probe march of one pixel toward the light. Column and row move
// monotonically toward the light, so once a probe leaves the image every
// later one lies outside too: the march ends there, or, when no ink has
// been met, jumps to the last probe (only its position still matters).
March marchTowardLight(ImageView image, const uint8_t* key, int x, int y, int64_t lightX,
                       int64_t lightY) {
    const int64_t dx = lightX - x, dy = lightY - y;
    // Both below 2^32, so |dy| * k (k < |dx|) fits in 64 bits.
    const uint64_t adx = static_cast<uint64_t>(dx < 0 ? -dx : dx);
    const uint64_t ady = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    const uint64_t d = adx > 1 ? adx : 1;
    const int64_t stepX = x < lightX ? 1 : -1;
    const int64_t stepY = y < lightY ? 1 : -1;
    const auto probeAt = [&](uint64_t k) {
        return std::pair<int64_t, int64_t>{x + stepX * static_cast<int64_t>(k),
                                           y + stepY * static_cast<int64_t>(ady * k / d)};
    };

    // The row offset floor(|dy| k / D) is stepped exactly without a
    // division per probe: each step of k by 2 adds q rows and r / D.
    const uint64_t q = 2 * ady / d, r = 2 * ady % d;
    uint64_t rise = 0, remainder = 0;
    March m{0, x, y};
    for (uint64_t k = 0; k < adx; k += 2) {
        const int64_t col = x + stepX * static_cast<int64_t>(k);
        const int64_t row = y + stepY * static_cast<int64_t>(rise);
        m.px = col;
        m.py = row;
        const bool inside = col >= 0 && col < image.width && row >= 0 && row < image.height;
        if (inside) {
            const uint8_t* p = image.pixel(static_cast<int>(col), static_cast<int>(row));
            if (p[0] != key[0] || p[1] != key[1] || p[2] != key[2]) {
                ++m.count;
            } else if (m.count > 0) {
                break;  // a key-coloured probe after ink
            }
        } else {
            if (m.count == 0) {
                const auto [lastCol, lastRow] = probeAt((adx - 1) & ~uint64_t{1});
                m.px = lastCol;
                m.py = lastRow;
            }
            break;
        }
        rise += q;
        remainder += r;
        if (remainder >= d) {
            ++rise;
            remainder -= d;
        }
    }
    m.count = std::min(m.count, kMaxLightCount);
    return m;
}

}  // namespace

Image lightRays(ImageView source, int lightX, int lightY, int strength, int falloff) {
    Image out(source.width, source.height);
    std::copy(source.data, source.data + out.data.size(), out.data.begin());
    const uint8_t* key = source.pixel(0, 0);
    for (int y = 0; y < source.height; ++y) {
        uint8_t* o = out.row(y);
        for (int x = 0; x < source.width; ++x, o += 3) {
            const March m = marchTowardLight(source, key, x, y, lightX, lightY);
            const double ex = static_cast<double>(x - m.px);
            const double ey = static_cast<double>(y - m.py);
            double brightness = std::trunc(m.count - std::sqrt(ex * ex + 2 * ey * ey) * falloff / 30);
            if (!(brightness > 0)) continue;  // 0 or negative: unchanged
            // Beyond +-255 every channel saturates alike.
            brightness = std::clamp(brightness * strength, -255.0, 255.0);
            const int add = static_cast<int>(brightness);
            for (int ch = 0; ch < 3; ++ch) o[ch] = static_cast<uint8_t>(std::clamp(o[ch] + add, 0, 255));
        }
    }
    return out;
}

int lightFile(const char* source, const char* destination, int lightX, int lightY,
              int strength, int falloff) {
    return recolourFile(source, destination, [&](Image& image) {
        image = lightRays(image.view(), lightX, lightY, strength, falloff);
    });
}

}  // namespace tesmor
