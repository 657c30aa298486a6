#include "animation_driver.h"

#include <chrono>
#include <optional>
#include <thread>

#include <QFile>

#include "character_cutouts.h"
#include "cp932_qstring.h"
#include "dispatch.h"
#include "effect_kinds.h"
#include "frame_table.h"
#include "output_messages.h"
#include "program_paths.h"
#include "render_pipeline.h"
#include "shared_routines.h"

namespace vakuro {

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void tell(const DriverHooks& hooks, QMessageBox::Icon icon, const char* title, const QString& text) {
    OutputMessage m;
    m.icon = icon;
    m.title = QString::fromUtf8(title);
    m.text = text;
    showOutputMessage(m, hooks.messageOwner);
}

void tell(const DriverHooks& hooks, QMessageBox::Icon icon, const char* title, const char* text) {
    tell(hooks, icon, title, QString::fromUtf8(text));
}

// The busy pointer for the life of the object.
class BusyPointer {
public:
    explicit BusyPointer(const DriverHooks& hooks) : hooks_(hooks) {
        if (hooks_.busy) hooks_.busy(true);
    }
    ~BusyPointer() {
        if (hooks_.busy) hooks_.busy(false);
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    const DriverHooks& hooks_;
};

// The checks made before anything is generated. Returns false (after the
// message) when the run must not go on.
bool checkSchedule(ProgramState& state, const AnimationRunInputs& inputs, const AnimationSchedule& schedule,
                   int rows, const DriverHooks& hooks, int64_t& total) {
    using namespace driver_message;
    total = weightedFrameTotal(schedule, rows);
    if (total > 900) {
        tell(hooks, QMessageBox::Critical, kAnimationError, kTooMuchData);
        return false;
    }
    bool perCharacter = false;
    for (int i = 0; i < rows; ++i) perCharacter = perCharacter || isPerCharacterKind(schedule[i].kind());
    if (state.style.Vertical == 1 && perCharacter) {
        tell(hooks, QMessageBox::Information, kError, kVertical);
        return false;
    }
    // The per-character tables hold 100 glyphs; the frame table 1001 frames.
    if (perCharacter && GlyphCount(fromCp932(toCp932Lossy(inputs.text))) > kMaxCutGlyphs) {
        tell(hooks, QMessageBox::Critical, kAnimationError, kTooManyGlyphs);
        return false;
    }
    if (scheduledFrameCount(schedule, rows) > FrameTable::kCapacity) {
        tell(hooks, QMessageBox::Critical, kAnimationError, kTooManyFrames);
        return false;
    }
    if (inputs.baseRendering.isNull() || inputs.outputWidth < 1 || inputs.outputHeight < 1) {
        tell(hooks, QMessageBox::Critical, kAnimationError, kNoBase);
        return false;
    }
    return true;
}

// Steps 3 to 5: the base file at output size and the base picture.
bool prepareBase(GenerationContext& ctx, const AnimationRunInputs& inputs) {
    if (!ctx.writePicture(inputs.baseRendering.convertToFormat(QImage::Format_RGB32), ctx.baseFile)) return false;
    ctx.resizeToOutput(ctx.baseFile);
    ctx.basePicture = GenerationContext::loadPicture(ctx.basePath);
    if (ctx.basePicture.isNull()) return false;
    ctx.frameWidth = ctx.basePicture.width();
    ctx.frameHeight = ctx.basePicture.height();
    const int x = std::min(1, ctx.frameWidth - 1);
    const int y = std::min(1, ctx.frameHeight - 1);
    ctx.baseBackground = colourOf(ctx.basePicture.pixel(x, y));
    return true;
}

}  // namespace

bool isWebPPath(const QString& path) { return path.endsWith(QStringLiteral(".webp"), Qt::CaseInsensitive); }

DriverOutcome runAnimationDriver(ProgramState& state, const AnimationRunInputs& inputs,
                                 const AnimationSchedule& schedule, int rows, const AnimationSettings& settings,
                                 EffectState& effects, DriverMode mode, const QString& outputPath,
                                 const DriverHooks& hooks) {
    using namespace driver_message;
    DriverOutcome outcome;
    rows = std::clamp(rows, 0, schedule.rowCount());
    if (rows == 0) return outcome;
    const auto start = Clock::now();
    const double startCpu = threadCpuMilliseconds();
    const double startProcessCpu = processCpuMilliseconds();
    const int64_t startTick = TickCount64();
    outcome.status = DriverOutcome::Status::Refused;

    int64_t total = 0;
    if (!checkSchedule(state, inputs, schedule, rows, hooks, total)) return outcome;
    outcome.weightedTotal = total;
    std::optional<BusyPointer> busy(std::in_place, hooks);

    RenderPipeline renderer(state);
    GenerationContext ctx(state, effects);
    ctx.text = inputs.text;
    ctx.outputWidth = inputs.outputWidth;
    ctx.outputHeight = inputs.outputHeight;
    ctx.widthScale = inputs.widthScale;
    ctx.basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
    ctx.workPath = TempFolder() + QStringLiteral("GifAnimeW.bmp");
    ctx.baseFile = QFile::encodeName(ctx.basePath);
    ctx.workFile = QFile::encodeName(ctx.workPath);
    ctx.smooth = settings.smooth != 0;
    ctx.renderer = &renderer;
    if (!prepareBase(ctx, inputs)) {
        busy.reset();
        tell(hooks, QMessageBox::Critical, kAnimationError, kNoBase);
        return outcome;
    }
    effects.canvas = QImage(ctx.frameWidth, ctx.frameHeight, QImage::Format_RGB32);

    if (hooks.progress) hooks.progress(0, true, total);
    bool perCharacter = false;
    for (int i = 0; i < rows; ++i) perCharacter = perCharacter || isPerCharacterKind(schedule[i].kind());
    if (perCharacter) {
        effects.lastCut = SplitCharacterImages(state, inputs.text, ctx.workPath, ctx.basePicture, ctx.outputWidth,
                                               ctx.outputHeight, ctx.widthScale, state.options.charSplitType);
        effects.hasLastCut = true;
        ctx.cutouts = &effects.lastCut;
    }

    const int threads = hooks.reductionThreads >= 0
                            ? hooks.reductionThreads
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // WebP keeps every frame's own colours; the GIF and the preview use 256.
    const bool webp = mode == DriverMode::Output && isWebPPath(outputPath);
    FrameTable frames(state.libraries().imageFormat, threads, !webp);
    bool unreadable = false;
    bool full = false;
    ctx.sink = [&](const QByteArray& path, int delay, int weight) {
        if (ctx.stopped) return false;
        const FrameTable::Append added = frames.append(path, delay);
        if (added != FrameTable::Append::Added) {
            (added == FrameTable::Append::Full ? full : unreadable) = true;
            ctx.stopped = true;
            return false;
        }
        if (hooks.progress) hooks.progress(weight, false, total);
        if (hooks.betweenFrames) hooks.betweenFrames();
        return true;
    };

    outcome.status = DriverOutcome::Status::Failed;
    for (int i = 0; i < rows && !ctx.stopped; ++i) {
        const DispatchRow* row = dispatchRow(schedule[i].kind());
        if (!row) continue;  // a kind this program does not know makes no frames
        ctx.entry = &schedule[i];
        ctx.entryIndex = i;
        const int before = frames.count();
        const int skippedBefore = ctx.skippedFrames;
        row->generate(ctx, entryTiming(schedule[i]));
        const int made = frames.count() - before + (ctx.skippedFrames - skippedBefore);
        if (!ctx.stopped && made != entryFrameCount(schedule[i])) {
            qWarning("animation: the generator of kind %d made %d frames instead of %lld", row->kind,
                     frames.count() - before, static_cast<long long>(entryFrameCount(schedule[i])));
        }
    }
    outcome.times.effects = msSince(start) - frames.loadMilliseconds();
    outcome.times.effectsCpu = threadCpuMilliseconds() - startCpu - frames.loadCpuMilliseconds();
    const auto waitStart = Clock::now();
    const bool reduced = frames.finish();
    outcome.times.waitReduce = msSince(waitStart);
    outcome.times.load = frames.loadMilliseconds();
    outcome.times.loadCpu = frames.loadCpuMilliseconds();
    outcome.times.reduceCpu = frames.reduceCpuMilliseconds();
    outcome.frames = frames.count();
    outcome.skippedFrames = ctx.skippedFrames;
    outcome.elapsedSeconds = static_cast<double>(TickCount64() - startTick) / 1000.0;

    if (full || unreadable || ctx.failed || !reduced) {
        busy.reset();
        tell(hooks, QMessageBox::Critical, kAnimationError,
             full ? kTooManyFrames : ctx.failed ? kFrameNotMade : kUnreadableFrame);
    } else if (frames.count() == 0) {
        busy.reset();
        tell(hooks, QMessageBox::Information, kAnimationError, kNoFrames);
    } else {
        // Frames whose work image could not be made were left out rather
        // than replaced by the previous frame's file; say so before showing
        // or writing the rest.
        if (ctx.skippedFrames > 0) {
            busy.reset();
            tell(hooks, QMessageBox::Warning, kAnimationError,
                 QString::fromUtf8(kFramesSkipped).arg(ctx.skippedFrames));
        }
        frames.setTransparency(settings.backTrans != 0);
        if (mode == DriverMode::Preview) {
            busy.reset();
            if (hooks.preview) hooks.preview(frames);
            outcome.status = DriverOutcome::Status::Previewed;
        } else {
            GifAnimeHeader header{};
            header.flags = IMGCTL_ANIME_HEADER_TAG;
            header.loopCount = static_cast<int16_t>(std::clamp(settings.loopCount, 0, 32767));
            const auto writeStart = Clock::now();
            const double writeCpuStart = threadCpuMilliseconds();
            const QByteArray path = QFile::encodeName(outputPath);
            const auto& formats = state.libraries().imageFormat;
            const int written =
                webp ? formats.DIBtoWebPAni(path.constData(), frames.records().data(), frames.count(), &header,
                                            settings.webpQuality)
                     : formats.DIBtoGIFAniEx(path.constData(), frames.records().data(), frames.count(), &header);
            outcome.times.write = msSince(writeStart);
            outcome.times.writeCpu = threadCpuMilliseconds() - writeCpuStart;
            busy.reset();
            if (written == IMGCTL_OK) {
                outcome.status = DriverOutcome::Status::Written;
            } else {
                tell(hooks, QMessageBox::Critical, kAnimationError,
                     QString::fromUtf8(kNotWritten) + QStringLiteral("\n") + outputPath);
            }
        }
    }
    if (hooks.progress) hooks.progress(0, true, total);
    frames.release();
    outcome.times.total = msSince(start);
    outcome.times.totalCpu = processCpuMilliseconds() - startProcessCpu;
    return outcome;
}

}  // namespace vakuro
