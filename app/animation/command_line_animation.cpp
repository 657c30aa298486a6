#include "command_line_animation.h"

#include <cstdio>

#include <QDir>
#include <QFile>

#include "animation_driver.h"
#include "cp932_qstring.h"
#include "output_messages.h"
#include "program_paths.h"
#include "program_state.h"
#include "render_pipeline.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "splash_tables.h"
#include "startup.h"

namespace vakuro {

namespace {

void report(const QString& text) { std::fprintf(stderr, "vakuro: %s\n", text.toLocal8Bit().constData()); }

// Reports why nothing was written; the exit status 1.
int notWritten(const QString& why) {
    if (!why.isEmpty()) report(why);
    report(QStringLiteral("ファイルは出力されませんでした"));
    return 1;
}

}  // namespace

int runAnimationCommandLine(ProgramState& state, const CommandLine& commandLine, const QString& startFolder) {
    setOutputMessageHandler(commandLineMessage);
    const QString ini = state.settingsPath();
    state.options = readOptions(ini);
    PavrexStyleDefaults(&state.style);
    loadLastStyle(StyleDataPath(), state.style, MessageChannel::StandardError);

    QString text = commandLine.t;
    if (text.isEmpty()) {
        text = IniRead(ini, QString::fromLatin1(settings::kSetting), QString::fromLatin1(settings::kTextKey),
                       QString::fromLatin1(settings::kTextDefault));
    }
    QString file = commandLine.a;
    if (QDir::isRelativePath(file)) file = QDir(startFolder).absoluteFilePath(file);
    if (text.isEmpty()) return notWritten(QStringLiteral("文字が指定されていません"));
    const QString missing = unencodableCharacters(text);
    if (!missing.isEmpty()) report(QStringLiteral("描画できない文字があります（省いて描画しました）: ") + missing);

    AnimationSchedule schedule;
    const QString schedulePath = scheduleFilePath();
    if (readScheduleFile(schedulePath, schedule) != ScheduleFileStatus::Read)
        return notWritten(QStringLiteral("アニメーションスケジュールを読み込めませんでした: ") + schedulePath);
    if (schedule.rowCount() == 0) return notWritten(QStringLiteral("アニメーションスケジュールが空です: ") + schedulePath);

    // The rendering the animation command makes when it opens the window.
    const QString basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
    QFile::remove(basePath);
    RenderPipeline renderer(state);
    renderer.PrepareTexture();
    renderer.RenderTextImage(text, 0, basePath, 0, 1);
    AnimationRunInputs inputs;
    inputs.text = text;
    inputs.baseRendering = renderer.holder();
    inputs.outputWidth = RoundHalfEven(inputs.baseRendering.width() * 0.5 - 4);
    inputs.outputHeight = RoundHalfEven(inputs.baseRendering.height() * 0.5 - 4);
    inputs.widthScale = 0.5;
    inputs.renderOnBackground = engineBaseRenderer(state, text);

    // The splash delay tables, as the animation window builds them when it
    // opens: without them the splash cells would not move.
    EffectState effects;
    buildSplashTables(effects);
    DriverHooks hooks;
    const DriverOutcome outcome = runAnimationDriver(state, inputs, schedule, schedule.rowCount(),
                                                     AnimationSettings::read(ini), effects, DriverMode::Output,
                                                     file, hooks);
    if (outcome.status != DriverOutcome::Status::Written) return notWritten(QString());
    storeAnimationOutputFile(ini, file);
    return 0;
}

}  // namespace vakuro
