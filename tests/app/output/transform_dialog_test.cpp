// The transform settings dialog: opening, the type list, the enabling
// table, OK and Cancel, and the preview.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "../editor/app_fixture.h"
#include "transform_dialog.h"
#include "program_paths.h"
#include "settings_store.h"
#include "warp.h"

using namespace vakuro;

namespace {

template <typename T>
T* control(QWidget& form, const QString& name, int index = -1) {
    for (T* w : form.findChildren<T*>(name))
        if (index < 0 || w->property("index").toInt() == index) return w;
    return nullptr;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QRgb kGrey = qRgb(192, 192, 192);

}  // namespace

class TransformDialogTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAndCaptions() {
        testing::AppFixture app;
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        QCOMPARE(form.windowTitle(), QStringLiteral("変形設定"));
        QCOMPARE(control<QPushButton>(form, QStringLiteral("Command1"))->text(), QStringLiteral("OK"));
        QCOMPARE(control<QPushButton>(form, QStringLiteral("Command2"))->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        QVERIFY(control<QPushButton>(form, QStringLiteral("Command3")) != nullptr);
        for (int n = 0; n < 10; ++n) {
            auto* icon = control<QLabel>(form, QStringLiteral("Picture1"), n);
            QVERIFY(icon != nullptr);
            QCOMPARE(icon->pixmap().size(), QSize(120, 40));
            QCOMPARE(icon->y(), 48 * n + 2);
        }
        QCOMPARE(control<QWidget>(form, QStringLiteral("Picture2"))->height(), 484);
        const char* letters[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QLabel>(form, QStringLiteral("Label4"), i)->text(), QString::fromLatin1(letters[i]));
            auto* slider = control<QScrollBar>(form, QStringLiteral("HScroll1"), i);
            QCOMPARE(slider->maximum(), 100);
            QCOMPARE(slider->pageStep(), 10);
            QCOMPARE(slider->value(), 50);  // the defaults
            QCOMPARE(control<QLabel>(form, QStringLiteral("Label7"), i)->text(), QStringLiteral("50"));
        }
        QCOMPARE(form.selectedType(), 0);
        // Type 0 shows no illustration.
        QVERIFY(control<QLabel>(form, QStringLiteral("Picture4"))->pixmap().isNull());
    }

    void openingScrollsToTheStoredType() {
        testing::AppFixture app;
        app.writeIni("[Setting]\r\nTranslateType=9\r\n");
        {
            TransformDialog form(*app.state, nullptr);
            form.prepareOpening();
            QCOMPARE(form.selectedType(), 9);
            QCOMPARE(control<QScrollBar>(form, QStringLiteral("VScroll1"))->value(), 50);
            // The panel moved up by 50 * 72 twips less 30: -238 pixels.
            auto* panel = control<QWidget>(form, QStringLiteral("Picture2"));
            QCOMPARE(panel->y(), -238);
            // The last icon is framed in red.
            const QImage shot = panel->grab().toImage();
            QCOMPARE(shot.pixelColor(122, 48 * 9 + 20), QColor(255, 0, 0));
            QCOMPARE(shot.pixelColor(60, 48 * 9 + 1), QColor(255, 0, 0));
            QVERIFY(shot.pixelColor(122, 48 * 8 + 20) != QColor(255, 0, 0));
            QCOMPARE(control<QLabel>(form, QStringLiteral("Picture4"))->pixmap().size(), QSize(240, 75));
        }
        app.writeIni("[Setting]\r\nTranslateType=4\r\n");
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        QCOMPARE(form.selectedType(), 4);
        QCOMPARE(control<QScrollBar>(form, QStringLiteral("VScroll1"))->value(), 0);
        QCOMPARE(control<QWidget>(form, QStringLiteral("Picture2"))->y(), 2);
    }

