// Kind 17 "テロップ" (FScroll): the base image scrolls in, out or across
// the frame in one of twelve directions over the entry; the uncovered part
// shows the base background.
#include <algorithm>

#include <QPainter>

#include "effect_steps.h"
#include "generators.h"
#include "shared_routines.h"

namespace vakuro {

void FScroll(GenerationContext& ctx, int i, int direction, int key, const EntryTiming& timing) {
    const int N = std::max(RoundHalfEven(timing.seconds * timing.framesPerSecond - 1), 1);
    const int t = RoundHalfEven(static_cast<double>(i) * 1024 / N);
    const QPoint offset = telopOffset(direction, t, ctx.frameWidth, ctx.frameHeight);
    QImage& canvas = ctx.effects.canvas;
    canvas.fill(pixelOf(key));
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(offset, ctx.basePicture);
}

void generateTelop(GenerationContext& ctx, const EntryTiming& timing) {
    const int direction = std::clamp((*ctx.entry)[slot::TelopDirection], 0, 11);
    for (int i = 0; i <= timing.n; ++i) {
        FScroll(ctx, i, direction, ctx.baseBackground, timing);
        if (!ctx.appendWorkIfMade(ctx.writeCanvas(), timing.delay)) return;
    }
}

}  // namespace vakuro
