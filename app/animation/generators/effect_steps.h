// The arithmetic of the splash, light, back light, flash, snow,
// illumination, telop and side-fade generators that does not touch a
// picture: frame levels, band and light positions, delays, star steps,
// scroll offsets and the fade sweep. The generators use these, and the
// tests check them with hand-computed values.
#pragma once

#include <QPoint>

namespace vakuro {

// Splash level of frame l = 0 .. n: 255 -> 0 for the splash-in, 0 -> 255
// for the splash-out, each taken to the nearest integer.
int splashLevel(bool in, int l, int n);

// Light band: its width bw = (155 / 2.9)^(1 / 2.5) x (range + 1) / 0.5 and
// its centre on row y at position p (0 .. 1000):
// (bw + Wf) x p / 1000 - bw / 2 + tilt x y x 0.25.
float lightBandWidth(int range);
double lightBandCentre(int p, int frameWidth, int range, int tilt, int y);

// Back light position of frame l = 0 .. n for direction 0 (left to right),
// 1 (right to left), 2 (bottom to top) or 3 (top to bottom), in the
// coordinates of the Light effect (y grows upwards).
QPoint backLightPosition(int direction, int l, int n, int frameWidth, int frameHeight);

// Flash delays (hundredths of a second) of a dark and a lit frame: the
// period P = seconds x 100 / count, dark round(P (12 - ratio) / 12), lit
// round(P ratio / 12).
struct FlashDelays {
    int dark = 0;
    int lit = 0;
};
FlashDelays flashDelays(double seconds, int count, int ratio);

// Pulse flash: the glow factor of frame i of a pulse of perPulse frames,
// 1 - (i mod perPulse) / ((ratio x 0.15 + 0.3) x perPulse), 0 when negative.
float pulseGlow(int i, int perPulse, int ratio);

// Snow balls or stars for a count of 0 .. 9: 3 x count + 4.
int particleCount(int count);

// Stars: lit time c = round(onTime x F / 5 + 1) frames, dark time
// P = interval x F frames; the lit step of a phase (type A: the phase, type
// B: |phase - c|; lit while below c) and the next phase (type A modulo
// c + P, type B modulo 2c + P).
int starLitFrames(int onTime, int framesPerSecond);
int starLitStep(int type, int phase, int litFrames);
int starNextPhase(int type, int phase, int litFrames, int darkFrames);

// Telop offset of the base image at t = 0 .. 1024 for direction 0 .. 11.
QPoint telopOffset(int direction, int t, int frameWidth, int frameHeight);

// Side fade of frame v = 0 .. n: e = fadeWidth x Wf / 10, the soft edge's
// width round(e) and its position round((e + Wf) x v / n - e).
struct SideSweep {
    int position = 0;
    int width = 1;
};
SideSweep sideSweep(int fadeWidth, int frameWidth, int v, int n);

}  // namespace vakuro
