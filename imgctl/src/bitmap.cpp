#include "bitmap.h"

namespace imgctl {

Bitmap makeRgbBitmap(int width, int height) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.rgba.assign(b.pixelCount() * 4, 0);
    for (size_t i = 3; i < b.rgba.size(); i += 4) b.rgba[i] = 255;
    return b;
}

Bitmap expandToRgb(const Bitmap& bitmap) {
    if (!bitmap.indexed) return bitmap;
    Bitmap out = makeRgbBitmap(bitmap.width, bitmap.height);
    const size_t n = bitmap.pixelCount();
    for (size_t i = 0; i < n; ++i) {
        const Rgb c = bitmap.palette[bitmap.indices[i]];
        out.rgba[i * 4 + 0] = c.r;
        out.rgba[i * 4 + 1] = c.g;
        out.rgba[i * 4 + 2] = c.b;
    }
    return out;
}

}  // namespace imgctl
