// Button painting: the gradient rows of the five schemes, the caption kept in
// the tag, painting through PaintWindowBackground, restoring at scheme 0.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "button_painting.h"
#include "settings_keys.h"
#include "window_theme.h"

using namespace vakuro;
namespace keys = vakuro::settings;

namespace {

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

QColor rowOf(const QImage& picture, int y) { return picture.pixelColor(picture.width() / 2, y); }

QImage pictureOf(const QPushButton* button) { return button->property("picture").value<QImage>(); }

}  // namespace

class ButtonPaintingTest : public QObject {
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
    }

    void rowLevels() {
        // round(256 - y * 127 / height), halves to even.
        QCOMPARE(ButtonRowLevel(0, 25), 256);
        QCOMPARE(ButtonRowLevel(24, 25), 134);   // 256 - 121.92 = 134.08
        QCOMPARE(ButtonRowLevel(12, 25), 195);   // 256 - 60.96 = 195.04
        QCOMPARE(ButtonRowLevel(1, 2), 192);     // 256 - 63.5 = 192.5: to the even 192
        QCOMPARE(ButtonRowLevel(3, 2), 66);      // 256 - 190.5 = 65.5: to the even 66
    }

    void rowColoursOfTheSchemes() {
        const struct {
            int scheme, level;
            QColor colour;
        } cases[] = {
            {1, 256, rgb(255, 255, 231)},  // Gold: every channel limited to 255
            {1, 134, rgb(144, 144, 109)},
            {2, 134, rgb(134, 139, 149)},  // Silver
            {3, 134, rgb(109, 134, 169)},  // Blue
            {3, 256, rgb(231, 255, 255)},
            {4, 134, rgb(119, 164, 129)},  // Green
            {5, 134, rgb(169, 134, 134)},  // Red
            {5, 20, rgb(55, 20, 20)},
            {4, 10, rgb(0, 40, 5)},        // limited to 0 as well
        };
        for (const auto& c : cases) {
            QCOMPARE(ButtonRowColour(c.scheme, c.level), c.colour);
        }
    }

    void pictureOfA25PixelButton() {
        const QImage picture = ButtonFacePicture(QSize(80, 25), 1, QString(), QFont());
        QCOMPARE(picture.size(), QSize(80, 25));
        QCOMPARE(rowOf(picture, 0), rgb(255, 255, 231));
        QCOMPARE(rowOf(picture, 24), rgb(144, 144, 109));
        QCOMPARE(picture.pixelColor(0, 12), rgb(205, 205, 170));  // level 195
        QCOMPARE(picture.pixelColor(79, 12), rgb(205, 205, 170));
    }

    void theTextIsPrintedInBlackNearTheMiddle() {
        const QImage blank = ButtonFacePicture(QSize(80, 25), 2, QString(), QFont());
        const QImage text = ButtonFacePicture(QSize(80, 25), 2, QStringLiteral("WWW"), QFont());
        QRect changed;
        int darkest = 255;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (text.pixel(x, y) == blank.pixel(x, y)) continue;
                changed |= QRect(x, y, 1, 1);
                darkest = std::min(darkest, qGray(text.pixel(x, y)));
            }
        }
        QVERIFY(!changed.isEmpty());
        QVERIFY2(darkest < 40, "the text is black");
        // Centred, 2 pixels to the left and 1 up.
        const int left = changed.left(), right = 79 - changed.right();
        QVERIFY2(std::abs((right - left) - 4) <= 3, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
    }

    void paintsThroughTheWindowThemeAndKeepsTheCaption() {
        const QString ini = iniWith(0, 1);
        QDialog window;
        window.setObjectName(QStringLiteral("Form040"));
        auto* ok = new QPushButton(QStringLiteral("OK"), &window);
        ok->setObjectName(QStringLiteral("Command1"));
        ok->setGeometry(10, 10, 80, 25);

        PaintWindowBackground(&window, ini);
        QCOMPARE(ok->text(), QString());
        QCOMPARE(ok->property("tag").toString(), QStringLiteral("OK"));
        QCOMPARE(rowOf(pictureOf(ok), 0), rgb(255, 255, 231));
        QCOMPARE(rowOf(pictureOf(ok), 24), rgb(144, 144, 109));
        // The button shows its picture inside a thin outline.
        const QImage shown = ok->grab().toImage();
        QCOMPARE(shown.pixelColor(3, 12), rgb(205, 205, 170));

        // Painting again, in another scheme: the tag still holds the caption.
        keys::IniWriteInt(ini, keys::kButtonPaint, 3);
        PaintWindowBackground(&window, ini);
        PaintWindowBackground(&window, ini);
        QCOMPARE(ok->text(), QString());
        QCOMPARE(ok->property("tag").toString(), QStringLiteral("OK"));
        QCOMPARE(rowOf(pictureOf(ok), 0), rgb(231, 255, 255));

        // Back to 0: the plain button with its caption.
        keys::IniWriteInt(ini, keys::kButtonPaint, 0);
        PaintWindowBackground(&window, ini);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(!ok->property("tag").isValid());
        QVERIFY(!ok->property("picture").isValid());
        QVERIFY(!ok->findChild<QObject*>(QStringLiteral("vakuroButtonFace")));
    }

    void unknownSchemesLeaveTheButtonsPlain() {
        for (int scheme : {-1, 6, 300}) {
            QWidget window;
            auto* button = new QPushButton(QStringLiteral("閉じる"), &window);
            PaintButtons(&window, 2);
            PaintButtons(&window, scheme);
            QCOMPARE(button->text(), QStringLiteral("閉じる"));
            QVERIFY(!button->property("picture").isValid());
        }
    }

    void buttonsOfOtherKindsAndOtherWindowsAreLeftAlone() {
        QWidget window;
        auto* withIcon = new QPushButton(QIcon(QPixmap(16, 16)), QStringLiteral("Icon"), &window);
        auto* flat = new QPushButton(QStringLiteral("Flat"), &window);
        flat->setFlat(true);
        auto* child = new QDialog(&window);
        auto* inChild = new QPushButton(QStringLiteral("Child"), child);
        PaintButtons(&window, 4);
        for (QPushButton* button : {withIcon, flat, inChild}) {
            QVERIFY(!button->text().isEmpty());
            QVERIFY(!button->property("tag").isValid());
        }
    }

    void aButtonInALayoutKeepsItsSize() {
        QWidget window;
        auto* row = new QHBoxLayout(&window);
        auto* button = new QPushButton(QStringLiteral("ファイルを選ぶ"), &window);
        row->addWidget(button);
        row->addStretch();
        window.resize(400, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize before = button->size();
        const QSize minimumBefore = button->minimumSize();

        PaintButtons(&window, 5);
        window.layout()->activate();
        QCOMPARE(button->size(), before);
        QCOMPARE(pictureOf(button).size(), before);

        PaintButtons(&window, 0);
        QCOMPARE(button->minimumSize(), minimumBefore);
        QCOMPARE(button->text(), QStringLiteral("ファイルを選ぶ"));
    }

    void theMnemonicStillWorks() {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("閉じる(&C)"), &window);
        PaintButtons(&window, 1);
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->shortcut(), QKeySequence::mnemonic(QStringLiteral("閉じる(&C)")));
        QCOMPARE(button->accessibleName(), QStringLiteral("閉じる(C)"));
        PaintButtons(&window, 0);
        QCOMPARE(button->accessibleName(), QString());
    }

    void aCaptionSetLaterBecomesTheTag() {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("開始"), &window);
        button->resize(80, 25);
        PaintButtons(&window, 2);
        button->setText(QStringLiteral("停止"));
        button->grab();  // painting takes the new caption
        QCOMPARE(button->text(), QString());
        QCOMPARE(button->property("tag").toString(), QStringLiteral("停止"));
        PaintButtons(&window, 0);
        QCOMPARE(button->text(), QStringLiteral("停止"));
    }

    void thePictureFollowsTheButtonsSize() {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("OK"), &window);
        button->resize(80, 25);
        PaintButtons(&window, 1);
        button->resize(90, 50);
        button->grab();  // a hidden button takes its new size when it is painted
        QCOMPARE(pictureOf(button).size(), QSize(90, 50));
        // Row 49: level round(256 - 49 * 127 / 50) = round(131.54) = 132.
        QCOMPARE(rowOf(pictureOf(button), 49), rgb(142, 142, 107));
    }

private:
    QString iniWith(int backPaint, int buttonPaint) {
        const QString ini = home_->filePath(QStringLiteral("Vakuro.ini"));
        keys::IniWriteInt(ini, keys::kBackPaint, backPaint);
        keys::IniWriteInt(ini, keys::kButtonPaint, buttonPaint);
        return ini;
    }

    QString base_;
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> temp_;
};

QTEST_MAIN(ButtonPaintingTest)
#include "button_painting_test.moc"
