// The window background theme that every window applies when it opens.
//
// The settings value "BackPaint" (section "Setting") is 256 x scheme + level.
// Level 0 leaves the platform's button-face colour as the background. Any
// other level gives a base colour, (level + the scheme's channel offsets), as
// the background, and two bands of 34 one-pixel lines across the window, one
// at the top that darkens towards the top edge and one near the bottom that
// darkens towards the bottom.
#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <functional>

class QWidget;

namespace vakuro {

inline constexpr int kThemeBandLines = 34;

// The colours of a theme.
struct ThemeColours {
    QColor base;                                // the window's background colour
    bool bands = false;                         // false for level 0: no bands
    std::array<QColor, kThemeBandLines> top;    // line j at y = j pixels
    std::array<QColor, kThemeBandLines> bottom; // line j at y = ThemeBottomBandTop(...) + j
};

// Channel offsets (red, green, blue) of the schemes: 1 (40, 0, 0),
// 2 (0, 40, 0), 3 (-20, 0, 40), 4 (35, 35, 0), 5 (0, -10, 40), any other
// (0, 0, 0). The red offset is taken as 0 when level + red offset < 0.
// Channels are clamped to 0..255. A negative BackPaint counts as 0.
// buttonFace is the colour of level 0.
ThemeColours ComputeThemeColours(int backPaint, const QColor& buttonFace);

// The base colour of a BackPaint value; level 0 gives the application
// palette's button colour. BackPaint 868 (scheme 3, level 100) gives
// RGB(80, 100, 140).
QColor ThemeBaseColour(int backPaint);

// The pixel row of the bottom band's first line: the window's height (with
// its frame, as window positions are measured) - 890 twips, 300 twips more
// for the main window, rounded to pixels.
int ThemeBottomBandTop(int windowHeightPixels, bool mainWindow);

// Applies a BackPaint value to a window: its background colour, the two bands
// (painted by a small object installed on the window, so that they come back
// on every repaint; applying again replaces it), the base colour as the
// background of the child controls whose object names begin with "Frame",
// "Optio" or "Check", and a transparent background for those whose names
// begin with "Label" and whose "tag" property is empty. Child windows are left
// alone. Does not paint the buttons.
void ApplyWindowTheme(QWidget* window, int backPaint, bool mainWindow);

// Reads "BackPaint" (section "Setting", default 0) from the settings file,
// applies it with ApplyWindowTheme and then paints the window's buttons with
// the button painter (below). The two-argument form treats the window whose
// object name is "Form100" as the main window.
void PaintWindowBackground(QWidget* window, const QString& iniPath);
void PaintWindowBackground(QWidget* window, const QString& iniPath, bool mainWindow);

// The button painting that PaintWindowBackground ends with: PaintButtons
// (button_painting.h), the "ButtonPaint" schemes. Another painter can stand
// in for it (tests); passing an empty function brings PaintButtons back.
using WindowButtonPainter = std::function<void(QWidget* window, const QString& iniPath)>;
void SetWindowButtonPainter(WindowButtonPainter painter);

// Whether PaintWindowBackground has painted the window, so that a changed
// scheme is to be applied to it too.
bool HasWindowTheme(const QWidget* window);

}  // namespace vakuro
