#include "fead.h"

#include <algorithm>
#include <array>

#include "recolour_file.h"

namespace tesmor {

void fade(Image& image, Colour colour, int level, int mode) {
    if (mode != 0 && mode != 1) return;
    const int l = std::clamp(level, 0, 255);
    // The result of every channel value, one table per channel.
    std::array<std::array<uint8_t, 256>, 3> table{};
    for (int ch = 0; ch < 3; ++ch) {
        const int c = colour.channel(ch);
        for (int p = 0; p < 256; ++p) {
            const int value = mode == 0 ? ((255 - l) * c + l * p) / 255 : l * p / 255;
            table[static_cast<size_t>(ch)][static_cast<size_t>(p)] = static_cast<uint8_t>(value);
        }
    }
    for (int y = 0; y < image.height; ++y) {
        uint8_t* p = image.row(y);
        for (int x = 0; x < image.width; ++x, p += 3) {
            if (mode == 1 && colour.matches(p)) continue;
            p[0] = table[0][p[0]];
            p[1] = table[1][p[1]];
            p[2] = table[2][p[2]];
        }
    }
}

int feadFile(const char* source, const char* destination, int colour, int level, int mode) {
    return recolourFile(source, destination,
                        [&](Image& image) { fade(image, colourOf(colour), level, mode); });
}

}  // namespace tesmor
