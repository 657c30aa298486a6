#include "effect_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shared_routines.h"

namespace vakuro {

int splashLevel(bool in, int l, int n) {
    if (n <= 0) return in ? 255 : 0;
    const double step = static_cast<double>(l) * 255 / n;
    return RoundHalfEven(in ? 255 - step : step);
}

float lightBandWidth(int range) {
    return std::pow(155.0f / 2.9f, 1.0f / 2.5f) * static_cast<float>(range + 1) / 0.5f;
}

double lightBandCentre(int p, int frameWidth, int range, int tilt, int y) {
    const double bw = lightBandWidth(range);
    return (bw + frameWidth) * p / 1000.0 - bw / 2 + tilt * y * 0.25;
}

QPoint backLightPosition(int direction, int l, int n, int frameWidth, int frameHeight) {
    const double w = frameWidth, h = frameHeight, step = static_cast<double>(l) / (n + 1);
    switch (direction) {
        case 1: return {RoundHalfEven(w - w * step + 1), RoundHalfEven(h * 0.5)};
        case 2: return {RoundHalfEven(w * 0.5), RoundHalfEven(l * h / (n + 1) + 1)};
        case 3: return {RoundHalfEven(w * 0.5), RoundHalfEven(h - l * h / (n + 1) + 1)};
        default: return {RoundHalfEven(w * step + 1), RoundHalfEven(h * 0.5)};
    }
}

FlashDelays flashDelays(double seconds, int count, int ratio) {
    const double period = seconds * 100 / count;
    return {RoundHalfEven(period * (12 - ratio) / 12), RoundHalfEven(period * ratio / 12)};
}

float pulseGlow(int i, int perPulse, int ratio) {
    if (perPulse <= 0) return 0;
    const float s = 1.0f - static_cast<float>(i % perPulse) /
                               ((static_cast<float>(ratio) * 0.15f + 0.3f) * static_cast<float>(perPulse));
    return std::max(s, 0.0f);
}

int particleCount(int count) { return 3 * std::clamp(count, 0, 9) + 4; }

int starLitFrames(int onTime, int framesPerSecond) {
    return RoundHalfEven(static_cast<double>(onTime) * framesPerSecond / 5 + 1);
}

int starLitStep(int type, int phase, int litFrames) { return type == 1 ? std::abs(phase - litFrames) : phase; }

int starNextPhase(int type, int phase, int litFrames, int darkFrames) {
    const int cycle = type == 1 ? 2 * litFrames + darkFrames : litFrames + darkFrames;
    return cycle > 0 ? (phase + 1) % cycle : 0;
}

QPoint telopOffset(int direction, int t, int frameWidth, int frameHeight) {
    const double w = frameWidth, h = frameHeight, f = t / 1024.0;
    double ox = 0, oy = 0;
    switch (direction) {
        case 0: ox = w - w * f; break;
        case 1: ox = w - w * f * 2; break;
        case 2: oy = h - f * h; break;
        case 3: oy = h - f * h * 2; break;
        case 4: oy = f * h - h; break;
        case 5: oy = f * h * 2 - h; break;
        case 6: ox = w * f - w; break;
        case 7: ox = w * f * 2 - w; break;
        case 8: ox = w * f; break;
        case 9: ox = -(w * f); break;
        case 10: oy = -(f * h); break;
        case 11: oy = f * h; break;
        default: break;
    }
    return {RoundHalfEven(ox), RoundHalfEven(oy)};
}

SideSweep sideSweep(int fadeWidth, int frameWidth, int v, int n) {
    const double e = static_cast<double>(fadeWidth) * frameWidth / 10;
    SideSweep s;
    s.width = std::max(RoundHalfEven(e), 1);
    s.position = n > 0 ? RoundHalfEven((e + frameWidth) * v / n - e) : RoundHalfEven(-e);
    return s;
}

}  // namespace vakuro
