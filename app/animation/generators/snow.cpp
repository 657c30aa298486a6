// Kind 10 "スノー" (SnowDrop): snow balls fall over the text. The
// preparation call places 3 x count + 4 balls at random (small or large,
// each with its own speed); every frame paints them onto the base image and
// moves them. Small balls pass behind the text (they only light background
// pixels), large ones in front of it. A ball that leaves the bottom comes
// back at the top at a new place. The fall types add a sway or a side wind.
#include <algorithm>
#include <cmath>

#include "effect_steps.h"
#include "generators.h"
#include "shared_routines.h"
#include "vakuro_resources.h"

namespace vakuro {

namespace {

constexpr double kPi = 3.14159265358979;

// The intensity table of a sprite: round((brightness x 0.1 + 0.4) x red)
// for each of its pixels up to 28 x 28.
void fillSnowTable(std::array<std::array<int, 28>, 28>& table, const QImage& sprite, int brightness) {
    const double factor = brightness * 0.1 + 0.4;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x) {
            const bool inside = x < sprite.width() && y < sprite.height();
            table[size_t(y)][size_t(x)] = inside ? RoundHalfEven(factor * qRed(sprite.pixel(x, y))) : 0;
        }
}

// The start shift of the side winds: the ball starts far enough to the
// left to cross the frame while it falls.
void windStart(EffectState::Particle& p, int fallType, int frameHeight) {
    if (fallType == 2) p.x -= p.speed * frameHeight * 0.4f;
    if (fallType == 3 || fallType == 4) p.x -= p.speed * frameHeight * 0.5f;
}

float newColumn(int frameWidth) { return static_cast<float>(animationRandom().next() * (frameWidth - 15) + 5); }

}  // namespace

void SnowDrop(GenerationContext& ctx, int colour, int m, int framesPerSecond) {
    const ScheduleEntry& e = *ctx.entry;
    const int fallType = std::clamp(e[slot::SnowFallType], 0, 4);
    const int Wf = ctx.frameWidth, Hf = ctx.frameHeight;
    auto& particles = ctx.effects.particles;
    const double fps = std::max(framesPerSecond, 1);

    if (m < 0) {
        const int speedSetting = std::clamp(e[slot::SnowSpeed], 0, 9);
        particles.assign(size_t(particleCount(e[slot::SnowCount])), {});
        for (auto& p : particles) {
            AnimationRandom& rnd = animationRandom();
            p.value = static_cast<int>(std::floor(rnd.next() * 2 + 1));
            p.y = static_cast<float>(rnd.next() * Hf - 15);
            p.speed = static_cast<float>((rnd.next() * 3 + 1 + speedSetting) * p.value / fps * 3);
            p.x = newColumn(Wf);
            windStart(p, fallType, Hf);
        }
        const int brightness = std::clamp(e[slot::SnowBrightness], 0, 9);
        fillSnowTable(ctx.effects.snowSmall, QImage(QString::fromLatin1(resources::kSnowSmallSprite)), brightness);
        fillSnowTable(ctx.effects.snowLarge, QImage(QString::fromLatin1(resources::kSnowLargeSprite)), brightness);
        return;
    }

    // Small balls light only pixels of the background as the engine paints
    // it (a black background is painted as 1).
    const QRgb key = pixelOf(colour == 0 ? 1 : std::max(colour, 0));
    QImage& canvas = ctx.effects.canvas;
    canvas = ctx.basePicture.copy();
    int w = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        auto& p = particles[i];
        const bool small = p.value == 1;
        if (fallType == 1) {
            const double phase = (static_cast<double>(i) + m) * kPi;
            w = small ? RoundHalfEven(std::sin(phase / 18 * 10 / fps)) : RoundHalfEven(2 * std::sin(phase / 10 * 10 / fps));
        }
        const int size = small ? 5 : 8;
        const auto& table = small ? ctx.effects.snowSmall : ctx.effects.snowLarge;
        for (int dx = 0; dx < size; ++dx) {
            const int px = RoundHalfEven(p.x + dx + w);
            if (px < 0 || px >= Wf) continue;
            for (int dy = 0; dy < size; ++dy) {
                const int py = RoundHalfEven(p.y + dy);
                if (py < 0 || py >= Hf) continue;
                QRgb& pixel = reinterpret_cast<QRgb*>(canvas.scanLine(py))[px];
                if (small && pixel != key) continue;  // behind the text
                const int add = table[size_t(dy)][size_t(dx)];
                pixel = qRgb(std::min(qRed(pixel) + add, 255), std::min(qGreen(pixel) + add, 255),
                             std::min(qBlue(pixel) + add, 255));
            }
        }
        p.y += p.speed;
        if (p.y > Hf + 8) {
            p.y = -10;
            p.x = newColumn(Wf);
            windStart(p, fallType, Hf);
        }
        if (fallType == 2) p.x += p.speed * 0.6f;
        if (fallType == 3) p.x += p.speed;
        if (fallType == 4)
            p.x += static_cast<float>(p.speed * 1.5 - p.speed * 1.2 * std::sin(p.y * kPi / Hf));
    }
}

void generateSnow(GenerationContext& ctx, const EntryTiming& timing) {
    const int colour = ctx.backColor();
    SnowDrop(ctx, colour, -1, timing.framesPerSecond);
    for (int m = 0; m <= timing.n; ++m) {
        SnowDrop(ctx, colour, m, timing.framesPerSecond);
        if (!ctx.appendWorkIfMade(ctx.writeCanvas(), timing.delay)) return;
    }
}

}  // namespace vakuro
