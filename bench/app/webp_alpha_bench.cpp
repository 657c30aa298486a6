// Animated WebP with real alpha through the real driver: the bench title
// sliding in (kind 14, 2 s at 30 frames per second: 60 frames) at 600
// pixels wide, written lossless with BackTrans off (one pass, the opaque
// frames) and on (a pass on near black, a pass on white, the alpha of every
// frame pair solved). Reports the median wall time of each, by stage, and
// the file sizes. Runs on the offscreen platform. VAKURO_BENCH_KEEP=1 keeps
// the files.
//
//   build/bin/webp_alpha_bench [runs]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QFileInfo>

#include "bench_environment.h"
#include "animation_driver.h"
#include "bench_title.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"

using namespace vakuro;

int main(int argc, char** argv) {
    BenchEnvironment environment;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    Libraries libraries;
    if (!bindBenchLibraries(libraries)) return 1;
    ProgramState state(libraries, SettingsPath());
    styleBenchTitle(state.style);
    RenderPipeline pipeline(state);
    AnimationRunInputs inputs = renderBenchTitle(pipeline);
    inputs.outputWidth = 600;
    inputs.outputHeight =
        static_cast<int>(std::lround(600.0 * inputs.baseRendering.height() / std::max(1, inputs.baseRendering.width())));
    inputs.widthScale = 600.0 / std::max(1, inputs.baseRendering.width());
    inputs.renderOnBackground = engineBaseRenderer(state, inputs.text);
    AnimationSchedule schedule;
    schedule[0] = ScheduleEntry::withDefaults(14, 30);
    schedule[0].setDuration(2.0f);

    std::printf("slide 2 s at 30 fps, %d x %d, lossless WebP, median of %d runs, milliseconds\n",
                inputs.outputWidth, inputs.outputHeight, runs);
    std::printf("%-14s %7s %8s %8s %8s %8s %10s\n", "BackTrans", "frames", "effects", "load", "write", "total",
                "bytes");
    for (const int backTrans : {0, 1}) {
        std::vector<double> effects, load, write, total;
        int frames = 0;
        const QString path = environment.temp.filePath(QStringLiteral("slide%1.webp").arg(backTrans));
        for (int r = 0; r < runs; ++r) {
            EffectState effectState;
            DriverHooks hooks;
            AnimationSettings settings;
            settings.backTrans = backTrans;
            const DriverOutcome o =
                runAnimationDriver(state, inputs, schedule, 1, settings, effectState, DriverMode::Output, path, hooks);
            if (o.status != DriverOutcome::Status::Written) {
                std::fprintf(stderr, "run failed\n");
                return 1;
            }
            frames = o.frames;
            effects.push_back(o.times.effects);
            load.push_back(o.times.load);
            write.push_back(o.times.write);
            total.push_back(o.times.total);
        }
        std::printf("%-14s %7d %8.0f %8.0f %8.0f %8.0f %10lld\n", backTrans ? "on (2 passes)" : "off", frames,
                    median(effects), median(load), median(write), median(total),
                    static_cast<long long>(QFileInfo(path).size()));
    }
    if (qEnvironmentVariableIntValue("VAKURO_BENCH_KEEP") == 1) {
        environment.temp.setAutoRemove(false);
        std::printf("files kept in %s\n", qPrintable(environment.temp.path()));
    }
    return 0;
}
