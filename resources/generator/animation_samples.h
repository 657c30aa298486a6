// The add dialog's sample pictures of the 19 animation effects, 160 x 60:
// a sample word "ABC" (letters drawn as strokes, no fonts) in gold with a
// light outline on a night-blue background, caught in the middle of the
// effect (fading, splashing, lit by a band, snowed on, turning, dropping,
// dealt like cards, ...).
#pragma once

#include <QImage>

namespace vakuro::gen {

inline constexpr int kAnimationSampleWidth = 160;
inline constexpr int kAnimationSampleHeight = 60;
inline constexpr int kAnimationSampleCount = 19;

// The sample of effect kind 1 .. 19.
QImage makeAnimationSample(int kind);

}  // namespace vakuro::gen
