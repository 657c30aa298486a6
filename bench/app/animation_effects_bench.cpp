// The effect kinds 5 to 10 and 16 to 18 one at a time through the real
// driver: a styled Japanese title at 999 x 300, each entry 2 s at 20 fps
// (40 frames), written as an animated GIF. For each kind: frames, wall time
// per frame of the whole run (effect, loading the frame files, colour
// reduction, GIF writing) and of the effect alone, and the effect's share of
// the run; the median of the runs, as wall time and as processor time
// (which a busy machine distorts less; the run's processor time includes the
// colour reduction on the worker threads). The flash appears once per type; its
// pulse type renders the text again for every frame. Goal: no kind above
// 25 ms per frame. Runs on the offscreen platform.
//
//   build/bin/animation_effects_bench [runs] [folder to keep the GIFs in]
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "bench_environment.h"
#include "animation_driver.h"
#include "bench_title.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"
#include "splash_tables.h"

using namespace vakuro;

namespace {

struct Case {
    const char* name;
    int kind;
    int slotNumber = -1;  // a setting that differs from the defaults
    int value = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const BenchEnvironment environment;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QString keep = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!keep.isEmpty()) QDir().mkpath(keep);
    Libraries libraries;
    if (!bindBenchLibraries(libraries)) return 1;
    ProgramState state(libraries, SettingsPath());
    styleBenchTitle(state.style);
    // A light shadow, so that the light effects have something to show.
    state.style.ShadowColor = PAVREX_RGB(255, 200, 80);
    RenderPipeline pipeline(state);
    const AnimationRunInputs inputs = renderBenchTitle(pipeline);

    const Case cases[] = {
        {"5 splash-in", 5, slot::SplashRotation, 3},
        {"6 splash-out (fade)", 6, slot::SplashFade, 1},
        {"7 light", 7},
        {"8 back light", 8},
        {"9 flash blink", 9, slot::FlashType, 0},
        {"9 flash pulse", 9, slot::FlashType, 1},
        {"9 flash line light", 9, slot::FlashType, 2},
        {"10 snow", 10, slot::SnowCount, 9},
        {"16 illumination", 16, slot::StarCount, 9},
        {"17 telop", 17, slot::TelopDirection, 1},
        {"18 fade", 18},
    };
    std::printf("2 s at 20 fps, 999 x 300, median of %d runs; milliseconds per frame\n", runs);
    std::printf("%-20s %6s %21s %7s %21s\n", "", "", "wall", "", "processor");
    std::printf("%-20s %6s %10s %10s %7s %10s %10s\n", "kind", "frames", "run/frame", "effect/fr", "share",
                "run/frame", "effect/fr");
    bool allWithinGoal = true;
    for (const Case& c : cases) {
        AnimationSchedule schedule;
        schedule[0] = ScheduleEntry::withDefaults(c.kind, 20);
        schedule[0].setDuration(2.0f);
        if (c.slotNumber >= 0) schedule[0][c.slotNumber] = c.value;
        const QString gif = environment.temp.filePath(QStringLiteral("effect.gif"));
        std::vector<double> perFrame, effectPerFrame, share, cpuPerFrame, effectCpuPerFrame;
        int frames = 0;
        for (int r = 0; r < runs; ++r) {
            EffectState effects;
            buildSplashTables(effects);
            DriverHooks hooks;
            const DriverOutcome o = runAnimationDriver(state, inputs, schedule, 1, {}, effects, DriverMode::Output,
                                                       gif, hooks);
            if (o.status != DriverOutcome::Status::Written || o.frames == 0) {
                std::fprintf(stderr, "%s: run failed\n", c.name);
                return 1;
            }
            frames = o.frames;
            perFrame.push_back(o.times.total / o.frames);
            effectPerFrame.push_back(o.times.effects / o.frames);
            share.push_back(100 * o.times.effects / o.times.total);
            cpuPerFrame.push_back(o.times.totalCpu / o.frames);
            effectCpuPerFrame.push_back(o.times.effectsCpu / o.frames);
        }
        const double run = median(perFrame);
        allWithinGoal = allWithinGoal && run <= 25;
        std::printf("%-20s %6d %10.1f %10.1f %6.0f%% %10.1f %10.1f\n", c.name, frames, run, median(effectPerFrame),
                    median(share), median(cpuPerFrame), median(effectCpuPerFrame));
        if (!keep.isEmpty()) {
            QString name = QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('_'));
            name.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
            const QString target = QDir(keep).filePath(name + QStringLiteral(".gif"));
            QFile::remove(target);
            QFile::copy(gif, target);
        }
    }
    std::printf("goal 25 ms per frame: %s\n", allWithinGoal ? "met by every kind" : "NOT met by every kind");
    return 0;
}
