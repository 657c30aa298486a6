// The version dialog: opening, the shine, the details on Shift+double-click,
// the access codes and the fleeing OK button; and the pure parts it is built
// from (the button's flight, the logo's compositing, the details lines).
#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "colour_scheme_dialog.h"
#include "fleeing_button.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "version_details.h"
#include "version_dialog.h"
#include "version_logo.h"

using namespace vakuro;
namespace keys = vakuro::settings;

namespace {

QString dateOf(const QString& path) { return QFileInfo(path).lastModified().toString(QStringLiteral("yyyy/MM/dd")); }

// Runs f on the colour scheme dialog once it is up, when it opens before the
// events are next handled.
void onColourSchemeDialog(std::function<void(ColourSchemeDialog*)> f) {
    QTimer::singleShot(0, [f = std::move(f)] {
        if (auto* dialog = qobject_cast<ColourSchemeDialog*>(QApplication::activeModalWidget())) f(dialog);
    });
}

// A double-click as the platform delivers it: press, release, double-click,
// release, with the same keys held.
void doubleClick(QWidget* w, Qt::KeyboardModifiers keys) {
    QTest::mouseClick(w, Qt::LeftButton, keys);
    QTest::mouseDClick(w, Qt::LeftButton, keys);
    QTest::mouseRelease(w, Qt::LeftButton, keys);
}

// The mouse moving over w, no button held.
void moveMouse(QWidget* w, QPointF pos) {
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

}  // namespace

class VersionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        base_ = QDir::tempPath();
        QString error;
        bound_ = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries_, error);
        QVERIFY2(bound_, qPrintable(error));
    }
    void init() {
        home_ = std::make_unique<QTemporaryDir>(base_ + QStringLiteral("/vakuro-home-XXXXXX"));
        temp_ = std::make_unique<QTemporaryDir>(base_ + QStringLiteral("/vakuro-tmp-XXXXXX"));
        qputenv("VAKURO_HOME", home_->path().toLocal8Bit());
        qputenv("TMPDIR", temp_->path().toLocal8Bit());
        state_ = std::make_unique<ProgramState>(libraries_, SettingsPath());
    }
    void cleanup() { state_.reset(); }

    // ---- The parts -----------------------------------------------------------

    void theButtonFleesFromTheMouse() {
        const struct {
            QPointF mouse, centre;
        } cases[] = {
            // Far away: home.
            {{6487 + 1000, 667}, {6487, 667}},
            {{6487, 667 + 721}, {6487, 667}},
            // 300 twips right of the centre: m = 355 / 300, the centre moves
            // 1.1 * 355 = 390.5 twips to the left.
            {{6487 + 300, 667}, {6487 - 390.5, 667}},
            // 400 above: m = 255 / 400, 1.1 * 255 = 280.5 down.
            {{6487, 667 - 400}, {6487, 667 + 280.5}},
            // On the centre: straight left by 1.1 * 655.
            {{6487, 667}, {6487 - 720.5, 667}},
        };
        for (const auto& c : cases) {
            const QPointF centre = FleeingButtonCentre(c.mouse);
            QVERIFY2(qAbs(centre.x() - c.centre.x()) < 1e-9 && qAbs(centre.y() - c.centre.y()) < 1e-9,
                     qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
        }
        QCOMPARE(OkButtonRect(kOkHomeCentre), QRectF(5880, 420, 1214, 494));
    }

    void theLogoIsMultipliedAndTheShineScreened() {
        // Three pixels: a background pixel (white logo, no shine), a letter
        // pixel lit by the shine, and a white logo pixel under white shine.
        QImage logo(3, 1, QImage::Format_RGB32);
        logo.setPixel(0, 0, qRgb(255, 255, 255));
        logo.setPixel(1, 0, qRgb(0, 0, 0));
        logo.setPixel(2, 0, qRgb(255, 255, 255));
        QImage mask(3, 1, QImage::Format_RGB32);
        mask.setPixel(0, 0, qRgb(0, 0, 0));
        mask.setPixel(1, 0, qRgb(255, 255, 255));
        mask.setPixel(2, 0, qRgb(255, 255, 255));
        // The shine's row 2 lies on the logo at an offset of 2.
        QImage shine(3, 4, QImage::Format_RGB32);
        shine.fill(qRgb(9, 9, 9));
        for (int x = 0; x < 3; ++x) shine.setPixel(x, 2, x == 1 ? qRgb(250, 200, 40) : qRgb(255, 255, 255));

        const QImage work = ShineInLetters(shine, mask, 2);
        QCOMPARE(work.pixel(0, 0), qRgb(0, 0, 0));  // outside the letters
        QCOMPARE(work.pixel(1, 0), qRgb(250, 200, 40));
        const QImage shown = ComposeLogo(QColor(100, 150, 200), logo, work);
        QCOMPARE(shown.pixel(0, 0), qRgb(100, 150, 200));  // white logo keeps the background
        QCOMPARE(shown.pixel(1, 0), qRgb(250, 200, 40));   // black letter lit by the shine
        QCOMPARE(shown.pixel(2, 0), qRgb(255, 255, 255));
        // Past the shine's end the work picture is black.
        QCOMPARE(ShineInLetters(shine, mask, 4).pixel(1, 0), qRgb(0, 0, 0));
    }

    void theShineRunsUpThenRests() {
        QCOMPARE(ShineOffset(0), 0);
        QCOMPARE(ShineOffset(1), 5);
        QCOMPARE(ShineOffset(48), 240);
        QCOMPARE(ShineOffset(71), 240);
        // The generated shine covers the logo in every position, and is lit.
        const QImage shine = LoadShinePicture();
        QCOMPARE(shine.size(), QSize(kLogoSize.width(), kLogoSize.height() + 240));
        int brightest = 0;
        for (int y = 0; y < shine.height(); ++y) brightest = std::max(brightest, qGray(shine.pixel(kLogoSize.width() / 2, y)));
        QVERIFY(brightest > 200);
    }

    void aMissingFileHasNoVersionAndNoDate() {
        QTemporaryDir dir(base_ + QStringLiteral("/vakuro-libs-XXXXXX"));
        const QString present = dir.filePath(QStringLiteral("libPavrex.so"));
        QFile f(present);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        // "（なし）" is 8 bytes of code page 932: 7 blanks fill the 15.
        QCOMPARE(FileInfoStr(dir.filePath(QStringLiteral("libTesmor32.so")), QStringLiteral("1.2.6.0")),
                 QStringLiteral("（なし）       "));
        QCOMPARE(FileInfoStr(present, QStringLiteral("1.2.1.0")), QStringLiteral("  1.2.1.0      ") + dateOf(present));
    }

    // ---- The dialog ------------------------------------------------------------

    void opens() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        QCOMPARE(d.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(d.versionLabel()->text(), QStringLiteral("Version " VAKURO_PROJECT_VERSION));
        QCOMPARE(d.height(), (4860 - 450) / 15);
        QCOMPARE(d.okButton()->geometry(), QRect(392, 28, 81, 33));  // 5880, 420 twips
        QVERIFY(d.detailsList()->isHidden());
        QVERIFY(d.detailsButton()->isHidden());
        QCOMPARE(d.detailsButton()->text(), QStringLiteral("詳細情報"));
        QCOMPARE(d.shineTimer()->interval(), 60);
        QVERIFY(d.shineTimer()->isActive());
        QCOMPARE(d.fleeTimer()->interval(), 8000);
        QVERIFY(!d.fleeTimer()->isActive());
        QVERIFY(!d.isFleeing());
    }

    void theShineStaysInsideTheLetters() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        d.shineTimer()->stop();
        const LogoPictures logo = DrawLogo(kLogoSize, QStringLiteral("ソモロEasy"));
        const QImage resting = d.logoImage();
        int litTicks = 0;
        for (int tick = 1; tick <= 72; ++tick) {
            d.shineTick();
            QCOMPARE(d.shineCounter(), tick % 72);
            const QImage now = d.logoImage();
            bool lit = false;
            for (int y = 0; y < now.height(); ++y) {
                for (int x = 0; x < now.width(); ++x) {
                    if (now.pixel(x, y) == resting.pixel(x, y)) continue;
                    QVERIFY2(qGray(logo.letterMask.pixel(x, y)) > 0, "the shine stays inside the letters");
                    lit = true;
                }
            }
            if (lit) ++litTicks;
            // At rest (from tick 48 on) and back at the start the band is out of view.
            if (tick >= 48) QVERIFY2(!lit, qPrintable(QString::number(tick)));
        }
        QVERIFY2(litTicks >= 20, qPrintable(QString::number(litTicks)));
    }

    void shiftDoubleClickShowsTheDetails() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        d.show();
        doubleClick(d.versionLabel(), Qt::NoModifier);
        QVERIFY(d.detailsList()->isHidden());
        QCOMPARE(d.detailsList()->count(), 0);
        QCOMPARE(d.height(), (4860 - 450) / 15);
        doubleClick(d.versionLabel(), Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(d.detailsList()->isHidden());

        doubleClick(d.versionLabel(), Qt::ShiftModifier);
        QVERIFY(d.detailsList()->isVisible());
        QCOMPARE(d.height(), (5775 - 450) / 15);
        // The program and its three libraries, with the numbers the libraries
        // report: 126 is version 1.2.6, 121 1.2.1, 100 1.0.0.
        const QString folder = ProgramFolder();
        const QString program = QCoreApplication::applicationFilePath();
        const QStringList expected = {
            QStringLiteral("Main Version =   " VAKURO_PROJECT_VERSION ".0").leftJustified(15 + 15) + dateOf(program),
            QStringLiteral("Tesmor32.DLL =   1.2.6.0      ") + dateOf(folder + "libTesmor32.so") + QStringLiteral("  (126)"),
            QStringLiteral("Pavrex.DLL   =   1.2.1.0      ") + dateOf(folder + "libPavrex.so") + QStringLiteral("  (121)"),
            QStringLiteral("imgctl.DLL   =   1.0.0.0      ") + dateOf(folder + "libimgctl.so") + QStringLiteral("  (100)"),
        };
        QCOMPARE(d.detailsList()->count(), expected.size());
        for (int i = 0; i < expected.size(); ++i) QCOMPARE(d.detailsList()->item(i)->text(), expected[i]);
    }

    void aMissingLibraryShowsNone() {
        QTemporaryDir folder(base_ + QStringLiteral("/vakuro-folder-XXXXXX"));
        for (const char* name : {"libPavrex.so", "libimgctl.so"}) {
            QVERIFY(QFile::copy(ProgramFolder() + QLatin1String(name), folder.filePath(QLatin1String(name))));
        }
        VersionDialog d(*state_, nullptr);
        d.setProgramFolder(folder.path() + QLatin1Char('/'));
        d.prepareOpening();
        d.show();
        doubleClick(d.versionLabel(), Qt::ShiftModifier);
        QCOMPARE(d.detailsList()->count(), 4);
        QCOMPARE(d.detailsList()->item(0)->text(), QStringLiteral("Main Version = （なし）       "));
        QCOMPARE(d.detailsList()->item(1)->text(), QStringLiteral("Tesmor32.DLL = （なし）         (126)"));
        QVERIFY(d.detailsList()->item(2)->text().startsWith(QStringLiteral("Pavrex.DLL   =   1.2.1.0      ")));
    }

    void theAccessCodesOpenTheColourSchemeDialog() {
        const struct {
            const char* typed;
            bool opens;
        } cases[] = {
            {"ab274158", true},  // the six-digit code after two other characters
            {"274158", true},
            {"61927340", true},
            {"x61927340", true},
            {"27415", false},
            {"6192734", false},
            {"2741 58", false},
        };
        for (const auto& c : cases) {
            VersionDialog d(*state_, nullptr);
            d.prepareOpening();
            d.show();
            QString opened;
            onColourSchemeDialog([&](ColourSchemeDialog* scheme) {
                opened = scheme->objectName();
                scheme->reject();
            });
            QTest::keyClicks(&d, QString::fromLatin1(c.typed));
            if (c.opens) {
                QCOMPARE(opened, QStringLiteral("ColorOpt"));
            } else {
                QCoreApplication::processEvents();  // let the waiting check run and find nothing
                QCOMPARE(opened, QString());
            }
            QCOMPARE(d.typed(), QString::fromLatin1(c.typed).right(8));
        }
    }

    void afterTheColourSchemeDialogTheDialogOpensAgainInTheNewColours() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        d.show();
        doubleClick(d.versionLabel(), Qt::ShiftModifier);
        QVERIFY(d.detailsList()->isVisible());
        onColourSchemeDialog([](ColourSchemeDialog* scheme) {
            QTest::mouseClick(scheme->backgroundOption(3), Qt::LeftButton);  // Blue
            scheme->brightness()->setValue(0);
            QTest::mouseClick(scheme->buttonOption(1), Qt::LeftButton);  // Gold
            QTest::mouseClick(scheme->okButton(), Qt::LeftButton);
        });
        QTest::keyClicks(&d, QStringLiteral("274158"));
        QCOMPARE(keys::IniReadInt(SettingsPath(), keys::kBackPaint), 868);
        QCOMPARE(d.palette().color(QPalette::Window), QColor(80, 100, 140));
        QCOMPARE(d.okButton()->property("tag").toString(), QStringLiteral("OK"));
        // The opening steps ran again: the details are folded away.
        QVERIFY(d.detailsList()->isHidden());
        QCOMPARE(d.height(), (4860 - 450) / 15);
    }

    void theOkButtonFleesAfterItsCode() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        d.show();
        const QRect home(392, 28, 81, 33);
        // Not fleeing yet: the mouse on the button leaves it where it is.
        moveMouse(&d, QPointF(420, 40));
        QCOMPARE(d.okButton()->geometry(), home);

        QTest::keyClicks(&d, QStringLiteral("4062"));
        QVERIFY(d.isFleeing());
        // 20 pixels (300 twips) right of the home centre (432.5, 44.5): the
        // centre moves 390.5 twips to the left, the left edge to
        // 5880 - 390.5 = 5489.5 twips, 366 pixels.
        moveMouse(&d, QPointF(6787 / 15.0, 667 / 15.0));
        QCOMPARE(d.okButton()->geometry(), QRect(366, 28, 81, 33));
        QVERIFY(d.fleeTimer()->isActive());
        // Over the button itself, in its own coordinates: (406, 44) on the
        // dialog is 397 twips left of the home centre, so the button moves
        // right, to a left edge of 5880 + 1.1 * 258 = 6163.8 twips, 411 pixels.
        moveMouse(d.okButton(), QPointF(40, 16));
        QCOMPARE(d.okButton()->geometry().left(), 411);
        // Far away: home again, still fleeing.
        moveMouse(&d, QPointF(40, 250));
        QCOMPARE(d.okButton()->geometry(), home);
        QVERIFY(d.isFleeing());

        d.fleeTimeout();  // the 8 seconds are over
        QVERIFY(!d.isFleeing());
        QVERIFY(!d.fleeTimer()->isActive());
        QCOMPARE(d.okButton()->geometry(), home);
        moveMouse(&d, QPointF(420, 40));
        QCOMPARE(d.okButton()->geometry(), home);
    }

    void okCloses() {
        VersionDialog d(*state_, nullptr);
        d.prepareOpening();
        d.show();
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
    }

private:
    QString base_;
    Libraries libraries_;
    bool bound_ = false;
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> temp_;
    std::unique_ptr<ProgramState> state_;
};

QTEST_MAIN(VersionDialogTest)
#include "version_dialog_test.moc"
