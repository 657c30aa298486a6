// The option dialog: controls from the settings file and the options, the
// immediate preview toggle, OK writing every key, cancel writing none.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include "files_fixture.h"
#include "options_dialog.h"
#include "settings_keys.h"
#include "settings_store.h"

using namespace vakuro;
using vakuro::testing::FilesFixture;
namespace keys = vakuro::settings;

class OptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void controlsHaveTheirCaptions() {
        FilesFixture f;
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        QCOMPARE(d.windowTitle(), QStringLiteral("オプション設定"));
        QCOMPARE(d.japaneseOnly()->text(), QStringLiteral("日本語書体だけに絞り込む"));
        QCOMPARE(d.rotateDashes()->text(), QStringLiteral("縦書きの時に横線「-」を90°回転させる"));
        QCOMPARE(d.clipScale()->count(), 4);
        QCOMPARE(d.clipScale()->itemText(3), QStringLiteral("2.0倍"));
        QCOMPARE(d.jpegQuality()->count(), 100);
        QCOMPARE(d.jpegQuality()->itemText(0), QStringLiteral("1"));
        QCOMPARE(d.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(d.cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        // Defaults of a fresh settings file.
        QVERIFY(!d.titleSkip()->isChecked());
        QVERIFY(d.fileOutPreview()->isChecked());
        QVERIFY(d.clipWithDialog()->isChecked());
        QVERIFY(d.rotateDashes()->isChecked());
        QVERIFY(!d.jpegProgressive()->isChecked());
        QCOMPARE(d.jpegQuality()->currentText(), QStringLiteral("90"));
        QCOMPARE(d.clipScale()->currentIndex(), 1);
        QVERIFY(d.fileOutPreview()->isHidden());
    }

    void jpegQualityIsClamped() {
        QCOMPARE(jpegQualityIndex(0), 0);
        QCOMPARE(jpegQualityIndex(500), 99);
        for (int q : {0, 500}) {
            FilesFixture f;
            IniWriteInt(SettingsPath(), QStringLiteral("Setup"), QStringLiteral("JPEGQuality"), q);
            OptionsDialog d(*f.state, nullptr);
            d.prepareOpening();
            QCOMPARE(d.jpegQuality()->currentText(), q == 0 ? QStringLiteral("1") : QStringLiteral("100"));
        }
    }

    void okWritesEveryKey() {
        FilesFixture f;
        f.state->maintainerMode = true;
        f.host->selected_ = QStringLiteral("IPAGothic");
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        QVERIFY(!d.fileOutPreview()->isHidden());
        d.titleSkip()->setChecked(true);
        d.clipSmooth()->setChecked(false);
        d.fileOutPreview()->setChecked(false);
        d.clipMetaFile()->setChecked(true);
        d.jpegProgressive()->setChecked(true);
        d.clipScale()->setCurrentIndex(3);
        d.jpegQuality()->setCurrentIndex(41);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const QString ini = SettingsPath();
        QCOMPARE(keys::IniReadInt(ini, keys::kTitleSkip), 1);
        QCOMPARE(keys::IniReadInt(ini, keys::kClipSmooth), 0);
        QCOMPARE(keys::IniReadInt(ini, keys::kFileOutPreView), 0);
        QCOMPARE(keys::IniReadInt(ini, keys::kClipMetaFile), 1);
        QCOMPARE(keys::IniReadInt(ini, keys::kClipScaleIndex), 3);
        QCOMPARE(keys::IniReadInt(ini, keys::kJPEGProgression), 1);
        QCOMPARE(keys::IniReadInt(ini, keys::kJPEGQuality), 42);
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("HiPreView"), QStringLiteral("x")),
                 QStringLiteral("0"));
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("JISFontOnly"), QStringLiteral("x")),
                 QStringLiteral("0"));
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("ClipWithDialog"), QStringLiteral("x")),
                 QStringLiteral("1"));
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("RotYokoSen"), QStringLiteral("x")),
                 QStringLiteral("1"));
        QCOMPARE(f.state->options.clipSmooth, 0);
        QCOMPARE(f.state->options.clipMetaFile, 1);
        QCOMPARE(f.state->options.clipScaleIndex, 3);
        // The font filter did not change: no refresh, the selection kept.
        QCOMPARE(f.host->refreshes, 0);
        QCOMPARE(f.host->fontName(), QStringLiteral("IPAGothic"));
    }

    void hiddenPreviewOptionIsStillWritten() {
        FilesFixture f;
        IniWriteInt(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("FileOutPreView"), 0);
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        QVERIFY(d.fileOutPreview()->isHidden());
        d.Ok();
        QCOMPARE(keys::IniReadInt(SettingsPath(), keys::kFileOutPreView), 0);
    }

    void changedFilterRefreshesTheListAndFallsBack() {
        FilesFixture f;
        f.state->options.japaneseFontsOnly = 1;
        f.host->selected_ = QStringLiteral("DejaVu Sans");
        f.host->fonts.append(QStringLiteral("DejaVu Sans"));
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        QVERIFY(d.japaneseOnly()->isChecked());
        d.japaneseOnly()->setChecked(false);
        d.Ok();
        QCOMPARE(f.state->options.japaneseFontsOnly, 0);
        QCOMPARE(f.host->refreshes, 1);
        // Still listed: kept.
        QCOMPARE(f.host->fontName(), QStringLiteral("DejaVu Sans"));

        // Filtered out: the standard Mincho face is selected.
        FilesFixture g;
        g.host->selected_ = QStringLiteral("DejaVu Sans");
        OptionsDialog e(*g.state, nullptr);
        e.prepareOpening();
        e.japaneseOnly()->setChecked(true);
        e.Ok();
        QCOMPARE(g.host->refreshes, 1);
        QCOMPARE(g.host->fontName(), QStringLiteral("ＭＳ 明朝"));
    }

    void previewToggleActsAtOnceAndCancelRestores() {
        FilesFixture f;
        QFile(SettingsPath()).remove();
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        d.hiPreview()->click();
        QCOMPARE(f.state->options.highQualityPreview, 1);
        QCOMPARE(f.draws, 1);
        d.titleSkip()->setChecked(true);
        QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(f.state->options.highQualityPreview, 0);
        QCOMPARE(f.draws, 2);
        QVERIFY(!QFile::exists(SettingsPath()));  // nothing written
    }

    void escapeCancels() {
        FilesFixture f;
        f.state->options.highQualityPreview = 1;
        OptionsDialog d(*f.state, nullptr);
        d.prepareOpening();
        d.hiPreview()->click();
        QCOMPARE(f.state->options.highQualityPreview, 0);
        d.reject();
        QCOMPARE(f.state->options.highQualityPreview, 1);
        QVERIFY(!QFile::exists(SettingsPath()));
    }

    void showOptionDialogIsModal() {
        FilesFixture f;
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
            QVERIFY(d != nullptr);
            d->Ok();
        });
        showOptionsDialog(*f.state, nullptr);
        QCOMPARE(keys::IniReadInt(SettingsPath(), keys::kJPEGQuality), 90);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
