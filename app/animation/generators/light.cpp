// Kind 7 "ライト" (FLight): a band of light sweeps across the text from
// left to right, frame l = 0 .. n at position p = l x 1000 / n. Only pixels
// below a text pixel of the mask are lit. The mask is made on the first
// frame: the text rendered again without its shadow (so that the shadow is
// not lit), or the base image itself when the style has no shadow or the
// unlit parts become background. With "照明が当たらない部分は背景色にする"
// the frame shows only the lit part of the text on the background colour.
#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "dispatch.h"
#include "effect_steps.h"
#include "generators.h"
#include "render_pipeline.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

// Puts the style's shadow type and the render holder back however the
// mask rendering ends.
class ShadowTypeRestorer {
public:
    explicit ShadowTypeRestorer(GenerationContext& ctx)
        : ctx_(ctx), shadowType_(ctx.state.style.ShadowType),
          holder_(ctx.renderer ? ctx.renderer->holder() : QImage()) {}
    ~ShadowTypeRestorer() {
        ctx_.state.style.ShadowType = shadowType_;
        if (ctx_.renderer) ctx_.renderer->setHolder(holder_);
    }
    ShadowTypeRestorer(const ShadowTypeRestorer&) = delete;
    ShadowTypeRestorer& operator=(const ShadowTypeRestorer&) = delete;

private:
    GenerationContext& ctx_;
    decltype(PavrexStyle::ShadowType) shadowType_;
    QImage holder_;
};

// The mask of a light entry: the text without its shadow at frame size, or
// the base image. A rendering that fails or comes out at another size
// leaves the base image as the mask.
QImage makeMask(GenerationContext& ctx) {
    const ScheduleEntry& e = *ctx.entry;
    if (ctx.state.style.ShadowType == 0 || e[slot::LightUnlitBackground] != 0) return ctx.basePicture;
    QImage mask;
    {
        ShadowTypeRestorer restore(ctx);
        ctx.state.style.ShadowType = 0;
        QFile::remove(ctx.workPath);
        ctx.renderText(ctx.workPath, 0, 1);
        if (QFileInfo(ctx.workPath).isFile() && ctx.resizeToOutput(ctx.workFile) == 1)
            mask = GenerationContext::loadPicture(ctx.workPath);
    }
    if (mask.width() != ctx.frameWidth || mask.height() != ctx.frameHeight) return ctx.basePicture;
    return mask;
}

}  // namespace

void FLight(GenerationContext& ctx, int colour, int p) {
    const ScheduleEntry& e = *ctx.entry;
    const int range = std::clamp(e[slot::LightRange], 0, 9);
    const int brightness = std::clamp(e[slot::LightBrightness], 0, 9);
    const int tilt = std::clamp(e[slot::LightTilt], -2, 2);
    const bool unlitBackground = e[slot::LightUnlitBackground] != 0;
    const int Wf = ctx.frameWidth, Hf = ctx.frameHeight;

    QImage& canvas = ctx.effects.canvas;
    canvas = ctx.basePicture.copy();
    if (p == 0 || ctx.effects.lightMask.size() != canvas.size()) ctx.effects.lightMask = makeMask(ctx);
    const QImage& mask = ctx.effects.lightMask;

    // The key colour: the background as the engine paints it (0 becomes 1).
    const int k = colour == 0 ? 1 : colour;
    const QRgb key = pixelOf(k);
    const double kc[3] = {double(k & 0xFF), double((k >> 8) & 0xFF), double((k >> 16) & 0xFF)};
    if (unlitBackground) canvas.fill(pixelOf(ctx.backColor()));

    const double bw = lightBandWidth(range);
    const double qScale = 0.5 / (range + 1);
    for (int y = 1; y < Hf; ++y) {
        const double cx = lightBandCentre(p, Wf, range, tilt, y);
        // I > 0 only where |x - cx| < bw.
        const int first = std::max(1, static_cast<int>(std::floor(cx - bw)));
        const int last = std::min(Wf - 1, static_cast<int>(std::ceil(cx + bw)));
        const auto* above = reinterpret_cast<const QRgb*>(mask.constScanLine(y - 1));
        const auto* maskRow = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = first; x <= last; ++x) {
            const double q = std::abs(x - cx) * qScale;
            const double I = 155 - 2.9 * std::pow(q, 2.5);
            if (I <= 0) continue;
            if (above[x] == key) continue;  // background in the mask
            const int L = std::clamp(RoundHalfEven(I + brightness * 20), 0, 255);
            if (unlitBackground) {
                const double a = L / 255.0;
                const QRgb m = maskRow[x];
                row[x] = qRgb(RoundHalfEven((1 - a) * kc[0] + a * qRed(m)),
                              RoundHalfEven((1 - a) * kc[1] + a * qGreen(m)),
                              RoundHalfEven((1 - a) * kc[2] + a * qBlue(m)));
            } else {
                const QRgb b = row[x];
                const double keep = (255.0 - L) / 255;
                row[x] = qRgb(RoundHalfEven(qRed(b) * keep + L), RoundHalfEven(qGreen(b) * keep + L),
                              RoundHalfEven(qBlue(b) * keep + L));
            }
        }
    }
}

void generateLight(GenerationContext& ctx, const EntryTiming& timing) {
    for (int l = 0; l <= timing.n; ++l) {
        FLight(ctx, ctx.backColor(), levelOf(l, timing.n, 1000));
        if (!ctx.appendWorkIfMade(ctx.writeCanvas(), timing.delay)) return;
    }
}

}  // namespace vakuro
