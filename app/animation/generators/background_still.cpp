// Kind 2 "背景表示": a frame of the style's background colour only, shown
// for the whole duration of the entry.
#include "generators.h"

#include "shared_routines.h"

namespace vakuro {

void generateBackgroundStill(GenerationContext& ctx, const EntryTiming& timing) {
    QImage& canvas = ctx.effects.canvas;
    canvas = QImage(ctx.frameWidth, ctx.frameHeight, QImage::Format_RGB32);
    canvas.fill(pixelOf(ctx.backColor()));
    if (!ctx.writeCanvas()) {
        ctx.frameFailed();
        return;
    }
    ctx.appendWork(RoundHalfEven(timing.seconds * 100));
}

}  // namespace vakuro
