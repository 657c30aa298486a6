#include "dispatch.h"

#include <algorithm>
#include <cmath>

#include "generators/generators.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

// l = 0 .. n: n + 1 frames, none when n is -1.
int64_t loopFrames(const ScheduleEntry&, const EntryTiming& t) { return t.n >= 0 ? int64_t{t.n} + 1 : 0; }
// One frame whatever the timing.
int64_t oneFrame(const ScheduleEntry&, const EntryTiming&) { return 1; }
// l = 0 .. n and then the last frame once more.
int64_t loopFramesAndOneMore(const ScheduleEntry& e, const EntryTiming& t) {
    const int64_t n = loopFrames(e, t);
    return n > 0 ? n + 1 : 0;
}
// l = 1 .. n.
int64_t loopFromOne(const ScheduleEntry&, const EntryTiming& t) { return std::max(t.n, 0); }
// Flash: 2 x count frames for blinking and line light; count pulses of L
// frames each for the pulse, L = round((n + 1) / count).
int64_t flashFrames(const ScheduleEntry& e, const EntryTiming& t) {
    const int count = flashCountOf(e);
    if (flashTypeOf(e) != 1) return 2 * int64_t{count};
    const int perPulse = RoundHalfEven((t.n + 1) / static_cast<double>(count));
    return perPulse > 0 ? int64_t{perPulse} * count : 0;
}

// clang-format off
const DispatchRow kRows[] = {
    {1,  "TextStill",       generateTextStill,       oneFrame,             true},
    {2,  "BackgroundStill", generateBackgroundStill, oneFrame,             true},
    {3,  "FadeIn",          generateFadeIn,          loopFrames,           true},
    {4,  "FadeOut",         generateFadeOut,         loopFrames,           true},
    {5,  "Splash (in)",     generateSplashIn,        loopFramesAndOneMore, true},
    {6,  "Splash (out)",    generateSplashOut,       loopFrames,           true},
    {7,  "FLight",          generateLight,           loopFrames,           true},
    {8,  "BackLight",       generateBackLight,       loopFrames,           true},
    {9,  "Flash",           generateFlash,           flashFrames,          true},
    {10, "SnowDrop",        generateSnow,            loopFrames,           true},
    {11, "Stand",           generateStand,           loopFrames,           true},
    {12, "Spin",            generateSpin,            loopFromOne,          true},
    {13, "Drop1",           generateDrop,            loopFrames,           true},
    {14, "Slide",           generateSlide,           loopFrames,           true},
    {15, "Tranp",           generateTranp,           loopFrames,           true},
    {16, "Star",            generateStar,            loopFrames,           true},
    {17, "FScroll",         generateTelop,           loopFrames,           true},
    {18, "SideDsp fade",    generateSideFade,        loopFrames,           true},
    {19, "FreeMove",        generateFreeMove,        loopFrames,           true},
};
// clang-format on

}  // namespace

const DispatchRow* dispatchRow(int kind) {
    if (kind < 1 || kind > static_cast<int>(std::size(kRows))) return nullptr;
    return &kRows[kind - 1];
}

int flashCountOf(const ScheduleEntry& e) { return std::clamp(e[slot::FlashCount], 1, 10); }
int flashRatioOf(const ScheduleEntry& e) { return std::clamp(e[slot::FlashRatio], 1, 10); }
int flashTypeOf(const ScheduleEntry& e) { return std::clamp(e[slot::FlashType], 0, 2); }

EntryTiming entryTiming(const ScheduleEntry& e) {
    EntryTiming t;
    const float d = e.duration();
    t.seconds = std::isfinite(d) ? std::clamp(static_cast<double>(d), 0.0, 30.0) : 0.0;
    t.framesPerSecond = std::clamp(e.framesPerSecond(), 1, 30);
    t.n = RoundHalfEven(t.seconds * t.framesPerSecond - 1);
    if (t.n == 0) t.n = 1;
    t.delay = RoundHalfEven(100.0 / t.framesPerSecond);
    return t;
}

int64_t entryFrameCount(const ScheduleEntry& e) {
    const DispatchRow* row = dispatchRow(e.kind());
    return row ? row->frameCount(e, entryTiming(e)) : 0;
}

int64_t weightedFrameTotal(const AnimationSchedule& schedule, int rows) {
    int64_t total = 0;
    // Each sum is taken to the nearest integer as it is formed, halves to
    // even, so the order of the entries matters for the halves.
    auto addRounded = [&total](double x) { total = RoundHalfEven(static_cast<double>(total) + x); };
    for (int i = 0; i < rows; ++i) {
        const ScheduleEntry& e = schedule[i];
        const EntryTiming t = entryTiming(e);
        const double df = t.seconds * t.framesPerSecond;
        switch (e.kind()) {
            case 1:
            case 2: total += 1; break;
            case 9:
                if (flashTypeOf(e) == 1) addRounded(df * 10);
                else total += flashCountOf(e);
                break;
            case 19: addRounded(df * 2); break;
            default:
                if (dispatchRow(e.kind())) addRounded(df);
                break;
        }
    }
    return total;
}

int64_t scheduledFrameCount(const AnimationSchedule& schedule, int rows) {
    int64_t frames = 0;
    for (int i = 0; i < rows; ++i) frames += entryFrameCount(schedule[i]);
    return frames;
}

}  // namespace vakuro
