// Kind 11 "スタンドアップ": the whole picture grows upwards from the bottom
// edge, squeezed to a height that follows a quarter sine wave ("タイプ1")
// or overshoots by about 15 % before it settles ("タイプ2"), optionally
// narrowed at its top as if it stood up towards the viewer.
#include <algorithm>
#include <cmath>

#include "generators.h"
#include "picture_painting.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

constexpr double kPi = 3.1415926;

int standHeight(int v, int type, int Hf) {
    if (type == 1) return RoundHalfEven(std::sin(v / 256.0 * kPi * 120 / 180) * Hf * (2 / 1.7320508));
    return RoundHalfEven(std::sin(v / 256.0 * kPi * 0.5) * Hf);
}

// Narrows row E of the squeezed picture by s on each side, s falling from
// k at the top row to about 0 at the bottom row.
void narrowTop(QImage& holder, QImage& copy, int v, int perspective, int Wf, int Hf, QRgb back) {
    const int h = holder.height();
    if (h < 1 || Wf < 2) return;
    const int m = std::min(Hf, Wf);
    const int k = RoundHalfEven(std::cos(v / 256.0 * kPi * 0.5) * m * (perspective + 1) * 0.04);
    const int widest = RoundHalfEven(Wf * 0.5 - 1);
    copy = holder.copy();
    for (int E = 0; E < h; ++E) {
        const int s = std::max(0, std::min(RoundHalfEven(static_cast<double>(h - E) * k / h), widest));
        paintStretched(holder, s, E, Wf - 2 * s, 1, copy, 0, E, Wf - 1, 1);
        fillBox(holder, 0, E, s, E + 1, back);
        fillBox(holder, Wf - s, E, Wf, E + 1, back);
    }
}

}  // namespace

bool standFrame(GenerationContext& ctx, int v, int perspective, int type) {
    const int Wf = ctx.frameWidth;
    const int Hf = ctx.frameHeight;
    const QRgb back = pixelOf(ctx.backColor());
    QImage& canvas = ctx.effects.canvas;
    if (canvas.size() != QSize(Wf, Hf) || canvas.format() != QImage::Format_RGB32)
        canvas = QImage(Wf, Hf, QImage::Format_RGB32);
    const int h = standHeight(v, type, Hf);
    if (h > 0) {
        // A squeeze to height 0 paints nothing: the frame is background only.
        if (ctx.libraries().effects.SReSize(ctx.baseFile.constData(), ctx.workFile.constData(), Wf, h, 2) != 1)
            return false;
        ctx.effects.holder = readPicture(ctx.workFile);
        if (ctx.effects.holder.isNull()) return false;
        if (perspective >= 1) narrowTop(ctx.effects.holder, ctx.effects.copy, v, perspective, Wf, Hf, back);
        const QImage& holder = ctx.effects.holder;
        // The top rows fall outside the frame while the picture overshoots.
        paintStretched(canvas, 0, Hf - h, Wf, h, holder, 0, 0, holder.width(), holder.height());
    }
    fillBox(canvas, 0, 0, Wf, Hf - h, back);
    return ctx.writeCanvas();
}

void generateStand(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int perspective = std::clamp(e[slot::StandPerspective], 0, 10);
    const int type = std::clamp(e[slot::StandType], 0, 1);
    for (int l = 0; l <= timing.n; ++l) {
        if (!standFrame(ctx, levelOf(l, timing.n, 255), perspective, type)) {
            ctx.frameFailed();
            return;
        }
        if (!ctx.appendWork(timing.delay)) return;
    }
}

}  // namespace vakuro
