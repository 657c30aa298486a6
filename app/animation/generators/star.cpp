// Kind 16 "イルミネーション" (Star): star glints twinkle over the text. The
// preparation call places 3 x count + 4 stars at random (with "光点位置補正"
// only where the text is) with a random phase; each frame adds the lit
// stars, in the base colour "基準色", to the base image. Type A flashes a
// star up and lets it fade over its lit time, type B lets it brighten and
// fade; both then stay dark for the interval.
#include <algorithm>
#include <cmath>

#include "effect_steps.h"
#include "generators.h"
#include "shared_routines.h"
#include "vakuro_resources.h"

namespace vakuro {

namespace {

constexpr size_t kMaxStarPixels = 401;  // what the table holds
constexpr size_t kDrawnStarPixels = 301;  // what a frame paints

// The glint's pixels with red above 0, row by row, and their intensity
// profiles I[0 .. c]: I[0] = round(red x 1.3), I[m] = round((c - m + 1) x
// I[0] / (c + 1)); pixels whose I[0] is 0 are left out.
void buildStarTable(std::vector<EffectState::StarPixel>& table, const QImage& sprite, int litFrames) {
    table.clear();
    const int size = std::min(sprite.width(), sprite.height());
    for (int y = 0; y < size && table.size() < kMaxStarPixels; ++y) {
        for (int x = 0; x < size && table.size() < kMaxStarPixels; ++x) {
            const int red = qRed(sprite.pixel(x, y));
            if (red <= 0) continue;
            const int i0 = RoundHalfEven(red * 1.3);
            if (i0 == 0) continue;
            EffectState::StarPixel p;
            p.dx = x;
            p.dy = y;
            p.intensity.resize(size_t(litFrames) + 1);
            p.intensity[0] = i0;
            for (int m = 1; m <= litFrames; ++m)
                p.intensity[size_t(m)] = RoundHalfEven(static_cast<double>(litFrames - m + 1) * i0 / (litFrames + 1));
            table.push_back(std::move(p));
        }
    }
}

bool isBackground(const QImage& base, double x, double y, QRgb key) {
    const int px = RoundHalfEven(x), py = RoundHalfEven(y);
    if (px < 0 || py < 0 || px >= base.width() || py >= base.height()) return true;
    return base.pixel(px, py) == key;
}

}  // namespace

void Star(GenerationContext& ctx, int colour, int m, int framesPerSecond) {
    const ScheduleEntry& e = *ctx.entry;
    const int type = std::clamp(e[slot::StarType], 0, 1);
    const int c = starLitFrames(std::clamp(e[slot::StarOnTime], 0, 9), framesPerSecond);
    const int P = std::clamp(e[slot::StarInterval], 0, 9) * framesPerSecond;
    const int Wf = ctx.frameWidth, Hf = ctx.frameHeight;
    auto& stars = ctx.effects.particles;

    if (m < 0) {
        const bool correction = e[slot::StarCorrection] != 0;
        const QRgb key = pixelOf(colour == 0 ? 1 : colour);  // the background as the engine paints it
        stars.assign(size_t(particleCount(e[slot::StarCount])), {});
        AnimationRandom& rnd = animationRandom();
        for (auto& s : stars) {
            s.value = static_cast<int>(std::floor(rnd.next() * (type == 1 ? P + 2 * c : c + P)));
            for (int tries = 0; tries < 51; ++tries) {
                s.x = static_cast<float>(rnd.next() * (Wf - 16) - 5);
                s.y = static_cast<float>(rnd.next() * (Hf - 10) - 8);
                if (!correction || !isBackground(ctx.basePicture, s.x + 13.0, s.y + 13.0, key)) break;
            }
        }
        buildStarTable(ctx.effects.starPixels, QImage(QString::fromLatin1(resources::kStarSprite)), c);
        return;
    }

    const int starColour = e[slot::StarColour];
    const int rgb[3] = {starColour & 0xFF, (starColour >> 8) & 0xFF, (starColour >> 16) & 0xFF};
    QImage& canvas = ctx.effects.canvas;
    canvas = ctx.basePicture.copy();
    const auto& pixels = ctx.effects.starPixels;
    const size_t drawn = std::min(pixels.size(), kDrawnStarPixels);
    for (auto& s : stars) {
        const int step = starLitStep(type, s.value, c);
        if (step < c) {
            for (size_t j = 0; j < drawn; ++j) {
                const auto& p = pixels[j];
                const int px = RoundHalfEven(s.x + p.dx), py = RoundHalfEven(s.y + p.dy);
                if (px < 0 || py < 0 || px >= Wf || py >= Hf) continue;
                const int I = p.intensity[size_t(step)];
                QRgb& pixel = reinterpret_cast<QRgb*>(canvas.scanLine(py))[px];
                pixel = qRgb(std::min(qRed(pixel) + RoundHalfEven(I * rgb[0] / 255.0), 255),
                             std::min(qGreen(pixel) + RoundHalfEven(I * rgb[1] / 255.0), 255),
                             std::min(qBlue(pixel) + RoundHalfEven(I * rgb[2] / 255.0), 255));
            }
        }
        s.value = starNextPhase(type, s.value, c, P);
    }
}

void generateStar(GenerationContext& ctx, const EntryTiming& timing) {
    const int colour = ctx.backColor();
    Star(ctx, colour, -1, timing.framesPerSecond);
    for (int m = 0; m <= timing.n; ++m) {
        Star(ctx, colour, m, timing.framesPerSecond);
        if (!ctx.appendWorkIfMade(ctx.writeCanvas(), timing.delay)) return;
    }
}

}  // namespace vakuro
