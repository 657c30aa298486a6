// Paths of the program's built-in resources in the Qt resource system.
// Linking the target vakuro_resources embeds them; nothing has to be
// initialised by hand.
#pragma once

#include <QString>

namespace vakuro::resources {

// Resource numbers of the texture pictures: texture n is number
// kFirstTexture + n; kTextureCount of them (160 x 40, 24-bit BMP).
inline constexpr int kFirstTexture = 195;
inline constexpr int kTextureCount = 48;

// Resource numbers of the sounds: 101 title jingle, 102 and 103 its rarer
// variants, 104 the completion sound.
inline constexpr int kTitleJingle = 101;
inline constexpr int kTitleJingleRare = 102;
inline constexpr int kTitleJingleRarest = 103;
inline constexpr int kCompletionSound = 104;

// ":/textures/<number>.bmp"; the file exists for numbers 195 .. 242 only,
// so a loader can count the textures by trying numbers until one is missing.
QString texturePath(int resourceNumber);

// ":/sounds/<number>.wav" for 101 .. 104.
QString soundPath(int resourceNumber);

// The title screen's background picture "Back", 1060 x 260.
inline constexpr char kTitleBackground[] = ":/title/back.png";

// The program icon: 256 x 256, and smaller renderings of the same design.
inline constexpr char kIcon[] = ":/icons/vakuro.png";
inline constexpr char kIcon64[] = ":/icons/vakuro-64.png";
inline constexpr char kIcon32[] = ":/icons/vakuro-32.png";

// The sprites of the snow and illumination effects, greyscale (the red
// channel is the intensity): small snow ball "Snow1D" 5 x 5, large snow
// ball "Snow2" 8 x 8, star glint "Star2" 27 x 27 centred on (13, 13).
inline constexpr char kSnowSmallSprite[] = ":/animation/Snow1D.png";
inline constexpr char kSnowLargeSprite[] = ":/animation/Snow2.png";
inline constexpr char kStarSprite[] = ":/animation/Star2.png";

}  // namespace vakuro::resources
