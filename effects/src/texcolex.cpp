#include "texcolex.h"

#include <algorithm>
#include <cmath>

namespace tesmor {

Image stripePattern(int width, int height, Colour a, Colour b, int repeat, int angle) {
    const double theta = angle * 0.017453292519943278;
    const double sine = std::sin(theta), cosine = std::cos(theta);
    const double spread = std::fabs(sine) + std::fabs(cosine);
    Image out(width, height);
    for (int i = 0; i < height; ++i) {
        uint8_t* o = out.row(i);
        const double rowPart = sine * (i - height / 2.0);
        for (int j = 0; j < width; ++j, o += 3) {
            const double phase = (rowPart + cosine * (j - width / 2.0) + width * spread / 2) /
                                 width / spread * (repeat + 1.0) * 1.570796326794895;
            const double weightA = std::fabs(std::sin(phase)), weightB = std::fabs(std::cos(phase));
            for (int ch = 0; ch < 3; ++ch) {
                const double v = std::trunc(a.channel(ch) * weightA + b.channel(ch) * weightB);
                o[ch] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return out;
}

int texColExFile(const char* destination, int width, int height, int colourA, int colourB,
                 int repeat, int angle) {
    using namespace texcolex_result;
    if (width < 1 || width > bmp::kMaxSide) return BadWidth;
    if (height < 1 || height > bmp::kMaxSide) return BadHeight;
    if (!bmp::fitsLimits(width, height, 24)) return OutOfMemory;
    const Image pattern =
        stripePattern(width, height, colourOf(colourA), colourOf(colourB), repeat, angle);
    if (!bmp::writeBmp(destination, bmp::makeHeader24(width, height), {}, pattern.data)) return CannotWrite;
    return Ok;
}

}  // namespace tesmor
