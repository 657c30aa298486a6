// The file output dialog, its output run and the preview window.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "colour_swatch.h"
#include "file_output_fixture.h"
#include "file_output_dialog.h"
#include "output_preview_window.h"
#include "warp.h"
#include "settings_store.h"
#include "window_position.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

// The temporary folder the test program started with (the fixtures move
// TMPDIR into their own folders).
QString& baseTemp() {
    static QString path;
    return path;
}

const QByteArray kPlainIni =
    "[Setting]\r\nTitleSkip=1\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\n";

QImage decode(const QString& path, QByteArray* format = nullptr) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (format) *format = reader.format();
    return reader.read();
}

// Presses a button of the next modal window once it is open.
void pressInModal(const QString& buttonName, bool closeInstead = false) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, buttonName, closeInstead] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QStringLiteral("Form031")) return;
        timer->stop();
        timer->deleteLater();
        if (closeInstead) {
            modal->close();
        } else if (auto* b = modal->findChild<QPushButton*>(buttonName)) {
            b->click();
        }
    });
    timer->start();
}

}  // namespace

class FileOutputDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { baseTemp() = QDir::tempPath(); }

    void sizeLimitsAreInclusive() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.nameField()->setText(f.out(QStringLiteral("a.BMP")));
        d.formatList()->setCurrentIndex(0);
        const struct {
            const char* w;
            const char* h;
            bool ok;
            const char* message;
        } cases[] = {
            {"10", "10", true, ""},
            {"2000", "2000", true, ""},
            {"9", "100", false, "出力サイズが小さ過ぎます"},
            {"100", "9", false, "出力サイズが小さ過ぎます"},
            {"2001", "100", false, "出力サイズが大き過ぎます"},
            {"100", "2001", false, "出力サイズが大き過ぎます"},
        };
        for (const auto& c : cases) {
            messages.messages.clear();
            d.widthField()->setText(QString::fromLatin1(c.w));
            d.heightField()->setText(QString::fromLatin1(c.h));
            QCOMPARE(d.check(), c.ok);
            if (c.ok) {
                QVERIFY(messages.messages.isEmpty());
            } else {
                QCOMPARE(messages.texts(), QStringList{QString::fromUtf8(c.message)});
                QCOMPARE(messages.messages.front().icon, QMessageBox::Information);
                QVERIFY(messages.messages.front().title.isEmpty());
            }
        }
    }

    void extensionTestIsInUpperCase() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.widthField()->setText(QStringLiteral("100"));
        d.heightField()->setText(QStringLiteral("50"));
        d.formatList()->setCurrentIndex(0);
        d.nameField()->setText(f.out(QStringLiteral("a.bmp")));
        QVERIFY(d.check());
        QVERIFY(messages.messages.isEmpty());

        d.formatList()->setCurrentIndex(2);
        d.nameField()->setText(f.out(QStringLiteral("a.jpeg")));
        messages.answers = {QMessageBox::No};
        QVERIFY(!d.check());
        QCOMPARE(messages.messages.size(), 1);
        const OutputMessage& q = messages.messages.front();
        QCOMPARE(q.text, QStringLiteral("ファイル形式と拡張子が一致していません\r\n処理を続行しますか？"));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        QCOMPARE(q.icon, QMessageBox::Question);
        messages.answers = {QMessageBox::Yes};
        QVERIFY(d.check());
    }

    void gifTurnsBmpIntoGifAndLeavesPng() {
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.BMP"), 1), QStringLiteral("/x/a.GIF"));
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.bmp"), 1), QStringLiteral("/x/a.GIF"));
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.JPG"), 0), QStringLiteral("/x/a.BMP"));
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.GIF"), 2), QStringLiteral("/x/a.JPG"));
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.PNG"), 1), QStringLiteral("/x/a.PNG"));

        FileOutputFixture f;
        f.writeIni(kPlainIni);
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.formatList()->setCurrentIndex(0);
        d.nameField()->setText(f.out(QStringLiteral("b.BMP")));
        d.formatList()->setCurrentIndex(1);
        QCOMPARE(d.nameField()->text(), f.out(QStringLiteral("b.GIF")));
        QVERIFY(d.transparencyBox()->isEnabled());
        d.formatList()->setCurrentIndex(0);
        QVERIFY(!d.transparencyBox()->isEnabled());
        d.nameField()->setText(f.out(QStringLiteral("b.PNG")));
        d.formatList()->setCurrentIndex(1);
        QCOMPARE(d.nameField()->text(), f.out(QStringLiteral("b.PNG")));
        d.widthField()->setText(QStringLiteral("100"));
        d.heightField()->setText(QStringLiteral("50"));
        messages.answers = {QMessageBox::No};
        QVERIFY(!d.check());
        QCOMPARE(messages.messages.size(), 1);
    }

    void numberingSkipsTakenNumbers() {
        FileOutputFixture f;
        QTemporaryDir folder(baseTemp() + QStringLiteral("/vakout-XXXXXX"));
        if (folder.path().contains(QLatin1Char('_'))) QSKIP("the temporary folder has an underscore in its path");
        QFile(folder.filePath(QStringLiteral("Vak_000.BMP"))).open(QIODevice::WriteOnly);
        QFile(folder.filePath(QStringLiteral("Vak_001.GIF"))).open(QIODevice::WriteOnly);
        f.writeIni(kPlainIni + "FileOutFileFormat=1\r\nFileOutName=" +
                   folder.filePath(QStringLiteral("Vak_000.BMP")).toLocal8Bit() + "\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.nameField()->text(), folder.filePath(QStringLiteral("Vak_002.GIF")));
        QCOMPARE(FileOutputDialog::numberedName(folder.filePath(QStringLiteral("Vak_000.BMP")), QStringLiteral(".JPG")),
                 folder.filePath(QStringLiteral("Vak_002.JPG")));
        QCOMPARE(FileOutputDialog::numberedName(folder.filePath(QStringLiteral("Vak_5.BMP")), QStringLiteral(".BMP")),
                 folder.filePath(QStringLiteral("Vak_5.BMP")));
    }

    void firstUnderscoreInAFolderNameStopsNumbering() {
        FileOutputFixture f;
        QTemporaryDir folder(baseTemp() + QStringLiteral("/vakout-XXXXXX"));
        QDir(folder.path()).mkdir(QStringLiteral("my_dir"));
        const QString path = folder.filePath(QStringLiteral("my_dir/Vak_000.BMP"));
        QFile(path).open(QIODevice::WriteOnly);
        QCOMPARE(FileOutputDialog::numberedName(path, QStringLiteral(".BMP")), path);
        f.writeIni(kPlainIni + "FileOutName=" + path.toLocal8Bit() + "\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.nameField()->text(), path);
    }

    void aspectRuleFollowsTheHolderWithItsBorder() {
        FileOutputFixture f(textPicture(200, 100));
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=1\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.widthField()->setText(QStringLiteral("400"));
        QCOMPARE(d.heightField()->text(), QStringLiteral("203"));
        QCOMPARE(d.sizeLabel()->text(), QStringLiteral("変形後ｻｲｽﾞ = 400 X 203"));
        d.heightField()->setText(QStringLiteral("104"));
        QCOMPARE(d.widthField()->text(), QStringLiteral("204"));
    }

    void sizeRestoreUsesTheBaseSize() {
        FileOutputFixture f(textPicture(200, 100));
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=1\r\nFileOutTextBaseSize=52\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.heightField()->text(), QStringLiteral("52"));
        QCOMPARE(d.widthField()->text(), QStringLiteral("102"));  // 52 * 204 / 104
    }

    void checkFitsTheButtonAfterOk() {
        FileOutputFixture f(textPicture(100, 40));
        f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutButtonWid=80\r\n"
                   "FileOutButtonHi=30\r\nFileOutButtonWakuWid=2\r\nFileOutTextW=100\r\nFileOutTextH=40\r\n");
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.nameField()->setText(f.out(QStringLiteral("c.BMP")));
        d.formatList()->setCurrentIndex(0);
        d.heightField()->setText(QStringLiteral("40"));
        d.buttonHeightField()->setText(QStringLiteral("30"));
        QCOMPARE(d.widthField()->text(), QStringLiteral("100"));
        messages.answers = {QMessageBox::Cancel};
        QVERIFY(!d.check());
        QCOMPARE(d.buttonWidthField()->text(), QStringLiteral("80"));
        QCOMPARE(messages.messages.front().title, QStringLiteral("枠サイズ調整"));
        QCOMPARE(messages.messages.front().text,
                 QStringLiteral("ボタン内にテキストが入りきれません\r\nボタンサイズを自動調整して処理を続行しますか？"));
        QCOMPARE(messages.messages.front().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        messages.answers = {QMessageBox::Ok};
        QVERIFY(d.check());
        QCOMPARE(d.buttonWidthField()->text(), QStringLiteral("112"));
        QCOMPARE(d.buttonHeightField()->text(), QStringLiteral("46"));

        d.buttonWidthField()->setText(QStringLiteral("9"));
        messages.messages.clear();
        QVERIFY(!d.check());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("ボタンサイズが小さ過ぎます")});
    }

    void doubleClickOnSizeFitsWithFifteenPercent() {
        FileOutputFixture f(textPicture(100, 40));
        f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutButtonWakuWid=2\r\n"
                   "FileOutTextW=100\r\nFileOutTextH=40\r\n");
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        auto* label = d.findChild<QLabel*>(QStringLiteral("Label8"));
        QVERIFY(label);
        messages.answers = {QMessageBox::No};
        QTest::mouseDClick(label, Qt::LeftButton);
        QCOMPARE(d.buttonWidthField()->text(), QStringLiteral("120"));
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages.front().text, QStringLiteral("ボタンサイズを自動調整します\r\rよろしいですか？"));
        QCOMPARE(messages.messages.front().title, QStringLiteral("枠サイズ調整"));
        QCOMPARE(messages.messages.front().defaultButton, QMessageBox::Yes);
        messages.answers = {QMessageBox::Yes};
        QTest::mouseDClick(label, Qt::LeftButton);
        QCOMPARE(d.buttonWidthField()->text(), QStringLiteral("117"));  // 100 + 2 + 15
        QCOMPARE(d.buttonHeightField()->text(), QStringLiteral("48"));  // 40 + 2 + 6
    }

    void buttonModeLimitsTheHeight() {
        FileOutputFixture f(textPicture(100, 40));
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutButtonHi=30\r\n"
                   "FileOutTextW=100\r\nFileOutTextH=40\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.heightField()->text(), QStringLiteral("40"));
        d.buttonBox()->setChecked(true);
        QCOMPARE(d.heightField()->text(), QStringLiteral("30"));
    }

    void outlineColourEqualToTheBackgroundIsKeptApart() {
        FileOutputFixture f(textPicture(100, 40));
        QVERIFY(f.bound);
        f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\n"
                   "FileOutButtonWid=150\r\nFileOutButtonHi=50\r\nFileOutTextW=100\r\nFileOutTextH=40\r\n"
                   "FileOutButtonGrad=3\r\nFileOutButtonWakuWid=2\r\nFileOutButtonEffect=3\r\n"
                   "FileOutButtonEffectMode=0\r\nFileOutButtonWakuColor1=16777215\r\n");
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.formatList()->setCurrentIndex(0);
        d.nameField()->setText(f.out(QStringLiteral("apart.BMP")));
        d.widthField()->setText(QStringLiteral("100"));
        d.heightField()->setText(QStringLiteral("40"));
        QVERIFY(d.runOutput());
        const QImage image = decode(f.out(QStringLiteral("apart.BMP")));
        // The outline keeps its colour, one red step down; the face below is shaded.
        QCOMPARE(image.pixel(75, 0), qRgb(254, 255, 255));
        QCOMPARE(image.pixel(75, 49), qRgb(254, 255, 255));
        QVERIFY(qGray(image.pixel(75, 45)) < 230);
    }

    void transformChangesTheHeight() {
        FileOutputFixture f(textPicture(200, 100));
        QVERIFY(f.bound);
        f.writeIni(kPlainIni + "TranslateType=1\r\nTranslateP1=50\r\nTranslateP2=50\r\nTranslateP3=50\r\n");
        MessageRecorder messages;
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.formatList()->setCurrentIndex(1);
        d.nameField()->setText(f.out(QStringLiteral("warp.GIF")));
        d.widthField()->setText(QStringLiteral("200"));
        d.heightField()->setText(QStringLiteral("100"));
        // Arch, P1 = P2 = 50 on 200 x 100: every bottom is
        // round(100 * 50 * 0.01 + 100) = 150; the middle column's top sags to
        // round(0.25 * 100 * 100 / 26) = 96, column 50's to
        // round(0.1875 * 100 * 100 / 26) = 72.
        QCOMPARE(d.transformedHeight(), 150);
        QCOMPARE(d.sizeLabel()->text(), QStringLiteral("変形後ｻｲｽﾞ = 200 X 150"));
        QVERIFY(d.runOutput());
        const QImage image = decode(f.out(QStringLiteral("warp.GIF")));
        QCOMPARE(image.size(), QSize(200, 150));
        // The black block (source rows 25 to 74 of columns 50 to 149) is
        // pushed down: above the sag the middle column is background, and
        // its rows 96 + 54 * 25 / 100 ... 96 + 54 * 75 / 100 are black.
        QVERIFY(qGray(image.pixel(100, 60)) > 215);
        QVERIFY(qGray(image.pixel(100, 123)) < 40);
        QVERIFY(qGray(image.pixel(50, 60)) > 215);
        QVERIFY(qGray(image.pixel(50, 110)) < 40);
        QVERIFY(qGray(image.pixel(10, 140)) > 215);
    }

    void jpegTakesQualityAndProgressionFromSetup() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        if (QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty()) QSKIP("ImageMagick is missing");
        for (int progressive : {0, 1}) {
            f.writeIni(kPlainIni + "[Setup]\r\nJPEGQuality=50\r\nJPEGProgression=" +
                       QByteArray::number(progressive) + "\r\n");
            MessageRecorder messages;
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(2);
            const QString path = f.out(QStringLiteral("q%1.JPG").arg(progressive));
            d.nameField()->setText(path);
            d.widthField()->setText(QStringLiteral("100"));
            d.heightField()->setText(QStringLiteral("50"));
            QVERIFY(d.runOutput());
            QProcess identify;
            identify.start(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%Q %[interlace]"), path});
            QVERIFY(identify.waitForFinished(30000));
            const QString info = QString::fromLatin1(identify.readAllStandardOutput());
            QVERIFY2(info.startsWith(QStringLiteral("50 ")), qPrintable(info));
            QCOMPARE(info.endsWith(QStringLiteral("None")), progressive == 0);
        }
    }

    void controlsCarryTheirNamesAndCaptions() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.windowTitle(), QStringLiteral("ファイル出力"));
        const struct {
            const char* name;
            const char* caption;
        } buttons[] = {{"Command1", "出力"}, {"Command2", "ｷｬﾝｾﾙ"}, {"Command3", "選択"}, {"Command4", "選択"}};
        for (const auto& b : buttons) {
            auto* button = d.findChild<QPushButton*>(QString::fromLatin1(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
        }
        const struct {
            const char* name;
            const char* caption;
        } checks[] = {{"Check1", "縦横比固定"}, {"Check2", "ｽﾑｰｼﾞﾝｸﾞ"}, {"Check3", "背景透過"}, {"Check4", "ボタン効果"},
                      {"Check5", "ｾﾝﾀﾘﾝｸﾞ補正"}};
        for (const auto& c : checks) {
            auto* box = d.findChild<QCheckBox*>(QString::fromLatin1(c.name));
            QVERIFY2(box, c.name);
            QCOMPARE(box->text(), QString::fromUtf8(c.caption));
        }
        QCOMPARE(d.formatList()->count(), 4);  // BMP, GIF, JPG and PNG
        QCOMPARE(d.shapeList()->itemText(1), QStringLiteral("丸ﾎﾞﾀﾝ"));
        QCOMPARE(d.shadingList()->itemText(5), QStringLiteral("立体Lv5（強）"));
        QCOMPARE(d.outlineList()->itemText(4), QStringLiteral("ﾊﾟｲﾌﾟ枠"));
        QCOMPARE(d.widthField()->maxLength(), 4);
        QCOMPARE(d.buttonWidthField()->maxLength(), 3);
        QCOMPARE(d.outlineWidthBar()->minimum(), 1);
        QCOMPARE(d.outlineWidthBar()->maximum(), 10);
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Combo1", "Combo2", "Combo3", "Combo4",
                                 "Picture3", "Picture4", "Picture5", "Picture6", "HScroll1", "Label15", "Label17",
                                 "Label18", "Label8", "Label2", "Label3"})
            QVERIFY2(d.findChild<QWidget*>(QString::fromLatin1(name)), name);
        const QString keep = qEnvironmentVariable("VAKURO_BUTTON_GIF_DIR");
        if (!keep.isEmpty()) d.grab().save(keep + QStringLiteral("/form030.png"));
    }

    void doubleByteKeysAreRefused() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.widthField()->clear();
        QTest::keyClicks(d.widthField(), QStringLiteral("1"));
        QKeyEvent wide(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("２"));
        QApplication::sendEvent(d.widthField(), &wide);
        QCOMPARE(d.widthField()->text(), QStringLiteral("1"));
        QTest::keyClicks(d.widthField(), QStringLiteral("3"));
        QCOMPARE(d.widthField()->text(), QStringLiteral("13"));
    }

    void buttonRulesEnableTheControls() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QVERIFY(!d.shapeList()->isEnabled());
        d.buttonBox()->setChecked(true);
        d.shapeList()->setCurrentIndex(0);
        d.outlineList()->setCurrentIndex(1);
        QVERIFY(d.shapeList()->isEnabled());
        QVERIFY(!d.outsideColour()->isEnabled());
        QVERIFY(d.outlineList()->isEnabled());
        QVERIFY(d.outlineWidthBar()->isEnabled());
        QVERIFY(!d.outlineColour1()->isEnabled());
        QVERIFY(d.outlineColour2()->isHidden());
        d.outlineList()->setCurrentIndex(4);
        QVERIFY(d.outlineColour1()->isEnabled());
        QVERIFY(d.outlineColour2()->isEnabled());
        QVERIFY(!d.outlineColour2()->isHidden());
        d.outlineList()->setCurrentIndex(0);
        QVERIFY(!d.outlineWidthBar()->isEnabled());
        d.shapeList()->setCurrentIndex(2);
        QVERIFY(d.outsideColour()->isEnabled());
        QVERIFY(!d.outlineList()->isEnabled());
        QVERIFY(!d.outlineWidthBar()->isEnabled());
    }

    void saveSetStoresTheBaseSize() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.widthField()->setText(QStringLiteral("300"));
        d.heightField()->setText(QStringLiteral("120"));
        d.shapeList()->setCurrentIndex(3);
        d.saveSet();
        const QString ini = SettingsPath();
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("FileOutTextBaseSize"), QString()),
                 QStringLiteral("120"));
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("FileOutTextW"), QString()), QStringLiteral("300"));
        QCOMPARE(IniReadInt(ini, QStringLiteral("Setting"), QStringLiteral("FileOutButtonEffectMode"), -1), 3);
    }

    void writesBmpGifAndJpeg() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni(kPlainIni);
        MessageRecorder messages;
        const QStringList names = {QStringLiteral("o.BMP"), QStringLiteral("o.GIF"), QStringLiteral("o.JPG")};
        for (int format = 0; format < 3; ++format) {
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(format);
            d.nameField()->setText(f.out(names[format]));
            d.widthField()->setText(QStringLiteral("300"));
            d.heightField()->setText(QStringLiteral("150"));
            QVERIFY(d.runOutput());
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QByteArray kind;
            const QImage image = decode(f.out(names[format]), &kind);
            QCOMPARE(image.size(), QSize(300, 150));
            QCOMPARE(kind, QByteArray(format == 0 ? "bmp" : format == 1 ? "gif" : "jpeg"));
            // White background, black block in the middle.
            QVERIFY(qGray(image.pixel(150, 75)) < 40);
            QVERIFY(qGray(image.pixel(5, 5)) > 215);
            if (format == 0) {
                // The BMP is a byte-for-byte copy of the temporary bitmap of its run.
                QFile bmp(f.out(names[0]));
                QVERIFY(bmp.open(QIODevice::ReadOnly));
                QFile temporary(TempFolder() + QStringLiteral("VakTmp.bmp"));
                QVERIFY(temporary.open(QIODevice::ReadOnly));
                const QByteArray copied = bmp.readAll();
                QCOMPARE(copied.size(), 54 + 900 * 150);
                QVERIFY(copied == temporary.readAll());
            }
        }
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(f.host.lastQuality, 101);
        QVERIFY(f.host.prepared >= 3);
    }

    void plainGifWithTransparencyClearsTheBackground() {
        // Without a button the transparent colour is the text image's
        // top-left pixel: the white background; the black block stays.
        FileOutputFixture f;
        QVERIFY(f.bound);
        for (const bool transparent : {true, false}) {
            f.writeIni(kPlainIni + "FileOutTransBack=" + QByteArray::number(int(transparent)) + "\r\n");
            MessageRecorder messages;
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(1);
            QCOMPARE(d.findChild<QCheckBox*>(QStringLiteral("Check3"))->isChecked(), transparent);
            const QString path = f.out(QStringLiteral("clear%1.GIF").arg(int(transparent)));
            d.nameField()->setText(path);
            d.widthField()->setText(QStringLiteral("200"));
            d.heightField()->setText(QStringLiteral("100"));
            QVERIFY(d.runOutput());
            const QImage image = decode(path);
            QCOMPARE(image.size(), QSize(200, 100));
            QCOMPARE(qAlpha(image.pixel(0, 0)), transparent ? 0 : 255);
            QCOMPARE(qAlpha(image.pixel(199, 99)), transparent ? 0 : 255);
            QCOMPARE(qAlpha(image.pixel(100, 50)), 255);
            QVERIFY(qGray(image.pixel(100, 50)) < 40);
        }
    }

    void squareButtonGifHasNoTransparencyRoundOneHas() {
        FileOutputFixture f(textPicture(100, 40));
        QVERIFY(f.bound);
        for (int shape = 0; shape < 4; ++shape) {
            f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\nFileOutTransBack=1\r\n"
                       "FileOutButtonWid=140\r\nFileOutButtonHi=50\r\nFileOutTextW=100\r\nFileOutTextH=40\r\n"
                       "FileOutButtonBackColor=255\r\nFileOutButtonEffect=1\r\nFileOutButtonEffectMode=" +
                       QByteArray::number(shape) + "\r\n");
            MessageRecorder messages;
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(1);
            const QString path = f.out(QStringLiteral("button%1.GIF").arg(shape));
            d.nameField()->setText(path);
            d.widthField()->setText(QStringLiteral("100"));
            d.heightField()->setText(QStringLiteral("40"));
            QVERIFY(d.runOutput());
            const QImage image = decode(path);
            QCOMPARE(image.size(), QSize(140, 50));
            if (shape == 0) {
                QVERIFY(!image.hasAlphaChannel() || qAlpha(image.pixel(0, 0)) == 255);
            } else {
                QVERIFY(image.hasAlphaChannel());
                QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
                QCOMPARE(qAlpha(image.pixel(70, 25)), 255);
            }
            const QString keep = qEnvironmentVariable("VAKURO_BUTTON_GIF_DIR");
            if (!keep.isEmpty()) QFile::copy(path, keep + QStringLiteral("/button%1.gif").arg(shape));
        }
    }

    void outlinesAndShadingLookRight() {
        // One GIF per outline on a round and a square button, kept when asked.
        FileOutputFixture f(textPicture(100, 40));
        QVERIFY(f.bound);
        const QString keep = qEnvironmentVariable("VAKURO_BUTTON_GIF_DIR");
        for (int shape = 0; shape < 2; ++shape) {
            for (int outline = 0; outline < 5; ++outline) {
                f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\n"
                           "FileOutButtonWid=150\r\nFileOutButtonHi=50\r\nFileOutTextW=100\r\nFileOutTextH=40\r\n"
                           "FileOutButtonGrad=3\r\nFileOutButtonWakuWid=4\r\nFileOutButtonWakuColor1=16711680\r\n"
                           "FileOutButtonWakuColor2=65535\r\nFileOutButtonBackColor=8421504\r\n"
                           "FileOutButtonEffectMode=" + QByteArray::number(shape) + "\r\nFileOutButtonEffect=" +
                           QByteArray::number(outline) + "\r\n");
                MessageRecorder messages;
                FileOutputDialog d(*f.state, nullptr);
                d.load();
                d.formatList()->setCurrentIndex(1);
                const QString path = f.out(QStringLiteral("b%1%2.GIF").arg(shape).arg(outline));
                d.nameField()->setText(path);
                d.widthField()->setText(QStringLiteral("100"));
                d.heightField()->setText(QStringLiteral("40"));
                QVERIFY(d.runOutput());
                const QImage image = decode(path);
                QCOMPARE(image.size(), QSize(150, 50));
                // Shaded face: lighter at the top than at the bottom.
                QVERIFY(qGray(image.pixel(75, 8)) > qGray(image.pixel(75, 41)));
                if (shape == 0 && outline != 0) {
                    // The four rings of the square button along both diagonals,
                    // outermost first. Raised: light top-left, dark bottom-right;
                    // sunken the other way round; flat: colour 1 (blue); pipe:
                    // table of 4 rings, c = 1.5, v = 1, 1/9, 1/9, 1, so blue
                    // outside and inside and blend(blue, yellow, 1/9) =
                    // (227, 227, 28) between.
                    const QRgb light = qRgb(240, 240, 240), dark = qRgb(64, 64, 64), blue = qRgb(0, 0, 255);
                    const QRgb between = qRgb(227, 227, 28);
                    const QRgb rings[5][2][4] = {
                        {},
                        {{light, light, light, light}, {dark, dark, dark, dark}},
                        {{dark, dark, dark, dark}, {light, light, light, light}},
                        {{blue, blue, blue, blue}, {blue, blue, blue, blue}},
                        {{blue, between, between, blue}, {blue, between, between, blue}},
                    };
                    for (int j = 0; j < 4; ++j) {
                        QCOMPARE(image.pixel(j, j), rings[outline][0][j]);
                        QCOMPARE(image.pixel(149 - j, 49 - j), rings[outline][1][j]);
                    }
                }
                if (!keep.isEmpty()) QFile::copy(path, keep + QStringLiteral("/b%1%2.gif").arg(shape).arg(outline));
            }
        }
    }

    void abandonedPreviewWritesNothing() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=1\r\n");
        MessageRecorder messages;
        for (bool closeBox : {false, true}) {
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(0);
            d.nameField()->setText(f.out(QStringLiteral("p.BMP")));
            d.widthField()->setText(QStringLiteral("120"));
            d.heightField()->setText(QStringLiteral("60"));
            pressInModal(QStringLiteral("Command2"), closeBox);
            QVERIFY(!d.runOutput());
            QVERIFY(!QFile::exists(f.out(QStringLiteral("p.BMP"))));
            QVERIFY(d.result() != QDialog::Accepted);
        }
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        d.formatList()->setCurrentIndex(0);
        d.nameField()->setText(f.out(QStringLiteral("p.BMP")));
        pressInModal(QStringLiteral("Command1"));
        QVERIFY(d.runOutput());
        QVERIFY(QFile::exists(f.out(QStringLiteral("p.BMP"))));
        QCOMPARE(IniReadInt(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("FileOutPreView"), -1), 1);
    }

    void unwritableFileKeepsTheDialogOpen() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni(kPlainIni);
        const QStringList names = {QStringLiteral("x.BMP"), QStringLiteral("x.GIF"), QStringLiteral("x.JPG")};
        for (int format = 0; format < 3; ++format) {
            MessageRecorder messages;
            FileOutputDialog d(*f.state, nullptr);
            d.load();
            d.formatList()->setCurrentIndex(format);
            const QString path = f.out(QStringLiteral("missing/") + names[format]);
            d.nameField()->setText(path);
            d.widthField()->setText(QStringLiteral("100"));
            d.heightField()->setText(QStringLiteral("50"));
            QVERIFY(!d.runOutput());
            QVERIFY(d.result() != QDialog::Accepted);
            QCOMPARE(messages.texts(),
                     QStringList{QStringLiteral("ファイルに書き込めませんでした\r\n") + QDir::toNativeSeparators(path)});
            // A target that is a folder: nothing is left beside it.
            QDir(f.out(QString())).mkdir(names[format]);
            d.nameField()->setText(f.out(names[format]));
            QVERIFY(!d.runOutput());
            QCOMPARE(QDir(f.out(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
                     format + 1);
        }
    }

    void previewWindowSizes() {
        FileOutputFixture f;
        f.writeIni(kPlainIni);
        const QString tmp = TempFolder() + QStringLiteral("VakTmp.bmp");
        auto writeTemp = [&](int w, int h) {
            const QImage image = textPicture(w, h);
            QVERIFY(bmp::writeBmp(QFile::encodeName(tmp).constData(), bmp::makeHeader24(w, h), {},
                                  ReadPictureBits(image)));
        };
        writeTemp(100, 40);
        {
            OutputPreviewWindow w(*f.state, nullptr);
            QCOMPARE(w.result(), -1);
            QCOMPARE(w.holder()->size(), QSize(100, 40));
            QCOMPARE(w.width(), TwipsToPixels(OutputPreviewWindow::kDesignWidthTwips));
            QCOMPARE(w.height(), TwipsToPixels(40 * 15 + OutputPreviewWindow::kHolderTopTwips + 600));
            QCOMPARE(w.windowTitle(), QStringLiteral("プレビュー（ファイル出力）"));
        }
        writeTemp(400, 40);
        {
            OutputPreviewWindow w(*f.state, nullptr);
            const int widthTwips = 6000 + OutputPreviewWindow::kHolderLeftTwips + 300;
            QCOMPARE(w.width(), TwipsToPixels(widthTwips));
            QCOMPARE(w.saveButton()->x(), TwipsToPixels(widthTwips - 1590));
            QCOMPARE(w.abortButton()->x(), TwipsToPixels(widthTwips - 1590));
            QCOMPARE(w.saveButton()->text(), QStringLiteral("保存"));
            QCOMPARE(w.abortButton()->text(), QStringLiteral("中止"));
        }
    }

    void commandLineWritesTheFileAndRestoresThePreviewKey() {
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/vakuro");
        if (!QFile::exists(program)) QSKIP("the program is not built");
        QTemporaryDir home;
        QTemporaryDir temp;
        QTemporaryDir out(baseTemp() + QStringLiteral("/vakout-XXXXXX"));
        {
            QFile ini(home.filePath(QStringLiteral("Vakuro.ini")));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Setting]\r\nTitleSkip=1\r\nFileOutButton=0\r\nFileOutPreView=1\r\n");
        }
        auto run = [&](const QStringList& arguments, QString* errors) {
            QProcess p;
            p.setWorkingDirectory(out.path());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("VAKURO_HOME"), home.path());
            env.insert(QStringLiteral("TMPDIR"), temp.path());
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            p.setProcessEnvironment(env);
            p.start(program, arguments);
            if (!p.waitForFinished(120000)) {
                p.kill();
                return -1;
            }
            if (errors) *errors = QString::fromLocal8Bit(p.readAllStandardError());
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        const QString gif = out.filePath(QStringLiteral("a.gif"));
        QCOMPARE(run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), gif}, nullptr), 0);
        QByteArray kind;
        const QImage image = decode(gif, &kind);
        QCOMPARE(kind, QByteArray("gif"));
        QVERIFY(!image.isNull());
        const QString ini = home.filePath(QStringLiteral("Vakuro.ini"));
        QCOMPARE(IniReadInt(ini, QStringLiteral("Setting"), QStringLiteral("FileOutPreView"), -1), 1);
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("Text"), QString()), QStringLiteral("ABC"));
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("FileOutName"), QString()), gif);

        // The extension chooses the format in any case.
        const QString jpg = out.filePath(QStringLiteral("b.Jpg"));
        QCOMPARE(run({QStringLiteral("/t"), QStringLiteral("ABC"), QStringLiteral("/f"), jpg}, nullptr), 0);
        QCOMPARE((decode(jpg, &kind), kind), QByteArray("jpeg"));

        // A relative file lies in the folder the program was started from.
        QCOMPARE(run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), QStringLiteral("rel.BMP")},
                     nullptr),
                 0);
        QCOMPARE((decode(out.filePath(QStringLiteral("rel.BMP")), &kind), kind), QByteArray("bmp"));

        // A file that cannot be written: non-zero, a message, no file.
        QString errors;
        const QString bad = out.filePath(QStringLiteral("missing/c.bmp"));
        QCOMPARE(run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), bad}, &errors), 1);
        QVERIFY(errors.contains(QStringLiteral("ファイルに書き込めませんでした")));
        QVERIFY(!QFile::exists(bad));
        QCOMPARE(IniReadInt(ini, QStringLiteral("Setting"), QStringLiteral("FileOutPreView"), -1), 1);

        // With the default settings (a 120 x 30 button, too small for the
        // text) the button is fitted and the file written.
        {
            QFile ini2(ini);
            QVERIFY(ini2.open(QIODevice::WriteOnly));
            ini2.write("[Setting]\r\nTitleSkip=1\r\n");
        }
        const QString button = out.filePath(QStringLiteral("button.gif"));
        QCOMPARE(run({QStringLiteral("/T"), QStringLiteral("ソモロ"), QStringLiteral("/F"), button}, &errors), 0);
        QCOMPARE((decode(button, &kind), kind), QByteArray("gif"));

        // A question takes its safe answer: an unknown extension is not written.
        const QString png = out.filePath(QStringLiteral("d.tif"));
        QCOMPARE(run({QStringLiteral("/T"), QStringLiteral("ABC"), QStringLiteral("/F"), png}, &errors), 1);
        QVERIFY(errors.contains(QStringLiteral("ファイル形式と拡張子が一致していません")));
        QVERIFY(!QFile::exists(png));
    }
};

QTEST_MAIN(FileOutputDialogTest)
#include "file_output_dialog_test.moc"
