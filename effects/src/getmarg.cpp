#include "getmarg.h"

#include <cstring>

namespace tesmor {
namespace {

bool rowHasInk(ImageView image, int y, const uint8_t* key) {
    const uint8_t* p = image.row(y);
    for (int x = 0; x < image.width; ++x, p += 3) {
        if (std::memcmp(p, key, 3) != 0) return true;
    }
    return false;
}

}  // namespace

Margins keyMargins(ImageView image) {
    const uint8_t* key = image.data;  // bottom-left pixel
    int lowest = 0;
    while (lowest < image.height && !rowHasInk(image, lowest, key)) ++lowest;
    if (lowest == image.height) return {image.height - 1, 0};
    int highest = image.height - 1;
    while (highest > lowest && !rowHasInk(image, highest, key)) --highest;
    return {image.height - 1 - highest, lowest};
}

}  // namespace tesmor
