// The version dialog's animated logo: the program's title in dark ink with a
// blue shadow offset down and right, and a band of light (the shine) that
// runs up through the letters, never outside them.
//
// The pictures combine as light does on paper: the logo is dark on white and
// is multiplied onto the background (white leaves the background as it is);
// the shine is light on black, is multiplied by the letter mask (white
// inside the letters) and is then screened onto the result (black adds
// nothing). On black-and-white pictures multiplying is a bitwise AND and
// screening a bitwise OR; on antialiased edges they stay smooth.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace vakuro {

// The logo picture inside its frame.
inline constexpr QSize kLogoSize{356, 80};

// The shine moves 5 pixels up per tick for 48 ticks, then rests for 24.
inline constexpr int kShineStepPixels = 5;
inline constexpr int kShineMovingTicks = 48;
inline constexpr int kShineCycleTicks = 72;

struct LogoPictures {
    QImage logo;        // the title in dark ink with its blue shadow, on white
    QImage letterMask;  // white inside the ink letters, black elsewhere
};

// Draws the title into pictures of the given size: the ink letters with
// their top-left corner at (60, 120) twips (4, 8 pixels), and the same
// letters in RGB(0, 128, 255) at (72, 132) twips, under them.
LogoPictures DrawLogo(QSize size, const QString& title);

// How far the shine picture lies above the logo's top edge at a counter of
// the shine timer: 5 * min(counter, 48) pixels.
int ShineOffset(int counter);

// The work picture: the shine picture moved up by offset pixels (rows below
// its end are black), multiplied by the letter mask.
QImage ShineInLetters(const QImage& shine, const QImage& letterMask, int offset);

// The visible logo: the background colour, multiplied by the logo, with the
// work picture screened on.
QImage ComposeLogo(const QColor& background, const QImage& logo, const QImage& work);

// The shine picture from the program's resources, or a black picture (no
// shine) of the logo's width when the resource is missing.
QImage LoadShinePicture();

}  // namespace vakuro
