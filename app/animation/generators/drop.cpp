// Kind 13 "ドロップ": the characters fall into place one after another,
// straight at an even speed, or under gravity with one small bounce. Every
// character is in its place by level 240 in both.
#include <algorithm>
#include <cmath>

#include "character_stage.h"
#include "generators.h"
#include "shared_routines.h"

namespace vakuro {

bool dropFrame(CharacterStage& stage, int v, int gravity, int interval) {
    const float g = 0.0013f;
    const double g98 = static_cast<double>(g) * 9.8;
    const int span = interval * 2 + 10;
    const double k = interval * 0.05 + 0.2;
    const int H = stage.frameHeight();
    const int N = stage.count();
    // The clock of the gravity fall and the time a character takes to fall
    // through H, both held in single precision.
    const double ticks = span * N * 1.5 + (N * 30 + 256) - 400;
    const float L = static_cast<float>(std::sqrt(H / 9.8 / static_cast<double>(g)));
    // The clock runs as fast as the fall of a short picture needs; a tall
    // one (L grows with H) would end with characters still in the air, so
    // its clock is sped up until the last bounce ends by level 240, as the
    // straight drop does.
    const double lastBounceEnds = static_cast<double>(L) + span * N + 50;
    const double speed = std::max(1.0, lastBounceEnds / (ticks * 240 / 350.0));
    const float T = static_cast<float>(ticks * v / 350.0 * speed);
    stage.clear();
    for (int t = 1; t <= N; ++t) {
        int y = 0;
        if (gravity == 0) {
            y = RoundHalfEven(-H - k * H * t + (H + k * H * N) * v / 240.0);
        } else {
            const float tau = T - static_cast<float>(span * t);
            if (L + static_cast<float>(span * t) >= T) {
                // Falling, or waiting above the frame until its turn.
                y = tau < 0 ? -H : RoundHalfEven(static_cast<double>(tau) * g98 * tau - H);
            } else {
                // Landed: one bounce of about 8 pixels, over by 50 ticks.
                const float landed = tau - L;
                y = RoundHalfEven(landed * (g98 * landed) + landed * -0.637);
            }
        }
        y = std::min(y, 0);
        stage.paste(t, stage.left(t), y, 0, 0);
    }
    return stage.write();
}

void generateDrop(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int gravity = e[slot::DropGravity] != 0 ? 1 : 0;
    const int interval = std::clamp(e[slot::DropInterval], 0, 9);
    playCharacterFrames(ctx, timing,
                        [&](CharacterStage& stage, int v) { return dropFrame(stage, v, gravity, interval); });
}

}  // namespace vakuro
