#include <span>
#include <string>

#include "bmp_file.h"
#include "cp932.h"
#include "steps.h"
#include "tesmor32.h"

namespace pavrex {

void fillFromTexture(RenderContext& c) {
    const std::string path(cp932::readNulField(std::span<const char>(c.style.TextureFile)));
    if (path.empty()) return;
    const bool stretched = c.style.FillType == 6 || c.style.TextureTile == 0;
    // The texture file is stretched in place to the canvas size.
    if (stretched && c.width != 0 && c.height != 0) Zoom(path.c_str(), path.c_str(), c.width, c.height);

    // A texture that cannot be read leaves the ink unpainted. Only what the
    // file really holds is used, whatever its header claims.
    bmp::BmpImage texture;
    if (bmp::readBmp(path.c_str(), texture) != bmp::BmpReadStatus::Ok) return;
    const int tw = texture.width();
    const int th = texture.height();
    const size_t stride = static_cast<size_t>(texture.stride());
    if (tw <= 0 || th <= 0 || texture.pixels.size() < stride * th) return;

    for (int y = 0; y < c.height; ++y) {
        // Stretched: the same position (a texture that could not be brought to
        // the canvas size paints only where it reaches). Tiled: repeated from
        // the bottom-left corner.
        if (stretched && y >= th) break;
        const uint8_t* row = texture.pixels.data() + stride * (stretched ? y : y % th);
        for (int x = 0; x < c.width; ++x) {
            if (stretched && x >= tw) break;
            uint8_t* p = c.pixel(x, y);
            if (p[0] != 0) continue;
            const uint8_t* t = row + 3 * static_cast<size_t>(stretched ? x : x % tw);
            p[0] = t[0];
            p[1] = t[1];
            p[2] = t[2];
        }
    }
}

}  // namespace pavrex
