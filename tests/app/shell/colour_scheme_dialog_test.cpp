// The window colour scheme dialog: controls from the settings file, every
// choice written and applied to the open windows at once, OK keeping and
// cancel restoring both keys and the windows' look.
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include "colour_scheme_dialog.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "window_theme.h"

using namespace vakuro;
namespace keys = vakuro::settings;

namespace {

constexpr int kMissing = -12345;

// Family numbers and button colours as the dialog lists them.
enum Family { Standard, Red, Green, Blue, Gold, Purple };
enum ButtonColour { Plain, GoldButtons, SilverButtons, BlueButtons, GreenButtons, RedButtons };

QColor windowColour(const QWidget& w) { return w.palette().color(QPalette::Window); }

}  // namespace

class ColourSchemeDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { base_ = QDir::tempPath(); }
    void init() {
        // Fresh folders beside each other, not inside the last test's TMPDIR.
        home_ = std::make_unique<QTemporaryDir>(base_ + QStringLiteral("/vakuro-home-XXXXXX"));
        temp_ = std::make_unique<QTemporaryDir>(base_ + QStringLiteral("/vakuro-tmp-XXXXXX"));
        QVERIFY(home_->isValid() && temp_->isValid());
        qputenv("VAKURO_HOME", home_->path().toLocal8Bit());
        qputenv("TMPDIR", temp_->path().toLocal8Bit());
        ini_ = home_->filePath(QStringLiteral("Vakuro.ini"));
    }

    void brightnessOfStoredValues() {
        const struct {
            int backPaint, brightness;
        } cases[] = {
            {0, 5},     // (-100 & 0xFF) / 20 = 156 / 20 = 7, limited to 5
            {100, 0},
            {150, 2},   // 50 / 20
            {868, 0},   // Blue, level 100
            {1184, 3},  // Gold, level 160
            {200, 5},
            {2000, 5},  // (1900 & 0xFF) / 20 = 108 / 20
        };
        for (const auto& c : cases) QCOMPARE(BrightnessOfBackPaint(c.backPaint), c.brightness);
        QCOMPARE(BackPaintValue(Gold, 3), 1184);  // 4 * 256 + 60 + 100
    }

    void controlsShowTheStoredValues() {
        write(Purple * 256 + 140, SilverButtons);
        ColourSchemeDialog d(ini_, nullptr);
        d.prepareOpening();
        QCOMPARE(d.windowTitle(), QStringLiteral("カラーオプション"));
        QCOMPARE(d.objectName(), QStringLiteral("ColorOpt"));
        QVERIFY(d.backgroundOption(Purple)->isChecked());
        QCOMPARE(d.backgroundOption(Purple)->text(), QStringLiteral("Purple"));
        QCOMPARE(d.backgroundOption(Standard)->text(), QStringLiteral("標準"));
        QCOMPARE(d.brightness()->value(), 2);
        QCOMPARE(d.brightness()->maximum(), 5);
        QVERIFY(d.buttonOption(SilverButtons)->isChecked());
        QCOMPARE(d.buttonOption(SilverButtons)->text(), QStringLiteral("Silver"));
        QCOMPARE(d.okButton()->property("tag").toString(), QStringLiteral("OK"));  // painted in Silver
        QCOMPARE(d.cancelButton()->property("tag").toString(), QStringLiteral("ｷｬﾝｾﾙ"));
    }

    void openingAndOkWithoutAChoiceWriteNothing() {
        ColourSchemeDialog d(ini_, nullptr);
        d.prepareOpening();
        QVERIFY(d.backgroundOption(Standard)->isChecked());
        QVERIFY(d.buttonOption(Plain)->isChecked());
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(read(keys::kBackPaint), kMissing);
        QCOMPARE(read(keys::kButtonPaint), kMissing);
    }

    void goldWithBrightness3Stores1184() {
        ColourSchemeDialog d(ini_, nullptr);
        d.prepareOpening();
        QTest::mouseClick(d.backgroundOption(Gold), Qt::LeftButton);
        QCOMPARE(read(keys::kBackPaint), 4 * 256 + 5 * 20 + 100);  // the slider opened at 5
        d.brightness()->setValue(3);
        QCOMPARE(read(keys::kBackPaint), 1184);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(read(keys::kBackPaint), 1184);
    }

    void choicesReachEveryOpenWindowAtOnce() {
        QWidget colourDialog;  // stands for any window that paints the theme
        colourDialog.setObjectName(QStringLiteral("Form010"));
        auto* close = new QPushButton(QStringLiteral("閉じる"), &colourDialog);
        close->setGeometry(10, 10, 80, 25);
        PaintWindowBackground(&colourDialog, ini_);
        colourDialog.show();
        QWidget plain;  // a window without the theme is left alone
        plain.show();
        const QColor plainColour = windowColour(plain);

        ColourSchemeDialog d(ini_, nullptr);
        d.prepareOpening();
        d.show();
        // "Blue" at brightness 0: BackPaint 868, background RGB(80, 100, 140).
        QTest::mouseClick(d.backgroundOption(Blue), Qt::LeftButton);
        d.brightness()->setValue(0);
        QCOMPARE(read(keys::kBackPaint), 868);
        QCOMPARE(windowColour(colourDialog), QColor(80, 100, 140));
        QCOMPARE(windowColour(d), QColor(80, 100, 140));
        QCOMPARE(windowColour(plain), plainColour);

        QTest::mouseClick(d.buttonOption(GoldButtons), Qt::LeftButton);
        QCOMPARE(read(keys::kButtonPaint), 1);
        QCOMPARE(close->property("tag").toString(), QStringLiteral("閉じる"));
        QCOMPARE(close->text(), QString());
        QCOMPARE(d.okButton()->property("tag").toString(), QStringLiteral("OK"));
    }

    void cancelRestoresBothKeysAndTheWindows() {
        const int openingBackPaint = Green * 256 + 100;
        write(openingBackPaint, SilverButtons);
        QWidget other;
        other.setObjectName(QStringLiteral("Form020"));
        auto* button = new QPushButton(QStringLiteral("閉じる"), &other);
        button->resize(80, 25);
        PaintWindowBackground(&other, ini_);
        other.show();
        QCOMPARE(windowColour(other), QColor(100, 140, 100));

        for (const bool escape : {false, true}) {
            ColourSchemeDialog d(ini_, nullptr);
            d.prepareOpening();
            d.show();
            QTest::mouseClick(d.backgroundOption(Red), Qt::LeftButton);
            d.brightness()->setValue(4);
            QTest::mouseClick(d.backgroundOption(Purple), Qt::LeftButton);
            QTest::mouseClick(d.buttonOption(Plain), Qt::LeftButton);
            QTest::mouseClick(d.buttonOption(RedButtons), Qt::LeftButton);
            QCOMPARE(read(keys::kBackPaint), Purple * 256 + 180);
            QCOMPARE(read(keys::kButtonPaint), 5);
            QCOMPARE(windowColour(other), QColor(180, 170, 220));

            if (escape) {
                QTest::keyClick(&d, Qt::Key_Escape);
            } else {
                QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
            }
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QCOMPARE(read(keys::kBackPaint), openingBackPaint);
            QCOMPARE(read(keys::kButtonPaint), 2);
            QCOMPARE(windowColour(other), QColor(100, 140, 100));
            // Silver again: its top row is white.
            QCOMPARE(button->property("picture").value<QImage>().pixelColor(40, 0), QColor(255, 255, 255));
        }
    }

private:
    void write(int backPaint, int buttonPaint) {
        keys::IniWriteInt(ini_, keys::kBackPaint, backPaint);
        keys::IniWriteInt(ini_, keys::kButtonPaint, buttonPaint);
    }
    int read(const keys::IntKey& key) const {
        return IniReadInt(ini_, QLatin1String(key.section), QLatin1String(key.key), kMissing);
    }

    QString base_;
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> temp_;
    QString ini_;
};

QTEST_MAIN(ColourSchemeDialogTest)
#include "colour_scheme_dialog_test.moc"
