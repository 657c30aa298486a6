// Kinds 5 "スプラッシュイン" and 6 "スプラッシュアウト" (Splash): the base
// image cut into square cells that fly outwards from the frame centre, each
// with a delay from its place in a D x D pattern (the splash delay tables),
// turning as they go. Level v = 0 puts every cell at its own place; the
// splash-in runs v from 255 to 0 and shows its last frame once more, the
// splash-out runs v from 0 to 255. With "フェード" the frame is faded toward
// the background as the cells fly.
#include <algorithm>
#include <cmath>

#include "dispatch.h"
#include "effect_steps.h"
#include "generators.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

// Copies the f x f block of source at (x0, y0) to destination at (x, y),
// opaque, leaving out what lies outside either picture.
void copyBlock(const QImage& source, int x0, int y0, QImage& destination, int x, int y, int f) {
    const int sx = std::max({0, -x0, -x});
    const int sy = std::max({0, -y0, -y});
    const int ex = std::min({f, source.width() - x0, destination.width() - x});
    const int ey = std::min({f, source.height() - y0, destination.height() - y});
    if (sx >= ex) return;
    for (int j = sy; j < ey; ++j) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y0 + j)) + x0;
        auto* to = reinterpret_cast<QRgb*>(destination.scanLine(y + j)) + x;
        std::copy(from + sx, from + ex, to + sx);
    }
}

}  // namespace

void Splash(GenerationContext& ctx, int colour, int v) {
    const ScheduleEntry& e = *ctx.entry;
    const int D = std::clamp(e[slot::SplashSpread], 0, 3) + 1;
    const int f = 2 * std::clamp(e[slot::SplashCellSize], 0, 4) + 2;
    const int rotation = std::clamp(e[slot::SplashRotation], -10, 10);
    const int mode = std::clamp(e[slot::SplashRotationMode], 0, 2);
    const int Wf = ctx.frameWidth, Hf = ctx.frameHeight;
    const QImage& base = ctx.basePicture;
    QImage& canvas = ctx.effects.canvas;
    canvas.fill(pixelOf(colour));

    // The grid is placed so that a cell is centred on the frame centre.
    const int ox = RoundHalfEven(f / 2.0 - (RoundHalfEven(Wf / 2.0) % f));
    const int oy = RoundHalfEven(f / 2.0 - (RoundHalfEven(Hf / 2.0) % f));
    const float theta = static_cast<float>(v) * 0.005f * static_cast<float>(rotation);
    const double halfW = Wf / 2.0, halfH = Hf / 2.0;
    const double v2 = static_cast<double>(v) * v;
    for (int c = 0;; ++c) {
        const int x0 = -ox + c * f;
        if (x0 > Wf - 1) break;
        for (int r = 0;; ++r) {
            const int y0 = -oy + r * f;
            if (y0 > Hf - 1) break;
            const double t = ctx.effects.splashDelay[size_t(D)][size_t(r % D)][size_t(c % D)];
            const int sx = RoundHalfEven(v2 * t * 0.5 + 255);
            const int sy = RoundHalfEven(v2 * t * 0.4 + 255);
            const int dx = RoundHalfEven((x0 - halfW) * sx / 255);
            const int dy = RoundHalfEven((y0 - halfH) * sy / 255);
            int X, Y;
            if (theta == 0) {
                X = RoundHalfEven(halfW + dx);
                Y = RoundHalfEven(halfH + dy);
            } else {
                float phi = theta;
                if (mode == 1 && (c + r) % 2 == 1) phi = 3 * theta;
                if (mode == 2) {
                    static constexpr float kCross[2][2] = {{1, -1}, {3, -3}};
                    phi = kCross[r % 2][c % 2] * theta;
                }
                const double cs = std::cos(phi), sn = std::sin(phi);
                X = RoundHalfEven(dx * cs + dy * sn + halfW);
                Y = RoundHalfEven(-dx * sn + dy * cs + halfH);
            }
            if (X > 0 && X < Wf && Y > 0 && Y < Hf) copyBlock(base, x0, y0, canvas, X, Y, f);
        }
    }
}

namespace {

// One splash frame into the work file; false when no work image was made.
bool splashFrame(GenerationContext& ctx, int v) {
    const int colour = ctx.backColor();
    Splash(ctx, colour, v);
    if (!ctx.writeCanvas()) return false;
    if ((*ctx.entry)[slot::SplashFade] != 0) {
        // A failed fade leaves the unfaded frame, which still shows the cells.
        ctx.libraries().effects.Fead(ctx.workFile.constData(), ctx.workFile.constData(), colour,
                                     std::min(280 - v, 255), 0);
    }
    return true;
}

void splash(GenerationContext& ctx, const EntryTiming& timing, bool in) {
    bool lastMade = false;
    for (int l = 0; l <= timing.n; ++l) {
        lastMade = splashFrame(ctx, splashLevel(in, l, timing.n));
        if (!ctx.appendWorkIfMade(lastMade, timing.delay)) return;
    }
    // The splash-in shows the whole text once more, weighing nothing.
    if (in && timing.n >= 0) ctx.appendWorkIfMade(lastMade, timing.delay, 0);
}

}  // namespace

void generateSplashIn(GenerationContext& ctx, const EntryTiming& timing) { splash(ctx, timing, true); }

void generateSplashOut(GenerationContext& ctx, const EntryTiming& timing) { splash(ctx, timing, false); }

}  // namespace vakuro
