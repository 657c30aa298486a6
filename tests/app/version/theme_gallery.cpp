// Writes pictures of the program's windows in the window colour schemes, to
// look at them: the main window, the colour settings dialog, the window
// colour scheme dialog and the version dialog (with its details and the
// shine half-way) side by side, one PNG per combination of "BackPaint" and
// "ButtonPaint", and the logo at every third tick of the shine (shine.png).
// Not a test; build the target vakuro_theme_gallery and run
//   QT_QPA_PLATFORM=offscreen build/bin/vakuro_theme_gallery OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "colour_scheme_dialog.h"
#include "colour_settings_dialog.h"
#include "main_window.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "version_dialog.h"

using namespace vakuro;
namespace keys = vakuro::settings;

namespace {

struct Combination {
    const char* name;
    int backPaint;
    int buttonPaint;
};

// Every family at its darkest and its lightest, each button colour at least
// twice, and the platform's own look.
const Combination kCombinations[] = {
    {"0-platform", 0, 0},
    {"1-standard-dark-gold", BackPaintValue(0, 0), 1},
    {"2-red-dark-silver", BackPaintValue(1, 0), 2},
    {"3-green-dark-blue", BackPaintValue(2, 0), 3},
    {"4-blue-dark-green", BackPaintValue(3, 0), 4},
    {"5-gold-dark-red", BackPaintValue(4, 0), 5},
    {"6-purple-dark-gold", BackPaintValue(5, 0), 1},
    {"7-standard-light-silver", BackPaintValue(0, 5), 2},
    {"8-red-light-blue", BackPaintValue(1, 5), 3},
    {"9-green-light-green", BackPaintValue(2, 5), 4},
    {"10-blue-light-red", BackPaintValue(3, 5), 5},
    {"11-gold-mid-plain", BackPaintValue(4, 2), 0},
    {"12-purple-light-silver", BackPaintValue(5, 5), 2},
};

QImage sideBySide(const QList<QImage>& pictures) {
    int width = 0, height = 0;
    for (const QImage& p : pictures) {
        width += p.width() + 12;
        height = std::max(height, p.height());
    }
    QImage sheet(width + 12, height + 24, QImage::Format_RGB32);
    sheet.fill(QColor(60, 60, 60));
    QPainter painter(&sheet);
    int x = 12;
    for (const QImage& p : pictures) {
        painter.drawImage(x, 12, p);
        x += p.width() + 12;
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 10));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir home, temp;
    qputenv("VAKURO_HOME", home.path().toLocal8Bit());
    qputenv("TMPDIR", temp.path().toLocal8Bit());

    Libraries libraries;
    QString error;
    if (!bindLibraries(ProgramFolder(), libraries, error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const QString ini = SettingsPath();
    ProgramState state(libraries, ini);
    MainWindow main(state);
    main.open();
    main.show();
    showColourSettingsDialog(state, &main);
    QWidget* colours = main.findChild<QWidget*>(QStringLiteral("Form010"));

    for (const Combination& c : kCombinations) {
        keys::IniWriteInt(ini, keys::kBackPaint, c.backPaint);
        keys::IniWriteInt(ini, keys::kButtonPaint, c.buttonPaint);
        RepaintThemedWindows(ini);
        VersionDialog version(state, &main);
        version.prepareOpening();
        version.shineTimer()->stop();
        for (int tick = 0; tick < 22; ++tick) version.shineTick();
        version.showDetails();
        ColourSchemeDialog scheme(ini, &main);
        scheme.prepareOpening();
        QApplication::processEvents();
        const QImage sheet = sideBySide({main.grab().toImage(), colours ? colours->grab().toImage() : QImage(),
                                         scheme.grab().toImage(), version.grab().toImage()});
        const QString path = QDir(out).filePath(QString::fromLatin1(c.name) + QStringLiteral(".png"));
        if (!sheet.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            return 1;
        }
    }
    // The shine's run through the logo: every third tick of one cycle.
    keys::IniWriteInt(ini, keys::kBackPaint, 0);
    keys::IniWriteInt(ini, keys::kButtonPaint, 0);
    VersionDialog version(state, &main);
    version.prepareOpening();
    version.shineTimer()->stop();
    QList<QImage> frames;
    for (int tick = 0; tick < 72; ++tick) {
        if (tick % 3 == 0) frames.append(version.logoImage());
        version.shineTick();
    }
    QImage strip(frames.first().width() * 4, frames.first().height() * 6, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames.size(); ++i)
        painter.drawImage((i % 4) * frames[i].width(), (i / 4) * frames[i].height(), frames[i]);
    painter.end();
    if (!strip.save(QDir(out).filePath(QStringLiteral("shine.png")))) return 1;
    return 0;
}
