// Kind 15 "トランプ": the characters, one after another, turn about their
// vertical or horizontal axis, stand up, jump, jump with a turn, slide in
// from the left, or are dealt like playing cards from below.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "character_stage.h"
#include "generators.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

constexpr double kPi = 3.14159265;

void turnOrJump(CharacterStage& stage, int i, int v, int type, int turns) {
    const int N = stage.count();
    const int H = stage.frameHeight();
    const int left = stage.left(i);
    const int width = stage.width(i);
    // Character i starts 100 phase units after character i - 1.
    const int phase = RoundHalfEven((N * 0.5 + turns) * v - 100.0 * i);
    const int turning = std::clamp(phase, 0, 256 * turns);  // types 0 and 1
    const int once = std::clamp(phase, 0, 256);               // types 2 to 4
    switch (type) {
        case 0: {  // "横回転"
            const int w = RoundHalfEven(std::cos(turning / 256.0 * kPi * 2) * width);
            if (w == 0) return;
            stage.paste(i, RoundHalfEven((width - std::abs(w)) * 0.5 + left), 0, w, H);
            return;
        }
        case 1: {  // "縦回転"
            const int h = RoundHalfEven(std::cos(turning / 256.0 * kPi * 2) * H);
            if (h == 0) return;
            stage.paste(i, left, RoundHalfEven((H - std::abs(h)) * 0.5), width, h);
            return;
        }
        case 2: {  // "起上り"
            const int h = RoundHalfEven(std::sin(once / 256.0 * kPi * 0.5) * H);
            if (h == 0) return;
            stage.paste(i, left, H - std::abs(h), width, h);
            return;
        }
        case 3: {  // "ジャンプ"
            const int j = RoundHalfEven(std::sin(once / 256.0 * kPi) * H * 0.2);
            stage.paste(i, left, -j, width, H);
            return;
        }
        default: {  // 4 "回転ｼﾞｬﾝﾌﾟ": one whole turn during the jump
            const int j = RoundHalfEven(std::sin(once / 256.0 * kPi) * H * 0.2);
            const int w = RoundHalfEven(std::cos(once / 256.0 * kPi * 2) * width);
            if (w == 0) return;
            stage.paste(i, RoundHalfEven((width - std::abs(w)) * 0.5 + left), -j, w, H);
            return;
        }
    }
}

// Types 6 to 8: the card comes up from below, flipping (6), shrinking to
// its size (7) or growing to it (8).
void deal(CharacterStage& stage, int i, int v, int type, int interval) {
    const int N = stage.count();
    const int H = stage.frameHeight();
    const double q = static_cast<float>((interval + 1) / 10.0);
    // The distance still to travel; 0 for every card by v = 255.
    const int w = std::max(RoundHalfEven(q * H * (i - 1) + H - (1 / q + N) * (static_cast<double>(H) * v) * q / 256), 0);
    float scale = 0;
    int h = H;
    if (type == 6) {
        scale = static_cast<float>(2.0 * w / H + 1);
        h = RoundHalfEven(std::cos(w * 6.2831853 / H) * H * scale);
    } else if (type == 7) {
        scale = static_cast<float>(2.0 * w / H + 1);
    } else {
        scale = static_cast<float>(std::max(1 - 2.0 * w / H, 0.1));
    }
    const int u = RoundHalfEven(static_cast<double>(scale) * stage.width(i));
    const int y = RoundHalfEven((H - std::abs(h)) * 0.5 + w);
    const int x = RoundHalfEven(w * 0.1 + stage.left(i));
    if (h == 0 || y >= H) return;  // edge-on, or still below the frame
    stage.paste(i, x, y, u, h);
}

}  // namespace

bool tranpFrame(CharacterStage& stage, int v, int type, int turns, int interval) {
    const int N = stage.count();
    const int H = stage.frameHeight();
    const int Wf = stage.frameWidth();
    stage.clear();
    for (int i = 1; i <= N; ++i) {
        if (type >= 0 && type <= 4) {
            turnOrJump(stage, i, v, type, turns);
        } else if (type == 5) {  // "スライド": from the left edge to its place
            const int x = std::max(RoundHalfEven(stage.left(i) - (256.0 - v) * Wf / 256), 0);
            stage.paste(i, x, 0, 0, H);
        } else if (type >= 6 && type <= 8) {
            deal(stage, i, v, type, interval);
        }
    }
    return stage.write();
}

void generateTranp(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int turns = std::clamp(e[slot::TrumpTurns], 0, 9) + 1;
    const int type = e[slot::TrumpType];  // a type above 8 pastes nothing
    const int interval = std::clamp(e[slot::TrumpInterval], 0, 9);
    playCharacterFrames(ctx, timing,
                        [&](CharacterStage& stage, int v) { return tranpFrame(stage, v, type, turns, interval); });
}

}  // namespace vakuro
