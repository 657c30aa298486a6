// Animated GIF output of a fade schedule: fade-in 5 s and fade-out 5 s at
// 20 frames per second (200 frames) of a styled Japanese title at 999 x 300,
// through the real driver (every frame through the work BMP file). Reports
// the wall time per stage (effects, loading the frame files, colour
// reduction, waiting for the last reductions, GIF writing) with the
// reduction done in turn on the generating thread ("serial") and on worker
// threads ("parallel"), the median of five runs each, as wall time and as
// processor time (which a busy machine distorts less); then the GIF's size
// beside the same frames written whole and after "gifsicle -O3" of that file
// (when gifsicle is installed). Runs on the offscreen platform.
//
//   build/bin/animation_bench [runs]
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "bench_environment.h"
#include "animation_driver.h"
#include "bench_title.h"
#include "frame_table.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"

using namespace vakuro;

namespace {


AnimationSchedule fadeSchedule() {
    AnimationSchedule s;
    s[0] = ScheduleEntry::withDefaults(3, 20);
    s[0].setDuration(5.0f);
    s[1] = ScheduleEntry::withDefaults(4, 20);
    s[1].setDuration(5.0f);
    return s;
}

struct Stages {
    std::vector<double> effects, load, waitReduce, write, total;
    std::vector<double> effectsCpu, loadCpu, reduceCpu, writeCpu, totalCpu;
    void add(const DriverStageTimes& t) {
        effects.push_back(t.effects);
        load.push_back(t.load);
        waitReduce.push_back(t.waitReduce);
        write.push_back(t.write);
        total.push_back(t.total);
        effectsCpu.push_back(t.effectsCpu);
        loadCpu.push_back(t.loadCpu);
        reduceCpu.push_back(t.reduceCpu);
        writeCpu.push_back(t.writeCpu);
        totalCpu.push_back(t.totalCpu);
    }
    void print(const char* name) const {
        std::printf("%-9s wall %8.0f %8.0f %8s %8.0f %8.0f %8.0f\n", name, median(effects), median(load), "-",
                    median(waitReduce), median(write), median(total));
        std::printf("%-9s cpu  %8.0f %8.0f %8.0f %8s %8.0f %8.0f\n", "", median(effectsCpu), median(loadCpu),
                    median(reduceCpu), "-", median(writeCpu), median(totalCpu));
    }
};

qint64 fileSize(const QString& path) { return QFileInfo(path).exists() ? QFileInfo(path).size() : -1; }

}  // namespace

int main(int argc, char** argv) {
    const BenchEnvironment environment;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    Libraries libraries;
    if (!bindBenchLibraries(libraries)) return 1;
    ProgramState state(libraries, SettingsPath());
    styleBenchTitle(state.style);
    RenderPipeline pipeline(state);
    const AnimationRunInputs inputs = renderBenchTitle(pipeline);
    const AnimationSchedule schedule = fadeSchedule();
    const QString gif = environment.temp.filePath(QStringLiteral("fade.gif"));

    std::printf("fade-in 5 s + fade-out 5 s at 20 fps, 999 x 300, median of %d runs, milliseconds\n", runs);
    std::printf("%-9s      %8s %8s %8s %8s %8s %8s\n", "reduction", "effects", "load", "reduce", "wait", "write",
                "total");
    for (const int threads : {0, -1}) {
        Stages stages;
        for (int r = 0; r < runs; ++r) {
            EffectState effects;
            DriverHooks hooks;
            hooks.reductionThreads = threads;
            const DriverOutcome o = runAnimationDriver(state, inputs, schedule, 2, {}, effects, DriverMode::Output,
                                                       gif, hooks);
            if (o.status != DriverOutcome::Status::Written || o.frames != 200) {
                std::fprintf(stderr, "run failed (%d frames)\n", o.frames);
                return 1;
            }
            stages.add(o.times);
        }
        stages.print(threads == 0 ? "serial" : "parallel");
    }

    // The same frames written whole, and gifsicle's best of that file.
    const QString whole = environment.temp.filePath(QStringLiteral("whole.gif"));
    EffectState effects;
    DriverHooks hooks;
    hooks.preview = [&](FrameTable& frames) {
        GifAnimeHeader header{};
        header.flags = IMGCTL_ANIME_HEADER_TAG | IMGCTL_ANIME_NO_OPTIMIZE;
        libraries.imageFormat.DIBtoGIFAniEx(QFile::encodeName(whole).constData(), frames.records().data(),
                                            frames.count(), &header);
    };
    runAnimationDriver(state, inputs, schedule, 2, {}, effects, DriverMode::Preview, QString(), hooks);
    std::printf("\nGIF bytes: written %lld, frames written whole %lld", fileSize(gif), fileSize(whole));
    const QString gifsicle = QStandardPaths::findExecutable(QStringLiteral("gifsicle"));
    if (!gifsicle.isEmpty()) {
        const QString optimised = environment.temp.filePath(QStringLiteral("whole-O3.gif"));
        QProcess::execute(gifsicle, {QStringLiteral("-O3"), whole, QStringLiteral("-o"), optimised});
        std::printf(", gifsicle -O3 of those %lld", fileSize(optimised));
    } else {
        std::printf(" (gifsicle not installed)");
    }
    std::printf("\n");
    if (qEnvironmentVariableIsSet("ANIMATION_BENCH_KEEP")) {
        const QString keep = QString::fromLocal8Bit(qgetenv("ANIMATION_BENCH_KEEP"));
        QFile::copy(gif, keep);
        std::printf("kept %s\n", qPrintable(keep));
    }
    return 0;
}
