// The sprites of the snow and illumination effects, small greyscale
// pictures (black is no light; the effects read the red channel as an
// intensity):
//   "Snow1D" 5 x 5, a small soft snow ball;
//   "Snow2"  8 x 8, a large soft snow ball;
//   "Star2"  27 x 27, a star glint: a bright core, four long rays and four
//            short diagonal ones, centred on pixel (13, 13), with at most
//            300 lit pixels (the effect paints up to 301).
#pragma once

#include <QImage>

namespace vakuro::gen {

inline constexpr int kStarSpriteSize = 27;
inline constexpr int kStarSpriteMaxLit = 300;

QImage makeSnowSmallSprite();
QImage makeSnowLargeSprite();
QImage makeStarSprite();

}  // namespace vakuro::gen
