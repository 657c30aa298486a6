// The dispatch table of the generation driver: for each effect kind 1 .. 19
// the generator that makes the frames of an entry, how many frames it makes
// and how much the entry weighs in the weighted frame total (the 100 % mark
// of the progress bar, limited to 900).
#pragma once

#include <cstdint>

#include "generation_context.h"
#include "schedule.h"

namespace vakuro {

// Makes every frame of one entry and appends each with ctx.appendFrame,
// ctx.appendWork or ctx.appendBase. It must append exactly the number of
// frames the row's frameCount gives, and return early when an append
// returns false.
using GeneratorFunction = void (*)(GenerationContext& ctx, const EntryTiming& timing);

struct DispatchRow {
    int kind;
    const char* generatorName;
    GeneratorFunction generate;
    // Frames the entry makes.
    int64_t (*frameCount)(const ScheduleEntry& entry, const EntryTiming& timing);
    // False for a kind whose generator is not built; every kind has one now.
    bool implemented;
};

// The row of kind 1 .. 19; nullptr for any other kind (such entries make no
// frames and weigh nothing).
const DispatchRow* dispatchRow(int kind);

// D, F, n and d of an entry. Values a file may hold outside the ranges the
// window offers are brought into them: a duration that is not a finite
// number counts as 0, durations are clamped to 0 .. 30 s and frame rates to
// 1 .. 30.
EntryTiming entryTiming(const ScheduleEntry& entry);

// Frames an entry makes (0 for an unknown kind).
int64_t entryFrameCount(const ScheduleEntry& entry);

// The weighted frame total T of the first rows entries: kinds 1 and 2 add
// 1; a flash of type 1 adds D x F x 10; another flash adds its flash count;
// a free move adds F x D x 2; every other kind F x D; each sum is taken to
// the nearest integer as it is formed.
int64_t weightedFrameTotal(const AnimationSchedule& schedule, int rows);

// The frames the first rows entries make in all.
int64_t scheduledFrameCount(const AnimationSchedule& schedule, int rows);

// The flash settings as the generator and the counts read them: flash count
// and ratio clamped to 1 .. 10, the type to 0 .. 2.
int flashCountOf(const ScheduleEntry& entry);
int flashRatioOf(const ScheduleEntry& entry);
int flashTypeOf(const ScheduleEntry& entry);

}  // namespace vakuro
