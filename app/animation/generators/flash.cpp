// Kind 9 "フラッシュ": the glow behind the text blinks.
//
//   type 0 "点滅": the text rendered alternately without shadow (dark) and
//     with the light shadow, the glow (lit), 2 x count frames with the dark
//     and lit delays of the flash ratio;
//   type 1 "脈動": count pulses of L = round((n + 1) / count) frames, each
//     starting at the full glow colour and fading out (every frame rendered
//     again, weighing 10);
//   type 2 "線光効果": the rays of the Light effect from the frame centre
//     (dark delay) alternating with the plain base image (lit delay).
//
// The renderings change the style record and pass through the render
// holder; both are put back when the entry ends, however it ends. A
// rendering is made once per shadow type and colour and written again for
// the frames that repeat it.
#include <algorithm>
#include <cstdint>
#include <map>

#include <QFile>
#include <QFileInfo>

#include "dispatch.h"
#include "effect_steps.h"
#include "generators.h"
#include "render_pipeline.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

// Saves the whole style record and the render holder and puts both back
// when the flash ends, also when it returns early or throws.
class StyleAndHolderRestorer {
public:
    explicit StyleAndHolderRestorer(GenerationContext& ctx)
        : ctx_(ctx), style_(ctx.state.style), holder_(ctx.renderer ? ctx.renderer->holder() : QImage()) {}
    ~StyleAndHolderRestorer() {
        ctx_.state.style = style_;
        if (ctx_.renderer) ctx_.renderer->setHolder(holder_);
    }
    StyleAndHolderRestorer(const StyleAndHolderRestorer&) = delete;
    StyleAndHolderRestorer& operator=(const StyleAndHolderRestorer&) = delete;

private:
    GenerationContext& ctx_;
    PavrexStyle style_;
    QImage holder_;
};

// Renders the text with the current style in smoothed quality into the
// work file and resizes it to the output size. False when no work image
// came out (the engine wrote nothing or the resize failed). Within one
// entry only the shadow type and colour change, so a rendering already
// made for the same pair is written again instead of rendered again (the
// blink repeats two pictures, the pulse one pulse).
class FlashRenderer {
public:
    explicit FlashRenderer(GenerationContext& ctx) : ctx_(ctx) {}

    bool render() {
        const PavrexStyle& style = ctx_.state.style;
        const int64_t key = int64_t{style.ShadowType} << 32 | uint32_t(style.ShadowColor);
        if (const auto found = made_.find(key); found != made_.end())
            return ctx_.writePicture(found->second, ctx_.workFile);
        QFile::remove(ctx_.workPath);
        ctx_.renderText(ctx_.workPath, 1, 1);
        if (!QFileInfo(ctx_.workPath).isFile()) return false;
        const auto& fx = ctx_.libraries().effects;
        const char* work = ctx_.workFile.constData();
        if (fx.SReSize(work, work, ctx_.outputWidth, ctx_.outputHeight, 2) != 1 &&
            fx.HReSize(work, work, ctx_.outputWidth, ctx_.outputHeight) != 1)
            return false;
        const QImage picture = GenerationContext::loadPicture(ctx_.workPath);
        if (!picture.isNull()) made_.emplace(key, picture);
        return true;
    }

private:
    GenerationContext& ctx_;
    std::map<int64_t, QImage> made_;
};

void blink(GenerationContext& ctx, const EntryTiming& timing, int count, int ratio) {
    const FlashDelays delays = flashDelays(timing.seconds, count, ratio);
    FlashRenderer renderer(ctx);
    for (int i = 0; i < 2 * count; ++i) {
        const bool lit = i % 2 == 1;
        ctx.state.style.ShadowType = lit ? 2 : 0;
        if (!ctx.appendWorkIfMade(renderer.render(), lit ? delays.lit : delays.dark)) return;
    }
}

void pulse(GenerationContext& ctx, const EntryTiming& timing, int count, int ratio) {
    const int c0 = ctx.state.style.ShadowColor;
    ctx.state.style.ShadowType = 2;
    const int perPulse = RoundHalfEven((timing.n + 1) / static_cast<double>(count));
    FlashRenderer renderer(ctx);
    for (int i = 0; i < perPulse * count; ++i) {
        const double s = pulseGlow(i, perPulse, ratio);
        auto part = [&](int shift) { return std::clamp(RoundHalfEven(((c0 >> shift) & 0xFF) * s), 0, 255); };
        ctx.state.style.ShadowColor = part(0) | part(8) << 8 | part(16) << 16;
        if (!ctx.appendWorkIfMade(renderer.render(), timing.delay, 10)) return;
    }
}

void lineLight(GenerationContext& ctx, const EntryTiming& timing, int count, int ratio) {
    const FlashDelays delays = flashDelays(timing.seconds, count, ratio);
    const int falloff = std::clamp((*ctx.entry)[slot::FlashDiffusion], 0, 9);
    const auto& fx = ctx.libraries().effects;
    for (int i = 0; i < 2 * count; ++i) {
        if (i % 2 == 1) {
            if (!ctx.appendBase(delays.lit)) return;
            continue;
        }
        const bool made = fx.Light(ctx.baseFile.constData(), ctx.workFile.constData(),
                                    RoundHalfEven(ctx.frameWidth / 2.0), RoundHalfEven(ctx.frameHeight / 2.0), 3,
                                    falloff) == 1;
        if (!ctx.appendWorkIfMade(made, delays.dark)) return;
    }
}

}  // namespace

void generateFlash(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int count = flashCountOf(e);
    const int ratio = flashRatioOf(e);
    StyleAndHolderRestorer restore(ctx);
    switch (flashTypeOf(e)) {
        case 0: blink(ctx, timing, count, ratio); break;
        case 1: pulse(ctx, timing, count, ratio); break;
        default: lineLight(ctx, timing, count, ratio); break;
    }
}

}  // namespace vakuro
