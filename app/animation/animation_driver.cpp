#include "animation_driver.h"

#include <chrono>
#include <optional>
#include <thread>

#include <QFile>

#include "alpha_image.h"
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
bool prepareBase(GenerationContext& ctx, const QImage& baseRendering) {
    if (!ctx.writePicture(baseRendering.convertToFormat(QImage::Format_RGB32), ctx.baseFile)) return false;
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

// The base rendering with its background-coloured pixels (those equal to
// pixel (1, 1)) painted in backColor.
QImage rekeyedBase(const QImage& rendering, int backColor) {
    QImage out = rendering.convertToFormat(QImage::Format_RGB32);
    if (out.isNull()) return out;
    const QRgb key = out.pixel(std::min(1, out.width() - 1), std::min(1, out.height() - 1));
    const QRgb back = pixelOf(backColor);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (row[x] == key) row[x] = back;
    }
    return out;
}

// What one generation of the schedule left besides its frames.
struct PassResult {
    bool prepared = false;  // the base picture could be made
    bool full = false;
    bool unreadable = false;
    bool failed = false;
    int skippedFrames = 0;
    std::vector<int> kinds;  // the kind of the entry that made each frame
};

// One generation of the first rows entries into frames, from the given base
// rendering, with the style as it stands (the caller sets BackColor).
PassResult generatePass(ProgramState& state, const AnimationRunInputs& inputs, const QImage& baseRendering,
                        const AnimationSchedule& schedule, int rows, const AnimationSettings& settings,
                        EffectState& effects, RenderPipeline& renderer, bool whiteInk, bool firstPass,
                        FrameTable& frames, const DriverHooks& hooks, int64_t progressTotal) {
    PassResult result;
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
    ctx.whiteInk = whiteInk;
    if (!prepareBase(ctx, baseRendering)) return result;
    result.prepared = true;
    effects.canvas = QImage(ctx.frameWidth, ctx.frameHeight, QImage::Format_RGB32);

    if (firstPass && hooks.progress) hooks.progress(0, true, progressTotal);
    bool perCharacter = false;
    for (int i = 0; i < rows; ++i) perCharacter = perCharacter || isPerCharacterKind(schedule[i].kind());
    if (perCharacter) {
        effects.lastCut = SplitCharacterImages(state, inputs.text, ctx.workPath, ctx.basePicture, ctx.outputWidth,
                                               ctx.outputHeight, ctx.widthScale, state.options.charSplitType);
        effects.hasLastCut = true;
        ctx.cutouts = &effects.lastCut;
    }

    int currentKind = 0;
    ctx.sink = [&](const QByteArray& path, int delay, int weight) {
        if (ctx.stopped) return false;
        const FrameTable::Append added = frames.append(path, delay);
        if (added != FrameTable::Append::Added) {
            (added == FrameTable::Append::Full ? result.full : result.unreadable) = true;
            ctx.stopped = true;
            return false;
        }
        result.kinds.push_back(currentKind);
        if (hooks.progress) hooks.progress(weight, false, progressTotal);
        if (hooks.betweenFrames) hooks.betweenFrames();
        return true;
    };

    for (int i = 0; i < rows && !ctx.stopped; ++i) {
        const DispatchRow* row = dispatchRow(schedule[i].kind());
        if (!row) continue;  // a kind this program does not know makes no frames
        ctx.entry = &schedule[i];
        ctx.entryIndex = i;
        currentKind = row->kind;
        const int before = frames.count();
        const int skippedBefore = ctx.skippedFrames;
        row->generate(ctx, entryTiming(schedule[i]));
        const int made = frames.count() - before + (ctx.skippedFrames - skippedBefore);
        if (!ctx.stopped && made != entryFrameCount(schedule[i])) {
            qWarning("animation: the generator of kind %d made %d frames instead of %lld", row->kind,
                     frames.count() - before, static_cast<long long>(entryFrameCount(schedule[i])));
        }
    }
    result.failed = ctx.failed;
    result.skippedFrames = ctx.skippedFrames;
    return result;
}

// Kinds whose frames add light (the light, the back light, the flash's
// glow, the snow and the star glints, whose light is added and clipped at
// white): no straight alpha can express added light, and those frames are
// solved exact over black, which suits a dark page.
bool addsLight(int kind) { return kind == 7 || kind == 8 || kind == 9 || kind == 10 || kind == 16; }

