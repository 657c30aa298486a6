// Painting of the command buttons of the program's own windows: small
// vertical gradients in one of five colour schemes instead of the platform's
// flat button face. The scheme is the settings value "ButtonPaint" (section
// "Setting"): 0 leaves the buttons plain, 1 "Gold", 2 "Silver", 3 "Blue",
// 4 "Green", 5 "Red". Any other value counts as 0.
//
// A painted button draws no text of its own: its caption moves into its
// "tag" property, the caption is cleared and the text is printed into the
// button's picture (the "picture" property, a QImage of the button's size).
// A button whose tag is empty has never been painted. Going back to scheme 0
// puts the tag back as the caption.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

class QPushButton;
class QWidget;

namespace vakuro {

inline constexpr int kButtonSchemeCount = 5;

// The level of pixel row y on a button of the given height:
// round(256 - y * 127 / height), 256 at the top, falling towards 129 at
// y = height. A height below 1 counts as 1.
int ButtonRowLevel(int y, int heightPixels);

// The colour of a row of level h in scheme 1..5 (each channel limited to
// 0..255): 1 (h + 10, h + 10, h - 25), 2 (h, h + 5, h + 15),
// 3 (h - 25, h, h + 35), 4 (h - 15, h + 30, h - 5), 5 (h + 35, h, h).
// Other schemes give the level as grey.
QColor ButtonRowColour(int scheme, int level);

// The picture of a painted button: one line per pixel row in the scheme's
// colours, and the text (mnemonic '&' shown as an underline) printed once
// in black in the font, at x = (width - text width) / 2 - 2 and
// y = (height - text height) / 2 - 1 pixels.
QImage ButtonFacePicture(QSize size, int scheme, const QString& text, const QFont& font);

// Whether the button takes part in the painting: a QPushButton without a
// picture of its own (an icon set by its window is kept).
bool IsPaintableButton(const QPushButton* button);

// Paints or restores every paintable button of the window (the buttons of
// child windows are left to those windows) for the given scheme.
void PaintButtons(QWidget* window, int scheme);

// Reads "ButtonPaint" (default 0) from the settings file and paints the
// window's buttons with it.
void PaintButtons(QWidget* window, const QString& iniPath);

}  // namespace vakuro
