// Measuring the key-coloured rows above and below the ink of an image.
#pragma once

#include "pixel_image.h"

namespace tesmor {

namespace getmarg_result {
enum : int {
    Ok = 1,
    NullPointer = -1,
    BadSize = -2,
};
}

struct Margins {
    int top;
    int bottom;
};

// The key colour is the bottom-left pixel of a 24-bit image. bottom is the
// index (from the bottom) of the lowest row holding a pixel of another
// colour, top is height - 1 - the index of the highest such row; so they
// count the key-coloured rows below and above the ink. An image without
// such a pixel gives bottom 0 and top height - 1.
Margins keyMargins(ImageView image);

}  // namespace tesmor
