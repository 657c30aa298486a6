// The program's 48 texture pictures, 160 x 40 pixels each. Texture n is
// shown as resource 195 + n. The tiled ones are periodic by construction;
// the others are pictures meant to be stretched over the text.
#pragma once

#include "raster.h"

namespace vakuro::gen {

inline constexpr int kTextureCount = 48;
inline constexpr int kTextureWidth = 160;
inline constexpr int kTextureHeight = 40;
inline constexpr int kFirstTextureResource = 195;

// True for the textures that the render pipeline repeats over the text
// (7, 8, 9, 13, 14, 15, 16, 20, 21, 22 and 26).
bool textureIsTiled(int n);

// Picture of texture n, 0 <= n < kTextureCount.
Picture makeTexture(int n);

}  // namespace vakuro::gen
