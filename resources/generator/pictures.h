// Pictures of the program drawn with Qt: the title screen's background and
// the program icon. No fonts are used, so no application object is needed.
#pragma once

#include <QImage>

namespace vakuro::gen {

inline constexpr int kTitleWidth = 1060;
inline constexpr int kTitleHeight = 260;

// The title screen's background "Back": a light pastel banner with flowing
// ribbons, soft discs and sparkles; no text.
QImage makeTitleBackground();

// The program icon, size x size pixels with transparent corners.
QImage makeIcon(int size);

}  // namespace vakuro::gen
