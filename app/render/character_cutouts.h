// SplitCharacterImages: one picture per glyph of the text, cut from
// renderings of that glyph alone, for the animation effects that move
// characters one by one.
#pragma once

#include <array>
#include <map>

#include <QImage>
#include <QString>

#include "program_state.h"

namespace vakuro {

// The glyph tables hold places 0 .. 100; glyphs beyond the 100th get no
// picture.
inline constexpr int kMaxCutGlyphs = 100;

struct CharacterCutouts {
    std::map<QString, QImage> images;  // "C1", "C2", ... by 1-based glyph number
    std::array<int, kMaxCutGlyphs + 1> glyphLeft{};
    std::array<int, kMaxCutGlyphs + 1> glyphWidth{};
    QImage strip;  // 3 x h, its first column in the background colour
};

// Cuts the glyphs of text out of renderings at the animation size
// outputWidth x outputHeight. base is the whole text at that size (its
// top-left pixel gives the background); scale is the animation's width
// scale; splitType 1 takes each glyph's own rendering, 0 the base image's
// pixels. A glyph without ink gets a picture one pixel wide in the
// background colour and width 0, placed where the layout puts it.
CharacterCutouts SplitCharacterImages(ProgramState& state, const QString& text, const QString& workPath,
                                      const QImage& base, int outputWidth, int outputHeight, double scale,
                                      int splitType);

}  // namespace vakuro
