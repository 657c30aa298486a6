// The file output's calls into the output transform and its settings dialog,
// kept in one place.
#pragma once

#include <QImage>
#include <QPixmap>

#include "warp.h"

class QWidget;

namespace vakuro {

class ProgramState;

// The measure pass: the height after the transform of a width x height image.
int transformHeight(const WarpSettings& warp, int width, int height);

// Measure and draw passes on the background colour (0x00BBGGRR); a null
// image when the measured height is 0.
QImage transformImage(const QImage& source, const WarpSettings& warp, int background);

// Opens the transform settings dialog modally.
void openTransformSettings(ProgramState& state, QWidget* owner);

// The icon of a transform type (null when there is none).
QPixmap transformIcon(int type);

}  // namespace vakuro
