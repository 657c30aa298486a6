// Kind 12 "スピン": the whole picture turns once about its vertical centre
// line. Its width follows a cosine, so it shows its mirrored back half-way;
// the back can be darkened, and a perspective makes the nearer edge taller.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "generators.h"
#include "picture_painting.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

constexpr double kPi = 3.14159265;

int floorHalf(int x) { return x >= 0 ? x / 2 : -((-x + 1) / 2); }

// Stretches every column of the squeezed picture to a height that falls
// linearly from a at the left edge to b at the right edge, centred.
void perspectiveColumns(QImage& holder, QImage& copy, int v, int perspective, int Wf, int Hf, QRgb back) {
    const int width = holder.width();
    const int m = std::min(Hf, Wf);
    const double sigma = std::sin(v / 255.0 * kPi * 2);
    const int a = RoundHalfEven(m * 0.09 * perspective * sigma + Hf);
    const int b = std::max(RoundHalfEven(Hf - m * 0.09 * perspective * sigma), 1);
    copy = QImage(holder.size(), QImage::Format_RGB32);
    copy.fill(back);
    for (int i = 0; i < width; ++i) {
        const int colH = RoundHalfEven(static_cast<double>(width - i) * a / width + static_cast<double>(b) * i / width);
        if (colH >= 1) paintStretched(copy, i, floorHalf(Hf - colH), 1, colH, holder, i, 0, 1, holder.height());
    }
    std::swap(holder, copy);
}

}  // namespace

bool spinFrame(GenerationContext& ctx, int v, int backBrightness, int perspective) {
    const int Wf = ctx.frameWidth;
    const int Hf = ctx.frameHeight;
    const QRgb back = pixelOf(ctx.backColor());
    const auto& fx = ctx.libraries().effects;
    QImage& canvas = ctx.effects.canvas;
    if (canvas.size() != QSize(Wf, Hf) || canvas.format() != QImage::Format_RGB32)
        canvas = QImage(Wf, Hf, QImage::Format_RGB32);
    canvas.fill(back);
    const int w = RoundHalfEven(std::cos(v / 256.0 * kPi * 2) * Wf);
    const int width = std::abs(w);
    if (width > 0) {
        // A quarter turn (width 0) paints nothing: background only.
        if (fx.SReSize(ctx.baseFile.constData(), ctx.workFile.constData(), width, Hf, 2) != 1) return false;
        ctx.effects.holder = readPicture(ctx.workFile);
        if (ctx.effects.holder.isNull()) return false;
        if (perspective >= 1) perspectiveColumns(ctx.effects.holder, ctx.effects.copy, v, perspective, Wf, Hf, back);
        const QImage& holder = ctx.effects.holder;
        // A negative width shows the back: mirrored left to right.
        paintStretched(canvas, floorHalf(Wf - width), 0, w, Hf, holder, 0, 0, holder.width(), holder.height());
    }
    if (!ctx.writeCanvas()) return false;
    if (backBrightness < 9 && w < 0) {
        // The back, darkened; pixels of the background colour stay.
        if (fx.Fead(ctx.workFile.constData(), ctx.workFile.constData(), ctx.backColor(), backBrightness * 23 + 25, 1) !=
            1)
            return false;
    }
    return true;
}

void generateSpin(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int backBrightness = std::clamp(e[slot::SpinBackBrightness], 0, 9);
    const int perspective = std::clamp(e[slot::SpinPerspective], 0, 10);
    // l = 1 .. n: the first frame is already turned a little.
    for (int l = 1; l <= timing.n; ++l) {
        if (!spinFrame(ctx, levelOf(l, timing.n, 255), backBrightness, perspective)) {
            ctx.frameFailed();
            return;
        }
        if (!ctx.appendWork(timing.delay)) return;
    }
}

}  // namespace vakuro