// A frame of the table as a picture (Format_RGB32).
QImage frameImage(const ImageFormatLibrary& formats, int handle) {
    int w = 0;
    int h = 0;
    if (formats.DIBInfo(handle, &w, &h, nullptr) != IMGCTL_OK || w < 1 || h < 1) return QImage();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return image;
    if (formats.DIBtoRGB32(handle, reinterpret_cast<uint32_t*>(image.bits()), w, h,
                           static_cast<int>(image.bytesPerLine())) != IMGCTL_OK)
        return QImage();
    return image;
}

// Releases a frame's bitmap before the table does (the table skips
// records whose handle is 0).
void releaseFrame(const ImageFormatLibrary& formats, FrameRecord& record) {
    if (record.dib != 0) formats.DeleteDIB(record.dib);
    record.dib = 0;
}

// The straight-alpha frames of a pass on black and a pass on white, written
// as an animated WebP. Each pair's bitmaps are released once solved, so that
// the two tables and the solved frames are not all held at once. False when
// a frame pair cannot be solved or the file cannot be written.
bool writeAlphaWebP(const ImageFormatLibrary& formats, const QByteArray& path, FrameTable& onBlack,
                    FrameTable& onWhite, const std::vector<int>& kinds, int shadowType, const GifAnimeHeader& header,
                    int quality) {
    const int count = onBlack.count();
    std::vector<QImage> pictures(static_cast<size_t>(count));
    std::vector<RgbaFrame> list(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        FrameRecord& b = onBlack.records()[static_cast<size_t>(i)];
        FrameRecord& w = onWhite.records()[static_cast<size_t>(i)];
        const AlphaFavour favour = addsLight(kinds[static_cast<size_t>(i)]) ? AlphaFavour::Black
                                                                             : alphaFavourForShadow(shadowType);
        QImage& rgba = pictures[static_cast<size_t>(i)];
        rgba = solveAlpha(frameImage(formats, b.dib), frameImage(formats, w.dib), favour);
        if (rgba.isNull()) return false;
        list[static_cast<size_t>(i)] = RgbaFrame{rgba.constBits(), rgba.width(), rgba.height(),
                                                 static_cast<int32_t>(rgba.bytesPerLine()), b.delay};
        releaseFrame(formats, b);
        releaseFrame(formats, w);
    }
    return formats.RGBAtoWebPAni(path.constData(), list.data(), count, &header, quality) == IMGCTL_OK;
}

// Puts the style's BackColor back when a pass ends, also early.
class BackColorGuard {
public:
    explicit BackColorGuard(PavrexStyle& style) : style_(style), saved_(style.BackColor) {}
    ~BackColorGuard() { style_.BackColor = saved_; }
    BackColorGuard(const BackColorGuard&) = delete;
    BackColorGuard& operator=(const BackColorGuard&) = delete;

private:
    PavrexStyle& style_;
    int saved_;
};

}  // namespace

bool isWebPPath(const QString& path) { return path.endsWith(QStringLiteral(".webp"), Qt::CaseInsensitive); }

