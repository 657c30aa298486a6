// The generation driver: turns the schedule into frames, in preview mode
// (the frames go to the preview window) or output mode (they are written as
// one animated GIF). It runs on the calling (user-interface) thread; only
// the reduction of each frame to 256 colours runs on worker threads, while
// the next frames are made.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <QString>

#include "animation_settings.h"
#include "generation_context.h"
#include "schedule.h"

class QWidget;

namespace vakuro {

class FrameTable;

// What a run takes from the window that started it.
struct AnimationRunInputs {
    // The main window's text.
    QString text;
    // The text rendered at full size when the animation window was opened
    // (the main window's second hidden holder).
    QImage baseRendering;
    // Output size W x H and the width scale.
    int outputWidth = 0;
    int outputHeight = 0;
    double widthScale = 0.5;
    // The same rendering made again on another background colour
    // (0x00BBGGRR). An animated WebP with BackTrans is generated twice, from
    // the text on near black (kAlphaBlack) and on white (kAlphaWhite), and
    // each frame's alpha is solved from the two. Empty: the base rendering
    // stands in, its background-coloured pixels (those equal to pixel
    // (1, 1)) painted in the other colour.
    std::function<QImage(int backColor)> renderOnBackground;
};

// The base rendering of the animation (the style's text as the main window
// renders it when the animation window opens) made by the engine on another
// background colour, with the white-ink flag so that a pure white fill stays
// text; for AnimationRunInputs::renderOnBackground.
std::function<QImage(int backColor)> engineBaseRenderer(ProgramState& state, const QString& text);

enum class DriverMode { Preview, Output };

// True when an output path names an animated WebP (extension ".webp", any
// case); every other name is written as an animated GIF.
bool isWebPPath(const QString& path);

struct DriverHooks {
    // ProgressStep(amount, reset), after every frame and at start and end.
    std::function<void(int amount, bool reset, int64_t total)> progress;
    // Called between frames: the window repaints here.
    std::function<void()> betweenFrames;
    // The busy mouse pointer on (true) and off.
    std::function<void(bool)> busy;
    // Preview mode: shows the frames (modally) and returns when the preview
    // has closed.
    std::function<void(FrameTable& frames)> preview;
    // The owner of message boxes.
    QWidget* messageOwner = nullptr;
    // Threads that reduce colours; -1 for one per processor.
    int reductionThreads = -1;
};

// Time per stage of a run, in milliseconds: wall time, and processor time
// (of the generating thread, of the reducing threads, of the process).
struct DriverStageTimes {
    double effects = 0;     // generators, including the effects library's file reads and writes
    double load = 0;        // loading the frames' BMP files (ToDIB)
    double waitReduce = 0;  // waiting for the reductions after the last frame
    double write = 0;       // writing the GIF
    double total = 0;
    double effectsCpu = 0;
    double loadCpu = 0;
    double reduceCpu = 0;   // reduction to 256 colours, summed over the threads
    double writeCpu = 0;
    double totalCpu = 0;    // the whole process
};

struct DriverOutcome {
    enum class Status {
        Nothing,    // no rows
        Refused,    // a check before generation failed; nothing was generated
        Failed,     // stopped during generation or the file could not be written
        Previewed,
        Written,
    };
    Status status = Status::Nothing;
    int frames = 0;
    int skippedFrames = 0;  // frames whose work image could not be made
    int64_t weightedTotal = 0;
    double elapsedSeconds = 0;  // start of the run to the end of generation
    DriverStageTimes times;
};

// Texts of the messages a run can show.
namespace driver_message {
inline constexpr char kTooMuchData[] = "データ量が多すぎます！";
inline constexpr char kAnimationError[] = "アニメーションエラー";
inline constexpr char kVertical[] = "縦書き書式での「ﾄﾞﾛｯﾌﾟ」「ｽﾗｲﾄﾞ」「ﾄﾗﾝﾌﾟ」には対応していません";
inline constexpr char kError[] = "エラー";
inline constexpr char kTooManyFrames[] = "フレーム数が多すぎます！（最大1001フレーム）";
inline constexpr char kTooManyGlyphs[] = "文字数が多すぎます！（ﾄﾞﾛｯﾌﾟ・ｽﾗｲﾄﾞ・ﾄﾗﾝﾌﾟは100文字まで）";
inline constexpr char kNoBase[] = "アニメーションの元画像を作れませんでした";
inline constexpr char kUnreadableFrame[] = "フレーム画像を読み込めませんでした";
inline constexpr char kFrameNotMade[] = "フレーム画像を作れませんでした";
// %1: the number of frames skipped.
inline constexpr char kFramesSkipped[] = "フレーム画像を作れなかった %1 フレームを飛ばしました";
inline constexpr char kNoFrames[] = "出力するフレームがありません";
inline constexpr char kNotWritten[] = "ファイルに書き込めませんでした";
}  // namespace driver_message

// Runs the driver over the first rows entries of the schedule. In output
// mode the GIF (or WebP) goes to outputPath; it is written whole or not at
// all. A WebP with BackTrans is generated twice, with the same random
// draws, on near black and on white (the style's BackColor set to each for
// the pass, so that fades and edges blend toward the pass's background),
// and written with the straight alpha of each frame pair.
DriverOutcome runAnimationDriver(ProgramState& state, const AnimationRunInputs& inputs,
                                 const AnimationSchedule& schedule, int rows, const AnimationSettings& settings,
                                 EffectState& effects, DriverMode mode, const QString& outputPath,
                                 const DriverHooks& hooks);

}  // namespace vakuro
