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

}  // namespace vakuro::resources
