#include "character_stage.h"

#include <algorithm>

#include "bmp_file.h"
#include "character_cutouts.h"

namespace vakuro {

namespace {

// True when some pixel differs from the cut's background colour.
bool hasInk(const QImage& picture, QRgb background) {
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((row[x] & 0xFFFFFF) != (background & 0xFFFFFF)) return true;
    }
    return false;
}

}  // namespace

CharacterStage::CharacterStage(GenerationContext& ctx) : ctx_(ctx) {
    canvas_.width = ctx.frameWidth;
    canvas_.height = ctx.frameHeight;
    clear();
    if (!ctx.cutouts) return;
    const CharacterCutouts& cut = *ctx.cutouts;
    // The cut's background: the base picture's top-left pixel.
    const QRgb background = ctx.basePicture.isNull() ? pixelOf(ctx.backColor()) : ctx.basePicture.pixel(0, 0);
    // The glyph tables have places 0 .. kMaxCutGlyphs: never read beyond.
    for (int t = 1; t <= kMaxCutGlyphs; ++t) {
        const auto found = cut.images.find(QStringLiteral("C%1").arg(t));
        if (found == cut.images.end() || found->second.isNull()) break;
        const QImage picture = found->second.convertToFormat(QImage::Format_RGB32);
        Glyph g;
        g.picture = DibPicture::of(picture);
        g.left = cut.glyphLeft[static_cast<size_t>(t)];
        g.width = cut.glyphWidth[static_cast<size_t>(t)];
        g.ink = hasInk(picture, background);
        glyphs_.push_back(std::move(g));
    }
}

void CharacterStage::clear() { canvas_.fill(ctx_.backColor()); }

void CharacterStage::paste(int t, int x, int y, int w, int h) {
    if (t < 1 || t > count()) return;
    const Glyph& g = glyphs_[static_cast<size_t>(t - 1)];
    if (!g.ink) return;
    PastePicture(ctx_.libraries(), canvas_, g.picture, x, y, w, h, 0);
}

bool CharacterStage::write() {
    if (canvas_.isNull()) return false;
    return bmp::writeBmp(ctx_.workFile.constData(), bmp::makeHeader24(canvas_.width, canvas_.height), {},
                         canvas_.bits);
}

void CharacterStage::publish() {
    if (!canvas_.isNull()) ctx_.effects.canvas = canvas_.toImage();
}

// The frame loop of the three effects: l = 0 .. n at level l * 255 / n.
void playCharacterFrames(GenerationContext& ctx, const EntryTiming& timing,
                         const std::function<bool(CharacterStage&, int)>& frame) {
    CharacterStage stage(ctx);
    for (int l = 0; l <= timing.n; ++l) {
        if (!frame(stage, levelOf(l, timing.n, 255))) {
            ctx.frameFailed();
            break;
        }
        if (!ctx.appendWork(timing.delay)) break;
    }
    stage.publish();
}

}  // namespace vakuro
