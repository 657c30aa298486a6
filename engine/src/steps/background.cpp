#include "steps.h"

namespace pavrex {

void paintBackground(RenderContext& c) {
    const Rgb back = channels(c.style.BackColor);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            uint8_t* p = layerPixel(c.backLayer, c, x, y);
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
                p[0] = static_cast<uint8_t>(back.b);
                p[1] = static_cast<uint8_t>(back.g);
                p[2] = static_cast<uint8_t>(back.r);
            }
        }
    }
}

}  // namespace pavrex