std::function<QImage(int backColor)> engineBaseRenderer(ProgramState& state, const QString& text) {
    return [&state, text](int backColor) {
        PavrexStyle style = state.style;
        style.BackColor = backColor;
        const QString file = TempFolder() + QStringLiteral("GifAnimeK.bmp");
        QFile::remove(file);
        const QByteArray bytes = toCp932Lossy(text);
        if (state.libraries().engine.ImgMake3(bytes.constData(), &style, QFile::encodeName(file).constData(), 0,
                                              PAVREX_WHITE_INK) != PAVREX_OK)
            return QImage();
        QImage image(file, "BMP");
        QFile::remove(file);
        return image;
    };
}

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

    const int threads = hooks.reductionThreads >= 0
                            ? hooks.reductionThreads
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // WebP keeps every frame's own colours; the GIF and the preview use 256.
    const bool webp = mode == DriverMode::Output && isWebPPath(outputPath);
    // A transparent WebP: a pass on black and a pass on white.
    const bool alpha = webp && settings.backTrans != 0;
    const int64_t progressTotal = alpha ? 2 * total : total;
    RenderPipeline renderer(state);
    FrameTable frames(state.libraries().imageFormat, threads, !webp);
    std::optional<FrameTable> whiteFrames;
    PassResult pass;
    if (!alpha) {
        pass = generatePass(state, inputs, inputs.baseRendering, schedule, rows, settings, effects, renderer, false,
                            true, frames, hooks, total);
    } else {
        auto baseOn = [&](int back) {
            return inputs.renderOnBackground ? inputs.renderOnBackground(back) : rekeyedBase(inputs.baseRendering, back);
        };
        // Both passes draw the same random numbers and start from the same
        // effect state.
        const AnimationRandom startRandom = animationRandom();
        const EffectState startEffects = effects;
        {
            BackColorGuard guard(state.style);
            state.style.BackColor = kAlphaBlack;
            const QImage base = baseOn(kAlphaBlack);
            if (!base.isNull()) {
                pass = generatePass(state, inputs, base, schedule, rows, settings, effects, renderer, true, true,
                                    frames, hooks, progressTotal);
            }
        }
        const bool blackDone = pass.prepared && !pass.full && !pass.unreadable && !pass.failed;
        if (blackDone) {
            animationRandom() = startRandom;
            effects = startEffects;
            whiteFrames.emplace(state.libraries().imageFormat, threads, false);
            BackColorGuard guard(state.style);
            state.style.BackColor = kAlphaWhite;
            const QImage base = baseOn(kAlphaWhite);
            PassResult white;
            if (!base.isNull()) {
                white = generatePass(state, inputs, base, schedule, rows, settings, effects, renderer, true, false,
                                     *whiteFrames, hooks, progressTotal);
            }
            pass.prepared = white.prepared;
            pass.full = white.full;
            pass.unreadable = white.unreadable;
            pass.failed = white.failed;
            // The passes must agree frame for frame.
            bool same = white.prepared && whiteFrames->count() == frames.count() && white.kinds == pass.kinds;
            for (int i = 0; same && i < frames.count(); ++i)
                same = frames.records()[size_t(i)].delay == whiteFrames->records()[size_t(i)].delay;
            if (white.prepared && !white.full && !white.unreadable && !same) pass.failed = true;
        }
    }
    if (!pass.prepared) {
        busy.reset();
        tell(hooks, QMessageBox::Critical, kAnimationError, kNoBase);
        return outcome;
    }
    outcome.status = DriverOutcome::Status::Failed;
    const double loadMs = frames.loadMilliseconds() + (whiteFrames ? whiteFrames->loadMilliseconds() : 0.0);
    const double loadCpuMs =
        frames.loadCpuMilliseconds() + (whiteFrames ? whiteFrames->loadCpuMilliseconds() : 0.0);
    outcome.times.effects = msSince(start) - loadMs;
    outcome.times.effectsCpu = threadCpuMilliseconds() - startCpu - loadCpuMs;
    const auto waitStart = Clock::now();
    const bool reduced = frames.finish() && (!whiteFrames || whiteFrames->finish());
    outcome.times.waitReduce = msSince(waitStart);
    outcome.times.load = loadMs;
    outcome.times.loadCpu = loadCpuMs;
    outcome.times.reduceCpu =
        frames.reduceCpuMilliseconds() + (whiteFrames ? whiteFrames->reduceCpuMilliseconds() : 0.0);
    outcome.frames = frames.count();
    outcome.skippedFrames = pass.skippedFrames;
    outcome.elapsedSeconds = static_cast<double>(TickCount64() - startTick) / 1000.0;
    const bool full = pass.full;
    const bool unreadable = pass.unreadable;

    if (full || unreadable || pass.failed || !reduced) {
        busy.reset();
        tell(hooks, QMessageBox::Critical, kAnimationError,
             full ? kTooManyFrames : pass.failed ? kFrameNotMade : kUnreadableFrame);
    } else if (frames.count() == 0) {
        busy.reset();
        tell(hooks, QMessageBox::Information, kAnimationError, kNoFrames);
    } else {
        // Frames whose work image could not be made were left out rather
        // than replaced by the previous frame's file; say so before showing
        // or writing the rest.
        if (pass.skippedFrames > 0) {
            busy.reset();
            tell(hooks, QMessageBox::Warning, kAnimationError,
                 QString::fromUtf8(kFramesSkipped).arg(pass.skippedFrames));
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
            int written = IMGCTL_OK;
            if (alpha) {
                written = writeAlphaWebP(formats, path, frames, *whiteFrames, pass.kinds, state.style.ShadowType, header,
                                         settings.webpQuality)
                              ? IMGCTL_OK
                              : IMGCTL_ERR_WRITE;
            } else {
                written = webp ? formats.DIBtoWebPAni(path.constData(), frames.records().data(), frames.count(),
                                                      &header, settings.webpQuality)
                               : formats.DIBtoGIFAniEx(path.constData(), frames.records().data(), frames.count(),
                                                       &header);
            }
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
    if (hooks.progress) hooks.progress(0, true, progressTotal);
    frames.release();
    if (whiteFrames) whiteFrames->release();
    outcome.times.total = msSince(start);
    outcome.times.totalCpu = processCpuMilliseconds() - startProcessCpu;
    return outcome;
}

}  // namespace vakuro
