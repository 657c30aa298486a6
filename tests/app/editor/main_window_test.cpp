#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QTimer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app_fixture.h"
#include "bmp_file.h"
#include "cp932_qstring.h"
#include "main_window.h"
#include "settings_store.h"
#include "style_data.h"

using namespace vakuro;
using vakuro::testing::AppFixture;

namespace {

QString vakTmp() { return TempFolder() + QStringLiteral("VakTmp.bmp"); }

QSize bmpSize(const QString& path) {
    bmp::BmpImage image;
    if (bmp::readBmp(QFile::encodeName(path).constData(), image) != bmp::BmpReadStatus::Ok) return {};
    return {image.width(), image.height()};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        app = std::make_unique<AppFixture>();
        QVERIFY(app->bound);
        app->writeIni("[Setting]\r\nTitleSkip=1\r\n");
        window = std::make_unique<MainWindow>(*app->state);
        window->open();
        window->show();
    }
    void cleanup() {
        window.reset();
        app.reset();
    }

    void opensWithTheStoredTextAndDrawsTheFirstPreview() {
        QCOMPARE(window->textBox()->text(), QStringLiteral("Vakuro"));
        QVERIFY(QFile::exists(vakTmp()));
        const QLabel* preview = window->findChild<QLabel*>(QStringLiteral("Image1"));
        QCOMPARE(preview->size(), bmpSize(vakTmp()));
        QVERIFY(!window->findChild<QScrollBar*>(QStringLiteral("HScroll1"))->isVisible());
        QVERIFY(!window->findChild<QScrollBar*>(QStringLiteral("VScroll1"))->isVisible());
        // No stored face: the Mincho stand-in is selected, by its Japanese name.
        QCOMPARE(window->fontList()->currentText(), QStringLiteral("IPA明朝"));
    }

    void typingAndPickingAFontRedraws() {
        QLineEdit* text = window->textBox();
        text->clear();
        QTest::keyClicks(text, QStringLiteral("A"));
        QFile::remove(vakTmp());
        QComboBox* fonts = window->fontList();
        const int gothic = fonts->findText(QStringLiteral("IPAゴシック"));
        QVERIFY(gothic >= 0);
        fonts->setCurrentIndex(gothic);
        emit fonts->activated(gothic);
        QVERIFY(QFile::exists(vakTmp()));
        const QByteArray stored = toCp932(QStringLiteral("IPAゴシック")).value();
        QCOMPARE(QByteArray(app->state->style.FontName, stored.size()), stored);
        QCOMPARE(app->state->style.FontName[stored.size()], '\0');
    }

    void emptyTextDrawsNothing() {
        window->textBox()->clear();
        QFile::remove(vakTmp());
        window->Draw();
        QVERIFY(!QFile::exists(vakTmp()));
    }

    void widePreviewShowsBothScrollBars() {
        window->textBox()->setText(QStringLiteral("横に長い長い長い長い文字列の見本です"));
        window->Draw();
        const QSize picture = bmpSize(vakTmp());
        QVERIFY(picture.width() > 746);
        auto* h = window->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
        auto* v = window->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
        QVERIFY(h->isVisible());
        QVERIFY(v->isVisible());
        QCOMPARE(h->maximum(), picture.width() - 746);
        QCOMPARE(v->maximum(), 0);
        h->setValue(40);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Image1"))->x(), -40);
    }

