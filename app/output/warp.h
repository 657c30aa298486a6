// The output transform ("warp"): bends the finished text image into an arch,
// a bowl, a perspective slant, a roof, a chevron or a wave. It works column by
// column: every one-pixel column of the source is drawn into the destination
// at its own top t(i) and bottom b(i), stretched or squeezed to b(i) - t(i)
// rows (each destination pixel is the average of the source pixels under it,
// so a column of unchanged height is copied exactly). The measure pass only computes the height the destination needs (the
// largest b(i), at least 0); the draw pass also draws the columns.
//
// Types: 0 none (a plain vertical stretch by 1 + P1/100 when asked), 1 arch
// (top sags), 2 bowl (bottom rises), 3 free top and bottom curves, 4 and 5
// perspective slants, 6 roof, 7 chevron, 8 wave, 9 wave of one and a half
// periods. The state lives in section "Setting", keys TranslateType and
// TranslateP1..P3 (defaults 0, 50, 50, 50).
#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

namespace vakuro {

// The transform settings.
struct WarpSettings {
    int type = 0;
    int p1 = 50;
    int p2 = 50;
    int p3 = 50;
};

// Reads and writes TranslateType and TranslateP1..P3 in the settings file.
WarpSettings loadWarpSettings(const QString& settingsPath);
void saveWarpSettings(const QString& settingsPath, const WarpSettings& settings);

// One column's place in the destination: rows top up to (not including)
// bottom. bottom <= top means the column draws nothing.
struct WarpColumn {
    int top = 0;
    int bottom = 0;
};

// Column i of a width x height source.
WarpColumn warpColumn(int type, int p1, int p2, int p3, int width, int height, int i);

// The measure pass: the height the destination needs (the largest bottom
// over all columns, at least 0).
int warpHeight(int type, int p1, int p2, int p3, QSize source);

// The size after the transform: the source's width and the measured height.
QSize warpedSize(int type, int p1, int p2, int p3, QSize source);

// The transform's interface as the output run uses it: fills destination with
// background from (0, 0) over the source's width and the destination's full
// height; with draw true also draws every column (clipped to the
// destination); returns the measured height either way. A destination
// narrower than the source, or in another format, is handled by clipping;
// a null destination is only measured.
int warp(const QImage& source, QImage& destination, int type, int p1, int p2, int p3, QRgb background, bool draw);

// Both passes at once: measures, makes a canvas of the source's width and the
// measured height (format RGB32, or ARGB32 when the source has an alpha
// channel), and draws into it. A measured height of 0 gives a null image.
QImage warpImage(const QImage& source, int type, int p1, int p2, int p3, QRgb background);
QImage warpImage(const QImage& source, const WarpSettings& settings, QRgb background);

}  // namespace vakuro
