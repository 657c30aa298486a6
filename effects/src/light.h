// Light rays streaming from a point through the ink of a 24-bit image.
#pragma once

#include "pixel_image.h"

namespace tesmor {

// The most ink probes that count toward a pixel's light.
inline constexpr int kMaxLightCount = 40;

// The key colour is the bottom-left pixel (the background). For every
// pixel (x, y) (y from the bottom) with dx = lightX - x, dy = lightY - y,
// D = |dx| when |dx| > 1, else 1:
//  1. probes at k = 0, 2, 4, ... while k < |dx|, at column x + k (x < lightX)
//     or x - k (x >= lightX) and row y + floor(|dy| k / D) (y < lightY) or
//     y - floor(|dy| k / D); count the probes not of the key colour,
//     stopping at the first key-coloured probe after at least one counted;
//     count is capped at kMaxLightCount. Probes outside the image are of
//     the key colour.
//  2. with (px, py) the last probe, o = trunc(count - sqrt((x - px)^2
//     + 2 (y - py)^2) falloff / 30), 0 when negative, times strength;
//  3. each channel becomes clamp(p + o, 0, 255).
// Padding bytes are copied.
Image lightRays(ImageView source, int lightX, int lightY, int strength, int falloff);

// The file function. Returns a file_result code.
int lightFile(const char* source, const char* destination, int lightX, int lightY,
              int strength, int falloff);

}  // namespace tesmor
