// The stage of the per-character effects (drop, slide, trump): the canvas
// of the frame and the character pictures cut from the text, both in the
// libraries' pixel layout so that the keyed pastes of a frame need no
// conversions.
#pragma once

#include <functional>
#include <vector>

#include "dib_image.h"
#include "generation_context.h"

namespace vakuro {

class CharacterStage {
public:
    // Takes the character pictures "C1" .. "CN" and the glyph tables of
    // ctx.cutouts (at most kMaxCutGlyphs; N stops at the first missing
    // picture) and a canvas of the frame size.
    explicit CharacterStage(GenerationContext& ctx);

    // N, the number of characters of the effect.
    int count() const { return static_cast<int>(glyphs_.size()); }
    // GlyphLeft[t] and GlyphWidth[t] for t = 1 .. count().
    int left(int t) const { return glyphs_[static_cast<size_t>(t - 1)].left; }
    int width(int t) const { return glyphs_[static_cast<size_t>(t - 1)].width; }
    int frameWidth() const { return canvas_.width; }
    int frameHeight() const { return canvas_.height; }

    // Starts a frame: the canvas in the style's background colour.
    void clear();
    // Pastes character t keyed (PastePicture): stretched to w x h at (x, y),
    // 0 standing for the picture's own size, negative sizes mirroring. A
    // character without ink (a blank) is not pasted: it would only put
    // background pixels over whatever has the key colour.
    void paste(int t, int x, int y, int w, int h);
    // Writes the canvas to the work file. False when it could not be
    // written.
    bool write();
    // Hands the last frame to the window's canvas picture ("DB2").
    void publish();

private:
    struct Glyph {
        DibPicture picture;
        int left = 0;
        int width = 0;
        bool ink = false;
    };
    GenerationContext& ctx_;
    std::vector<Glyph> glyphs_;
    DibPicture canvas_;
};

// Makes the frames l = 0 .. n of a per-character entry: frame(stage, v)
// draws and writes the frame at level v.
void playCharacterFrames(GenerationContext& ctx, const EntryTiming& timing,
                         const std::function<bool(CharacterStage&, int)>& frame);

// One frame of each effect on the stage, written to the work file; false
// when it could not be written.
bool dropFrame(CharacterStage& stage, int v, int gravity, int interval);
bool slideFrame(CharacterStage& stage, int v, int direction, int spacing);
bool tranpFrame(CharacterStage& stage, int v, int type, int turns, int interval);

}  // namespace vakuro
