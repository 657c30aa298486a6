// Kind 14 "スライド": the characters come in from the right one after
// another, straight or from above, below, or alternately from both.
#include <algorithm>

#include "character_stage.h"
#include "generators.h"
#include "shared_routines.h"

namespace vakuro {

bool slideFrame(CharacterStage& stage, int v, int direction, int spacing) {
    const double s = spacing * 0.16 * 2 + 1.36;
    const int W = stage.frameWidth();
    const int N = stage.count();
    stage.clear();
    for (int t = 1; t <= N; ++t) {
        const int left = stage.left(t);
        const int x = std::max(RoundHalfEven(s * left + W - s * W * v / 255.0), left);
        // The way still to go, scaled down, sets how far above or below.
        const int d = std::max(RoundHalfEven((x - left) * 0.3), 0);
        int y = 0;
        switch (direction) {
            case 1: y = -d; break;                  // "右上から"
            case 2: y = d; break;                   // "右下から"
            case 3: y = t % 2 == 1 ? d : -d; break;  // "上下から": odd ones from below
            default: break;                         // "右から"
        }
        stage.paste(t, x, y, 0, 0);
    }
    return stage.write();
}

void generateSlide(GenerationContext& ctx, const EntryTiming& timing) {
    const ScheduleEntry& e = *ctx.entry;
    const int direction = std::clamp(e[slot::SlideDirection], 0, 3);
    const int spacing = std::clamp(e[slot::SlideSpacing], 0, 9);
    playCharacterFrames(ctx, timing,
                        [&](CharacterStage& stage, int v) { return slideFrame(stage, v, direction, spacing); });
}

}  // namespace vakuro