    void enablingTable() {
        testing::AppFixture app;
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        QTest::mousePress(control<QLabel>(form, QStringLiteral("Picture1"), 7), Qt::LeftButton);
        QCOMPARE(form.selectedType(), 7);
        const bool seven[] = {true, false, false};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QScrollBar>(form, QStringLiteral("HScroll1"), i)->isEnabled(), seven[i]);
            QCOMPARE(control<QLabel>(form, QStringLiteral("Label4"), i)->isEnabled(), seven[i]);
            QCOMPARE(control<QLabel>(form, QStringLiteral("Label7"), i)->isEnabled(), seven[i]);
        }
        form.selectType(3);
        for (int i = 0; i < 3; ++i) QVERIFY(control<QScrollBar>(form, QStringLiteral("HScroll1"), i)->isEnabled());
        form.selectType(0);
        for (int i = 0; i < 3; ++i) QVERIFY(!control<QScrollBar>(form, QStringLiteral("HScroll1"), i)->isEnabled());
        for (int type : {1, 2, 6, 8, 9}) {
            form.selectType(type);
            QVERIFY(control<QScrollBar>(form, QStringLiteral("HScroll1"), 1)->isEnabled());
            QVERIFY(!control<QScrollBar>(form, QStringLiteral("HScroll1"), 2)->isEnabled());
        }
    }

    void cancelKeepsOkStores() {
        testing::AppFixture app;
        app.writeIni("[Setting]\r\nTranslateType=2\r\nTranslateP1=10\r\n");
        const QByteArray before = readAll(SettingsPath());
        {
            TransformDialog form(*app.state, nullptr);
            form.prepareOpening();
            QCOMPARE(control<QScrollBar>(form, QStringLiteral("HScroll1"), 0)->value(), 10);
            form.selectType(5);
            control<QScrollBar>(form, QStringLiteral("HScroll1"), 0)->setValue(77);
            control<QScrollBar>(form, QStringLiteral("HScroll1"), 2)->setValue(3);
            control<QPushButton>(form, QStringLiteral("Command2"))->click();
            QCOMPARE(form.result(), int(QDialog::Rejected));
        }
        QCOMPARE(readAll(SettingsPath()), before);
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        form.selectType(8);
        control<QScrollBar>(form, QStringLiteral("HScroll1"), 1)->setValue(25);
        control<QPushButton>(form, QStringLiteral("Command1"))->click();
        const WarpSettings stored = loadWarpSettings(SettingsPath());
        QCOMPARE(stored.type, 8);
        QCOMPARE(stored.p1, 10);
        QCOMPARE(stored.p2, 25);
        QCOMPARE(stored.p3, 50);
    }

    void previewOfTheNeutralCurves() {
        testing::AppFixture app;
        app.writeIni("[Setting]\r\nTranslateType=3\r\nTranslateP3=40\r\n");
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        // The unchanged 177 x 33 black sample over 4 grey rows.
        const QImage work = form.transformedSample();
        QCOMPARE(work.size(), QSize(177, 37));
        for (int y = 0; y < 37; ++y)
            for (int x : {0, 88, 176}) QCOMPARE(work.pixel(x, y), y < 33 ? qRgb(0, 0, 0) : kGrey);
        // Centred in the preview box.
        const QImage preview = form.previewPicture();
        const int left = (preview.width() - 177) / 2;
        const int top = (preview.height() - 37) / 2;
        QCOMPARE(preview.pixel(left, top), qRgb(0, 0, 0));
        QCOMPARE(preview.pixel(left - 1, top), kGrey);
        QCOMPARE(preview.pixel(left + 176, top + 32), qRgb(0, 0, 0));
        QCOMPARE(preview.pixel(left + 177, top + 32), kGrey);
    }

    void previewOfNoTransform() {
        testing::AppFixture app;
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        // A = 50: 33 rows stretched to round(49.5) = 50.
        QCOMPARE(form.transformedSample().height(), 54);
        QCOMPARE(form.transformedSample().pixel(5, 49), qRgb(0, 0, 0));
        QCOMPARE(form.transformedSample().pixel(5, 50), kGrey);
        control<QScrollBar>(form, QStringLiteral("HScroll1"), 0)->setValue(0);
        QCOMPARE(form.transformedSample().height(), 37);
        QCOMPARE(control<QLabel>(form, QStringLiteral("Label7"), 0)->text(), QStringLiteral("0"));
    }

    void aStoredTypeOutsideTheListShowsNone() {
        testing::AppFixture app;
        app.writeIni("[Setting]\r\nTranslateType=42\r\nTranslateP2=500\r\n");
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        QCOMPARE(form.selectedType(), 0);
        QCOMPARE(control<QScrollBar>(form, QStringLiteral("HScroll1"), 1)->value(), 100);
    }

    void pictureOfEveryType() {
        // Writes the dialog and the preview of every type for a look, when
        // VAKURO_LOOK names a folder.
        const QString folder = qEnvironmentVariable("VAKURO_LOOK");
        if (folder.isEmpty()) QSKIP("VAKURO_LOOK is not set");
        testing::AppFixture app;
        TransformDialog form(*app.state, nullptr);
        form.prepareOpening();
        for (int type = 0; type < 10; ++type) {
            form.selectType(type);
            form.grab().save(QDir(folder).filePath(QStringLiteral("form032_type%1.png").arg(type)));
        }
    }
};

QTEST_MAIN(TransformDialogTest)
#include "transform_dialog_test.moc"
