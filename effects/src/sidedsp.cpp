#include "sidedsp.h"

#include <algorithm>
#include <vector>

#include "recolour_file.h"

namespace tesmor {

void sideReveal(Image& image, int edgeX, int edgeWidth, Colour colour) {
    // The sign-extended low 24 bits.
    const int64_t edge = static_cast<int32_t>(static_cast<uint32_t>(edgeX) << 8) >> 8;
    if (image.width - 1 <= edge) return;  // every column unchanged
    // The weight of the picture in each column and the colour's share.
    struct Column {
        int keep;
        int blend[3];
    };
    std::vector<Column> columns(static_cast<size_t>(image.width));
    for (int x = 0; x < image.width; ++x) {
        int64_t m = 256;
        if (x > edge) m = std::max<int64_t>(0, 256 + 256 * (edge - x) / edgeWidth);
        const auto keep = static_cast<int>(m);
        columns[static_cast<size_t>(x)] = {keep,
                                           {(256 - keep) * colour.b / 256,
                                            (256 - keep) * colour.g / 256,
                                            (256 - keep) * colour.r / 256}};
    }
    for (int y = 0; y < image.height; ++y) {
        uint8_t* p = image.row(y);
        for (const Column& c : columns) {
            for (int ch = 0; ch < 3; ++ch, ++p) {
                *p = static_cast<uint8_t>(c.keep * *p / 256 + c.blend[ch]);
            }
        }
    }
}

int sideDspFile(const char* source, const char* destination, int edgeX, int edgeWidth,
                int colour) {
    if (edgeWidth < 1) return file_result::BadArgument;
    return recolourFile(source, destination, [&](Image& image) {
        sideReveal(image, edgeX, edgeWidth, colourOf(colour));
    });
}

}  // namespace tesmor
