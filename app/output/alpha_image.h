// Straight-alpha pictures for the formats that carry transparency (PNG, the
// matte GIF, the clipboard's PNG): recovering alpha from two renderings on
// different backgrounds, from a button's shape, and flattening onto a matte.
#pragma once

#include <QImage>

namespace vakuro {

// The two background colours (0x00BBGGRR) the transparent renderings use.
// The engine reads a colour 0 as 1, so "black" is red 1 from the start.
inline constexpr int kAlphaBlack = 0x000001;
inline constexpr int kAlphaWhite = 0xFFFFFF;

// Which background a solution keeps exact where no single alpha fits both.
enum class AlphaFavour {
    Balanced,  // equal errors on both
    Black,     // exact over black: a glow (light the engine adds to the background)
    White,     // exact over white: a dark shadow (light it takes away)
};

// The favour a style's shadow asks for: White for a dark shadow (type 1),
// Black for a glow (type 2), Balanced otherwise.
AlphaFavour alphaFavourForShadow(int shadowType);

// The straight-alpha picture whose composite over blackBack gives onBlack
// and over whiteBack gives onWhite. Per channel the background's share is
// s = (Cw - Cb) / (Kw - Kb); the channels agree wherever the rendering is
// linear in the background, and then alpha = 1 - s and the colour
// (Cb - Kb (1 - alpha)) / alpha reproduce both pictures. Where they differ
// (a coloured shadow or glow: the engine adds light to, or takes it from,
// the background, which no single alpha can express), alpha is 1 minus the
// mean of the smallest and largest share and the colour is the mean of the
// two solutions (Balanced), which halves and balances the error; or alpha is
// 1 minus the smallest share and the colour the solution over the favoured
// background, which is then reproduced exactly (Black, White); shares
// within 2/255 of each other (rounding) are always solved Balanced. Both
// pictures must have the same size; a null picture is returned otherwise.
// Format RGBA8888.
QImage solveAlpha(const QImage& onBlack, const QImage& onWhite, AlphaFavour favour = AlphaFavour::Balanced,
                  int blackBack = kAlphaBlack, int whiteBack = kAlphaWhite);

// An opaque picture made transparent by coverage: coverage is the same size,
// white where the picture is inside its shape, black outside and grey on
// the anti-aliased edge (its green channel is read). Edge pixels are taken
// as a blend of their own colour and outside and un-blended. Format RGBA8888.
QImage applyCoverage(const QImage& opaque, const QImage& coverage, int outside);

// The picture with alpha 255 everywhere. Format RGBA8888.
QImage opaqueRgba(const QImage& picture);

// Flattens a straight-alpha picture onto a matte colour for a GIF: pixels of
// alpha below 128 become exactly the matte colour (the file's transparent
// colour), the others are blended onto the matte. Format RGB32.
QImage flattenOnMatte(const QImage& rgba, int matte);

}  // namespace vakuro
