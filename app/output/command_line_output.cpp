#include "command_line_output.h"

#include <cstdio>
#include <cstring>

#include <QDir>
#include <QFile>

#include "cp932_qstring.h"
#include "file_output_dialog.h"
#include "output_messages.h"
#include "program_paths.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "style_data.h"

namespace vakuro {
namespace {

void report(const QString& text) {
    std::fprintf(stderr, "vakuro: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QByteArray styleBytes(const PavrexStyle& style) {
    return QByteArray(reinterpret_cast<const char*>(&style), sizeof style);
}

}  // namespace

CommandLineHost::CommandLineHost(ProgramState& state) : state_(state), pipeline_(state) {
    state_.host = this;
    QObject::connect(&state_, &ProgramState::drawRequested, &state_, [this] { draw(); });
}

CommandLineHost::~CommandLineHost() {
    QObject::disconnect(&state_, &ProgramState::drawRequested, &state_, nullptr);
    if (state_.host == this) state_.host = nullptr;
}

void CommandLineHost::refreshFontList() {
    faces_ = installedFontFaces();
    list_ = fontListNames(faces_, state_.options.japaneseFontsOnly != 0);
}

bool CommandLineHost::selectFontName(const QString& face) {
    const QString listed = listedFaceName(list_, faces_, face, [this](const QString& name) {
        return faceStandIn(state_.libraries(), name);
    });
    if (listed.isEmpty()) return false;
    face_ = listed;
    storeFontName(state_.style, face_, false);
    return true;
}

bool CommandLineHost::selectFirstFont() {
    if (list_.isEmpty()) return false;
    face_ = list_.first();
    storeFontName(state_.style, face_, false);
    return true;
}

void CommandLineHost::open() {
    PavrexStyle& s = state_.style;
    if (s.CharScaleSet == 0) {
        for (int i = 0; i < 20; ++i) s.CharWidth[i] = s.CharHeight[i] = 100;
        s.CharScaleSet = 1;
    }
    text_ = IniRead(state_.settingsPath(), QString::fromLatin1(settings::kSetting),
                    QString::fromLatin1(settings::kTextKey), QString::fromLatin1(settings::kTextDefault));
    refreshFontList();
    // The stored face, else the Mincho face, else the first entry.
    if (!selectFontName(readFixedField(s.FontName, sizeof s.FontName).trimmed()) &&
        !selectFontName(QStringLiteral("ＭＳ 明朝"))) {
        selectFirstFont();
    }
}

void CommandLineHost::draw() {
    if (state_.redrawGuard < 0 || text_.isEmpty()) return;
    if (!face_.isEmpty()) storeFontName(state_.style, face_, true);
    pipeline_.PrepareTexture();
    measured_ = measureTextImage(text_, state_.options.highQualityPreview, 1);
    const QString missing = unencodableCharacters(text_);
    if (!missing.isEmpty() && !unencodableReported_) {
        report(QStringLiteral("描画できない文字があります（省いて描画しました）: ") + missing);
        unencodableReported_ = true;
    }
}

QSize CommandLineHost::measureTextImage(const QString& text, int highQuality, int qualityBase) {
    // The record and text as the pipeline would pass them to the engine.
    state_.style.RotateDashes = pipeline_.rotateDashesSetting();
    const QByteArray bytes = toCp932Lossy(text);
    int width = 0;
    int height = 0;
    if (state_.libraries().engine.ImgMeasure(bytes.constData(), &state_.style,
                                             RenderPipeline::renderQuality(highQuality, qualityBase), &width,
                                             &height) != PAVREX_OK) {
        return {0, 0};  // as the empty holder of a rendering that failed
    }
    return {width, height};
}

void CommandLineHost::renderTextImage(const QString& text, int highQuality, const QString& outPath, int spare,
                                      int qualityBase) {
    measured_ = QSize();
    const int quality = RenderPipeline::renderQuality(highQuality, qualityBase);
    // The record as the pipeline passes it to the engine.
    state_.style.RotateDashes = pipeline_.rotateDashesSetting();
    const QByteArray style = styleBytes(state_.style);
    if (!last_.file.isEmpty() && last_.quality == quality && last_.text == text && last_.style == style) {
        QFile out(outPath);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(last_.file) == last_.file.size()) {
            out.close();
            pipeline_.setHolder(last_.picture);
            return;
        }
    }
    ++renderCount_;
    pipeline_.RenderTextImage(text, highQuality, outPath, spare, qualityBase);
    last_ = {};
    QFile in(outPath);
    if (!pipeline_.holder().isNull() && in.open(QIODevice::ReadOnly))
        last_ = {text, quality, style, in.readAll(), pipeline_.holder()};
}

void CommandLineHost::storeClosingState() {
    PavrexStyle& s = state_.style;
    setFixedField(s.Signature, sizeof s.Signature, QStringLiteral("Vakuro SettingFile"), false);
    s.FormatVersion = 100;
    writeStyleData(StyleDataPath(), s);
    IniWrite(state_.settingsPath(), QString::fromLatin1(settings::kSetting), QString::fromLatin1(settings::kTextKey),
             Quote(text_));
}

int runCommandLineFileOutput(ProgramState& state, const QString& text, const QString& outputFile,
                             const QString& startFolder, int* renderCount) {
    setOutputMessageHandler(commandLineMessage);
    CommandLineHost host(state);
    host.open();
    if (!text.isEmpty()) host.setText(text);
    QString file = outputFile;
    if (!file.isEmpty() && QDir::isRelativePath(file)) file = QDir(startFolder).absoluteFilePath(file);

    bool written = false;
    if (host.text().isEmpty()) {
        report(QStringLiteral("文字が指定されていません"));
    } else {
        written = runCommandLineOutput(state, file);
    }
    host.storeClosingState();
    if (renderCount != nullptr) *renderCount = host.renderCount();
    if (!written) {
        report(QStringLiteral("ファイルは出力されませんでした"));
        return 1;
    }
    return 0;
}

}  // namespace vakuro
