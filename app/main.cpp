// Vakuro: decorative text images.
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMessageBox>

#include "command_line_animation.h"
#include "file_output_dialog.h"
#include "main_window.h"
#include "library_binding.h"
#include "output_messages.h"
#include "program_paths.h"
#include "startup.h"

int main(int argc, char** argv) {
    // Without a display the program runs on the offscreen platform, so that
    // command-line output works over a plain terminal.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Vakuro"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 10));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vakuro.png")));
    // Lets the desktop match the window to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvel.Vakuro"));
    // With VAKURO_HOME set, no user-scope settings leave it.
    vakuro::PlaceUserSettings();
    // Qt's own texts (message box and file dialog buttons) in Japanese.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    // A second instance ends at once, silently.
    const auto lock = vakuro::lockSingleInstance(vakuro::DataFolder());
    if (!lock) return 0;

    vakuro::Libraries libraries;
    QString error;
    if (!vakuro::bindLibraries(vakuro::LibraryFolder(), libraries, error)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("システムエラー"), error, QMessageBox::Ok);
        box.exec();
        return 1;
    }
    if (!vakuro::checkLibraryVersions(libraries)) return 1;

    // The start routine moves into the program folder; a relative output
    // file on the command line means one in the folder the user started from.
    const QString startFolder = QDir::currentPath();
    vakuro::ProgramState state(libraries, vakuro::SettingsPath());
    // Animated GIF output ("/A") opens no window and shows no title screen.
    const vakuro::CommandLine commandLine =
        vakuro::parseCommandLine(vakuro::joinArguments(QApplication::arguments().mid(1)));
    if (!commandLine.a.isEmpty()) return vakuro::runAnimationCommandLine(state, commandLine, startFolder);
    const vakuro::StartupResult start = vakuro::runStartRoutine(state, QApplication::arguments().mid(1));
    if (start.next == vakuro::StartupResult::Next::Batch) {
        // Command-line output: nothing waits for an answer. Messages go to
        // standard error, questions take their safe answer, and the exit
        // status says whether a file was written.
        vakuro::setOutputMessageHandler(vakuro::commandLineMessage);
        vakuro::MainWindow window(state);
        window.open();
        if (!start.commandLine.t.isEmpty()) window.setText(start.commandLine.t);
        QString file = start.commandLine.f;
        if (!file.isEmpty() && QDir::isRelativePath(file)) file = QDir(startFolder).absoluteFilePath(file);
        const bool written = vakuro::runCommandLineOutput(state, file);
        window.close();
        if (!written) {
            std::fprintf(stderr, "vakuro: %s\n",
                         QStringLiteral("ファイルは出力されませんでした").toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }
    vakuro::MainWindow window(state);
    window.open();
    window.show();
    return QApplication::exec();
}