    void bothLayouts() {
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 12120);
        QCOMPARE(window->property("layoutHeightTwips").toInt(), 5565);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
        app->state->style.Vertical = 1;
        window->textBox()->setText(QStringLiteral("縦"));
        window->Draw();
        app->state->tateYoko(1);
        QVERIFY(!window->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 6500);
        // A preview shorter than 5500 twips gives a window 5500 + 2400 high.
        QVERIFY(bmpSize(vakTmp()).height() * 15 < 5500);
        QCOMPARE(window->property("layoutHeightTwips").toInt(), 7900);
        app->state->style.Vertical = 0;
        app->state->tateYoko(0);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
        QCOMPARE(window->property("layoutWidthTwips").toInt(), 12120);
        QCOMPARE(window->property("layoutHeightTwips").toInt(), 5565);
    }

    void maintainerCodeTypedAnywhere() {
        auto* templateButton = window->findChild<QPushButton*>(QStringLiteral("Command3"));
        QTest::keyClicks(window->textBox(), QStringLiteral("qk417x"));
        QVERIFY(!app->state->maintainerMode);
        QTest::keyClicks(window->textBox(), QStringLiteral("xqk4172"));
        QVERIFY(app->state->maintainerMode);
        QVERIFY(templateButton->isVisible());
        QVERIFY(window->findChild<QAction*>(QStringLiteral("M_SaveSet"))->isVisible());
        window->Draw();
        bool isNumber = false;
        window->windowTitle().toDouble(&isNumber);
        QVERIFY2(isNumber, qPrintable(window->windowTitle()));
    }

    void japaneseOnlyFontList() {
        app->state->options.japaneseFontsOnly = 1;
        window->RefreshFontList();
        QComboBox* fonts = window->fontList();
        QVERIFY(fonts->findText(QStringLiteral("IPAゴシック")) >= 0);
        // A face without Japanese must be installed for the filter to have
        // something to leave out (scripts/setup installs fonts-dejavu-core).
        QVERIFY2(QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")),
                 "DejaVu Sans is not installed: run scripts/setup");
        QCOMPARE(fonts->findText(QStringLiteral("DejaVu Sans")), -1);
        QCOMPARE(fonts->currentText(), QStringLiteral("IPA明朝"));  // the selection is kept
    }

    // The list holds faces only, by their Japanese names where they have
    // one, and a style storing either family name selects the same entry.
    void fontListNamesAndEitherStoredName_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("English name") << QStringLiteral("IPAGothic");
        QTest::newRow("Japanese name") << QStringLiteral("IPAゴシック");
    }
    void fontListNamesAndEitherStoredName() {
        QFETCH(QString, stored);
        QComboBox* fonts = window->fontList();
        for (const char* alias : {"Sans Serif", "Serif", "Monospace"})
            QCOMPARE(fonts->findText(QString::fromLatin1(alias), Qt::MatchFixedString), -1);
        QCOMPARE(fonts->findText(QStringLiteral("IPAGothic")), -1);
        window.reset();
        storeFontName(app->state->style, stored, true);
        window = std::make_unique<MainWindow>(*app->state);
        window->open();
        QCOMPARE(window->fontList()->currentText(), QStringLiteral("IPAゴシック"));
    }

    void unencodableCharactersAreReported() {
        window->textBox()->setText(QStringLiteral("A\U0001F600B"));
        window->Draw();
        const QString status = window->findChild<QLabel*>(QStringLiteral("Label3"))->text();
        QVERIFY2(status.contains(QStringLiteral("\U0001F600")), qPrintable(status));
        QVERIFY(QFile::exists(vakTmp()));
        window->textBox()->setText(QStringLiteral("AB"));
        window->Draw();
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("Label3"))->text().isEmpty());
    }

    void styleMenusOpenTheirDialogsBesideTheWindow() {
        for (const char* item : {"M_Color", "M_Effect", "M_Spacing"}) {
            window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
        }
        QCoreApplication::processEvents();
        QVERIFY(app->state->openDialogs.colour);
        QVERIFY(app->state->openDialogs.effects);
        QVERIFY(app->state->openDialogs.spacing);
        for (const char* name : {"Form010", "Form020", "Form025"}) {
            QWidget* dialog = window->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(dialog && dialog->isVisible() && !dialog->isModal(), name);
        }
        // A second choice raises the open dialog instead of opening another.
        window->findChild<QAction*>(QStringLiteral("M_Color"))->trigger();
        QCOMPARE(window->findChildren<QWidget*>(QStringLiteral("Form010")).size(), 1);
    }

    void versionMenuOpensTheVersionDialog() {
        QAction* item = window->findChild<QAction*>(QStringLiteral("M_Version"));
        QVERIFY(item->isEnabled());
        QString opened;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = dialog->objectName();
                dialog->accept();
            }
        });
        item->trigger();
        QCOMPARE(opened, QStringLiteral("VersionDialog"));
    }

    void closingStoresPositionStyleAndText() {
        window->textBox()->setText(QStringLiteral("  前後に空白  "));
        window->move(120, 90);
        window->close();
        const QString ini = SettingsPath();
        QCOMPARE(IniRead(ini, QStringLiteral("Setting"), QStringLiteral("Text"), QString()),
                 QStringLiteral("  前後に空白  "));
        // (120, 90) pixels at 15 twips a pixel.
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F100_LEFT"), -1), 1800);
        QCOMPARE(IniReadInt(ini, QStringLiteral("Window"), QStringLiteral("F100_TOP"), -1), 1350);
        PavrexStyle stored{};
        QCOMPARE(readStyleData(StyleDataPath(), stored), StyleDataStatus::Read);
        QVERIFY(hasStyleSignature(stored));
        QCOMPARE(stored.FormatVersion, 100);
    }

private:
    std::unique_ptr<AppFixture> app;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
