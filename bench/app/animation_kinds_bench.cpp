// Time per frame of every animation effect kind: a styled Japanese title at
// 999 x 300, each kind as one entry of 2 s at 20 frames per second (spin
// 39 frames, the others 40), with the entry's defaults and a few variants
// (perspective, gravity, card deal, a free move that turns). Two figures,
// the median of several runs:
//  - "generator": the kind's generator alone, frames written to the work
//    BMP file and not loaded (what the effect itself costs), as wall time
//    and as the thread's processor time ("cpu"), which a busy machine
//    distorts less;
//  - "driver": the whole preview run through the real driver (base image,
//    per-character cut-outs, loading and colour reduction of every frame)
//    divided by the frames.
// Kinds whose generator is still the placeholder are marked. Goals: free
// move at most 40 ms a frame, every other kind at most 25 ms.
//
//   build/bin/animation_kinds_bench [runs] [kind ...]
//   ANIMATION_KINDS_KEEP=folder  also writes one GIF per row there
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "bench_environment.h"
#include "animation_driver.h"
#include "bench_title.h"
#include "character_cutouts.h"
#include "dispatch.h"
#include "effect_kinds.h"
#include "frame_table.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"

using namespace vakuro;

namespace {

using Clock = std::chrono::steady_clock;


struct Row {
    const char* name;
    ScheduleEntry entry;
};

std::vector<Row> rows(const std::set<int>& only) {
    std::vector<Row> out;
    auto add = [&](const char* name, int kind, auto&& change) {
        if (!only.empty() && !only.count(kind)) return;
        ScheduleEntry e = ScheduleEntry::withDefaults(kind, 20);
        e.setDuration(2.0f);
        change(e);
        out.push_back({name, e});
    };
    const auto same = [](ScheduleEntry&) {};
    for (int kind = 1; kind <= 19; ++kind) add("defaults", kind, same);
    add("perspective 10", 11, [](ScheduleEntry& e) { e[slot::StandPerspective] = 10; });
    add("type 2", 11, [](ScheduleEntry& e) { e[slot::StandType] = 1; });
    add("perspective 9, back 0", 12, [](ScheduleEntry& e) {
        e[slot::SpinPerspective] = 9;
        e[slot::SpinBackBrightness] = 0;
    });
    add("gravity", 13, [](ScheduleEntry& e) { e[slot::DropGravity] = 1; });
    add("上下から", 14, [](ScheduleEntry& e) { e[slot::SlideDirection] = 3; });
    add("ディール1", 15, [](ScheduleEntry& e) { e[slot::TrumpType] = 6; });
    add("回転ｼﾞｬﾝﾌﾟ", 15, [](ScheduleEntry& e) { e[slot::TrumpType] = 4; });
    add("turning 0..360, 50..150 %", 19, [](ScheduleEntry& e) {
        e[slot::MoveStartAngle] = 0;
        e[slot::MoveEndAngle] = 360;
        e[slot::MoveStartWidth] = e[slot::MoveStartHeight] = 50;
        e[slot::MoveEndWidth] = e[slot::MoveEndHeight] = 150;
        e[slot::MoveStartX] = -40;
        e[slot::MoveEndX] = 20;
        e[slot::MoveEndTransparency] = 30;
    });
    return out;
}

// The generator alone: the context as the driver fills it, frames written
// to the work file and counted.
double generatorMilliseconds(ProgramState& state, const AnimationRunInputs& inputs, const ScheduleEntry& entry,
                             int& frames, double& cpu) {
    EffectState effects;
    GenerationContext ctx(state, effects);
    ctx.text = inputs.text;
    ctx.outputWidth = inputs.outputWidth;
    ctx.outputHeight = inputs.outputHeight;
    ctx.widthScale = inputs.widthScale;
    ctx.basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
    ctx.workPath = TempFolder() + QStringLiteral("GifAnimeW.bmp");
    ctx.baseFile = QFile::encodeName(ctx.basePath);
    ctx.workFile = QFile::encodeName(ctx.workPath);
    ctx.writePicture(inputs.baseRendering.convertToFormat(QImage::Format_RGB32), ctx.baseFile);
    ctx.resizeToOutput(ctx.baseFile);
    ctx.basePicture = GenerationContext::loadPicture(ctx.basePath);
    ctx.frameWidth = ctx.basePicture.width();
    ctx.frameHeight = ctx.basePicture.height();
    ctx.baseBackground = colourOf(ctx.basePicture.pixel(1, 1));
    effects.canvas = QImage(ctx.frameWidth, ctx.frameHeight, QImage::Format_RGB32);
    RenderPipeline renderer(state);
    ctx.renderer = &renderer;
    if (isPerCharacterKind(entry.kind())) {
        effects.lastCut = SplitCharacterImages(state, inputs.text, ctx.workPath, ctx.basePicture, ctx.outputWidth,
                                               ctx.outputHeight, ctx.widthScale, state.options.charSplitType);
        ctx.cutouts = &effects.lastCut;
    }
    frames = 0;
    ctx.sink = [&](const QByteArray&, int, int) {
        ++frames;
        return true;
    };
    ctx.entry = &entry;
    ctx.entryIndex = 0;
    const auto start = Clock::now();
    const double startCpu = threadCpuMilliseconds();
    dispatchRow(entry.kind())->generate(ctx, entryTiming(entry));
    cpu = threadCpuMilliseconds() - startCpu;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const BenchEnvironment environment;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    std::set<int> only;
    for (int i = 2; i < argc; ++i) only.insert(atoi(argv[i]));
    Libraries libraries;
    if (!bindBenchLibraries(libraries)) return 1;
    ProgramState state(libraries, SettingsPath());
    styleBenchTitle(state.style);
    RenderPipeline pipeline(state);
    const AnimationRunInputs inputs = renderBenchTitle(pipeline);
    const QString keep = QString::fromLocal8Bit(qgetenv("ANIMATION_KINDS_KEEP"));

    std::printf("999 x 300, 2 s at 20 fps, median of %d runs, milliseconds per frame\n", runs);
    std::printf("%-4s %-28s %7s %10s %8s %8s\n", "kind", "entry", "frames", "generator", "(cpu)", "driver");
    for (const Row& row : rows(only)) {
        const int kind = row.entry.kind();
        std::vector<double> generator, generatorCpu, driver;
        int frames = 0;
        for (int r = 0; r < runs; ++r) {
            double cpu = 0;
            generator.push_back(generatorMilliseconds(state, inputs, row.entry, frames, cpu));
            generatorCpu.push_back(cpu);
            AnimationSchedule schedule;
            schedule[0] = row.entry;
            EffectState effects;
            DriverHooks hooks;
            const DriverOutcome o = runAnimationDriver(state, inputs, schedule, 1, {}, effects, DriverMode::Preview,
                                                       QString(), hooks);
            if (o.status != DriverOutcome::Status::Previewed) {
                std::fprintf(stderr, "kind %d: run failed\n", kind);
                return 1;
            }
            driver.push_back(o.times.total / std::max(1, o.frames));
        }
        const bool placeholder = !dispatchRow(kind)->implemented;
        std::printf("%-4d %-28s %7d %10.1f %8.1f %8.1f%s\n", kind, row.name, frames,
                    median(generator) / std::max(1, frames), median(generatorCpu) / std::max(1, frames),
                    median(driver), placeholder ? "  (placeholder)" : "");
        if (!keep.isEmpty()) {
            AnimationSchedule schedule;
            schedule[0] = row.entry;
            EffectState effects;
            DriverHooks hooks;
            const QString name = QStringLiteral("kind%1-%2.gif").arg(kind, 2, 10, QLatin1Char('0')).arg(
                QString::fromUtf8(row.name).replace(QLatin1Char(' '), QLatin1Char('_')));
            runAnimationDriver(state, inputs, schedule, 1, {}, effects, DriverMode::Output, QDir(keep).filePath(name),
                               hooks);
        }
        std::fflush(stdout);
    }
    return 0;
}
