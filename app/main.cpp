// Vakuro: decorative text images.
#include <cstdio>
#include <cstdlib>

#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMessageBox>

#include "command_line_animation.h"
#include "command_line_output.h"
#include "main_window.h"
#include "library_binding.h"
#include "program_paths.h"
#include "startup.h"

int main(int argc, char** argv) {
    // Without a display the program runs on the offscreen platform, so that
    // command-line output works over a plain terminal.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Command-line output ("/T", "/F", "/S" or "/A" with a value) opens no
    // window and waits for nothing: its messages go to standard error.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const vakuro::CommandLine commandLine = vakuro::parseCommandLine(vakuro::joinArguments(arguments));
    const bool batch = commandLine.requestsBatch();
    if (batch) {
        // Without windows the plain event loop serves; the GLib one costs a
        // few milliseconds to set up.
        qputenv("QT_NO_GLIB", "1");
        // The renderings allocate and free the same large work buffers one
        // after the other: keep freed memory in the heap for the next one
        // instead of returning it to the system and faulting it in again
        // (a quarter of the page faults of a run).
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Vakuro"));
    const vakuro::MessageChannel channel = batch ? vakuro::MessageChannel::StandardError : vakuro::MessageChannel::Box;

    // With VAKURO_HOME set, no user-scope settings leave it.
    vakuro::PlaceUserSettings();
    if (!batch) {
        QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 10));
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vakuro.png")));
        // Lets the desktop match the window to the installed menu entry.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.korvel.Vakuro"));
    }
    // Qt's own texts (message box and file dialog buttons) in Japanese.
    QTranslator qtTexts;
    if (!batch && qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    // A second instance ends at once: silently when it would open the
    // window, with a message and status 1 when it was asked for a file.
    const auto lock = vakuro::lockSingleInstance(vakuro::DataFolder());
    if (!lock) {
        if (!batch) return 0;
        vakuro::startupMessage(channel, QMessageBox::Information, QString(),
                               QStringLiteral("Vakuroは既に起動しています（%1）。ファイルは出力されませんでした")
                                   .arg(QDir::toNativeSeparators(vakuro::DataFolder())));
        return 1;
    }

    vakuro::Libraries libraries;
    QString error;
    if (!vakuro::bindLibraries(vakuro::LibraryFolder(), libraries, error)) {
        vakuro::startupMessage(channel, QMessageBox::Critical, QStringLiteral("システムエラー"), error);
        return 1;
    }
    if (!vakuro::checkLibraryVersions(libraries, channel)) return 1;

    // The start routine moves into the program folder; a relative output
    // file on the command line means one in the folder the user started from.
    const QString startFolder = QDir::currentPath();
    vakuro::ProgramState state(libraries, vakuro::SettingsPath());
    // Animated GIF output ("/A") opens no window and shows no title screen.
    if (!commandLine.a.isEmpty()) return vakuro::runAnimationCommandLine(state, commandLine, startFolder);
    const vakuro::StartupResult start = vakuro::runStartRoutine(state, arguments);
    if (start.next == vakuro::StartupResult::Next::Batch) {
        // Command-line output: no main window, no preview; the exit status
        // says whether a file was written.
        const int status =
            vakuro::runCommandLineFileOutput(state, start.commandLine.t, start.commandLine.f, startFolder);
        // Every file is written and closed (the settings are synced as they
        // are written, the lock goes with the process): taking down Qt and
        // the libraries one by one would only keep the caller waiting.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    vakuro::MainWindow window(state);
    window.open();
    window.show();
    return QApplication::exec();
}
