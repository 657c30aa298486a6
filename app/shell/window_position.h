// Window positions in section "Window" of the settings file.
//
// Each numbered window keeps its position under "F" + its three-digit number
// + "_TOP" and "_LEFT" (e.g. "F030_TOP", "F030_LEFT"), in twips (15 twips per
// pixel), measured from the top-left corner of the desktop to the top-left
// corner of the window's frame.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace vakuro {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded (halves to even); pixels to twips.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// Where a window of the given frame size opens: top and left from the stored
// twips when there are any, else centred on the screen; with keepOnScreen, a
// window whose bottom or right edge lies beyond the screen's moves up or left
// so that it ends at the screen's edge. Negative positions are not corrected.
QPoint RestoredWindowPosition(const QRect& screen, const QSize& frameSize, std::optional<int> topTwips,
                              std::optional<int> leftTwips, bool keepOnScreen);

// Moves the window to its stored position: top from "F<number>_TOP", left
// from "F<number>_Left" (section "Window"), as RestoredWindowPosition on the
// window's screen (the primary screen when it has none yet).
void RestoreWindowPosition(QWidget* w, const QString& iniPath, const QString& number, bool keepOnScreen);

// Stores the window's position: "F<number>_TOP" := max(0, top) and
// "F<number>_LEFT" := max(0, left), in whole twips.
void StoreWindowPosition(const QWidget* w, const QString& iniPath, const QString& number);

}  // namespace vakuro
