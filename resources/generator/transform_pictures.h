// The transform dialog's pictures: icons 1-9 (120 x 40) and illustrations
// 1-9 (240 x 75) of the output transform's types, drawn with QPainter on
// QImage (no application object, no fonts: the letters A, B and C of the
// illustrations are drawn as strokes). Icon 0, which holds words, is drawn at
// run time (include/vakuro_transform_pictures.h).
#pragma once

#include <QImage>

namespace vakuro::gen {

inline constexpr int kTransformIconWidth = 120;
inline constexpr int kTransformIconHeight = 40;
inline constexpr int kTransformFigureWidth = 240;
inline constexpr int kTransformFigureHeight = 75;

// The icon of type 1-9: the band bent as that type bends the text.
QImage makeTransformIcon(int type);

// The illustration of type 1-9: the band with its parameters marked by red
// arrows and the letters A, B, C.
QImage makeTransformFigure(int type);

}  // namespace vakuro::gen
