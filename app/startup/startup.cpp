#include "startup.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QScreen>

#include "program_paths.h"
#include "settings_store.h"
#include "style_data.h"
#include "title_screen.h"

namespace vakuro {
namespace {

const QString kSetting = QStringLiteral("Setting");

}  // namespace

void startupMessage(MessageChannel channel, QMessageBox::Icon icon, const QString& title, const QString& text) {
    switch (channel) {
        case MessageChannel::Box: {
            QMessageBox box(icon, title, text, QMessageBox::Ok);
            box.exec();
            break;
        }
        case MessageChannel::StandardError: {
            QString line = (title.isEmpty() ? QString() : title + QStringLiteral(": ")) + text;
            line.replace(QLatin1Char('\n'), QLatin1Char(' '));
            std::fprintf(stderr, "vakuro: %s\n", line.toLocal8Bit().constData());
            std::fflush(stderr);
            break;
        }
        case MessageChannel::Silent:
            break;
    }
}

InstanceLock::~InstanceLock() { ::close(fd_); }

std::unique_ptr<InstanceLock> lockSingleInstance(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("Vakuro.lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<InstanceLock>(fd);
}

int mainWindowHeightLimit(int screenHeightTwips) {
    return screenHeightTwips < 11380 ? screenHeightTwips - 2400 - 480 : 8500;
}

bool checkLibraryVersions(const Libraries& libraries, MessageChannel channel) {
    const QString title = QStringLiteral("システムエラー");
    if (libraries.engine.PavrexVer(0) < 121) {
        startupMessage(channel, QMessageBox::Critical, title,
                       QStringLiteral("Pavrex.DLLのVersionに問題が発生しました！\nVersion1.2.1以降を使用してください。"));
        return false;
    }
    if (libraries.effects.TesmorVer(0) < 126) {
        startupMessage(channel, QMessageBox::Critical, title,
                       QStringLiteral("Tesmor32.DLLのVersionに問題が発生しました！\nVersion1.2.5以降を使用してください。"));
        return false;
    }
    libraries.imageFormat.ImgctlVersion();
    return true;
}

ProgramOptions readOptions(const QString& ini) {
    ProgramOptions o;
    o.highQualityPreview = IniReadInt(ini, kSetting, QStringLiteral("HiPreView"), 0);
    o.clipSmooth = IniReadInt(ini, kSetting, QStringLiteral("ClipSmooth"), 1);
    o.clipScaleIndex = IniReadInt(ini, kSetting, QStringLiteral("ClipScaleIndex"), 1);
    o.clipMetaFile = IniReadInt(ini, kSetting, QStringLiteral("ClipMetaFile"), 0);
    o.japaneseFontsOnly = IniReadInt(ini, kSetting, QStringLiteral("JISFontOnly"), 0);
    o.charSplitType = IniReadInt(ini, QStringLiteral("Anime"), QStringLiteral("GifAnimeChrSpType"), 0);
    return o;
}

void loadLastStyle(const QString& path, PavrexStyle& style, MessageChannel channel) {
    if (readStyleData(path, style) != StyleDataStatus::Read) return;
    if (!hasStyleSignature(style)) {
        startupMessage(channel, QMessageBox::Information, QStringLiteral("ソモロEasy"), QStringLiteral("Setting File Error!"));
    }
}

StartupResult runStartRoutine(ProgramState& state, const QStringList& arguments) {
    StartupResult result;
    const QString ini = state.settingsPath();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        state.mainWindowHeightLimit = mainWindowHeightLimit(screen->geometry().height() * 15);
    }
    QDir::setCurrent(ProgramFolder());
    result.commandLine = parseCommandLine(joinArguments(arguments));
    const bool batch = result.commandLine.requestsBatch();

    // The title screen, and the record of the program folder that goes with
    // it, belong to the interactive start: command-line output shows no
    // window, waits for nothing and writes only its own files.
    if (!batch && IniReadInt(ini, kSetting, QStringLiteral("TitleSkip"), 0) == 0) {
        QString folder = ProgramFolder();
        if (folder.endsWith(QLatin1Char('/')) && folder.size() > 1) folder.chop(1);
        WriteInstallDir(folder);
        Title title;
        title.run(QRandomGenerator::global()->generateDouble());
    }
    state.options = readOptions(ini);
    PavrexStyleDefaults(&state.style);
    loadLastStyle(StyleDataPath(), state.style, batch ? MessageChannel::StandardError : MessageChannel::Box);

    result.next = batch ? StartupResult::Next::Batch : StartupResult::Next::OpenMainWindow;
    return result;
}

}  // namespace vakuro
