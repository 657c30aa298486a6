#include "window_theme.h"

#include "settings_store.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vakuro {
namespace {

inline void PrintTo(const QColor& c, std::ostream* os) { *os << "RGB(" << c.red() << ", " << c.green() << ", " << c.blue() << ")"; }

const QColor kFace(212, 208, 200);

TEST(WindowTheme, BaseColours) {
    const struct {
        const char* name;
        int backPaint;
        QColor base;
    } cases[] = {
        {"868: scheme 3, level 100", 868, QColor(80, 100, 140)},
        {"scheme 0", 100, QColor(100, 100, 100)},
        {"scheme 1", 256 + 100, QColor(140, 100, 100)},
        {"scheme 2", 512 + 100, QColor(100, 140, 100)},
        {"scheme 4", 1024 + 100, QColor(135, 135, 100)},
        {"scheme 5", 1280 + 100, QColor(100, 90, 140)},
        {"unknown scheme 6", 1536 + 100, QColor(100, 100, 100)},
        {"scheme 3 at level 10: red offset dropped", 768 + 10, QColor(10, 10, 50)},
        {"scheme 3 at level 20: red offset kept", 768 + 20, QColor(0, 20, 60)},
        {"scheme 5 at level 5: green clamped", 1280 + 5, QColor(5, 0, 45)},
        {"scheme 1 at level 250: red clamped", 256 + 250, QColor(255, 250, 250)},
        {"level 0: button face", 768, kFace},
        {"0", 0, kFace},
        {"negative counts as 0", -5, kFace},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ThemeColours colours = ComputeThemeColours(c.backPaint, kFace);
        EXPECT_EQ(colours.base, c.base);
        EXPECT_EQ(colours.bands, c.base != kFace);
    }
    EXPECT_EQ(ThemeBaseColour(868), QColor(80, 100, 140));
    EXPECT_EQ(ThemeBaseColour(0), QApplication::palette().color(QPalette::Active, QPalette::Button));
}

TEST(WindowTheme, Bands) {
    const ThemeColours c = ComputeThemeColours(868, kFace);
    const struct {
        const char* name;
        QColor actual, expected;
    } cases[] = {
        {"top edge: level - 33", c.top[0], QColor(47, 67, 107)},
        {"top line 1: level - 32", c.top[1], QColor(48, 68, 108)},
        {"top line 33: level", c.top[33], QColor(80, 100, 140)},
        {"bottom line 0: level", c.bottom[0], QColor(80, 100, 140)},
        {"bottom line 10: level - 10", c.bottom[10], QColor(70, 90, 130)},
        {"bottom edge: level - 33", c.bottom[33], QColor(47, 67, 107)},
    };
    for (const auto& k : cases) EXPECT_EQ(k.actual, k.expected) << k.name;
    // Dark levels: the channels stop at 0.
    const ThemeColours dark = ComputeThemeColours(768 + 20, kFace);
    EXPECT_EQ(dark.top[0], QColor(0, 0, 27));
    EXPECT_EQ(dark.bottom[33], QColor(0, 0, 27));
}

TEST(WindowTheme, BottomBandPlacement) {
    EXPECT_EQ(ThemeBottomBandTop(400, false), 341);  // 400 - 890/15 rounded
    EXPECT_EQ(ThemeBottomBandTop(400, true), 321);   // 300 twips (20 pixels) higher
}

class WindowThemePaint : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString ini() const { return dir_.filePath(QStringLiteral("Vakuro.ini")); }
    void setBackPaint(int value) { IniWriteInt(ini(), QStringLiteral("Setting"), QStringLiteral("BackPaint"), value); }
    static QColor pixel(QWidget& w, int x, int y) { return w.grab().toImage().pixelColor(x, y); }
    static int painters(QWidget& w) {
        return static_cast<int>(w.findChildren<QObject*>(QStringLiteral("vakuroWindowThemePainter")).size());
    }
    QTemporaryDir dir_;
};

TEST_F(WindowThemePaint, PaintsBandsThatSurviveRepaints) {
    setBackPaint(868);
    const ThemeColours c = ComputeThemeColours(868, kFace);
    QWidget window;
    window.setObjectName(QStringLiteral("Form030"));
    window.resize(200, 150);
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(80, 100, 140));
    const int bottom = ThemeBottomBandTop(150, false);
    ASSERT_EQ(bottom, 91);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const QImage image = window.grab().toImage();
        EXPECT_EQ(image.pixelColor(10, 0), c.top[0]);
        EXPECT_EQ(image.pixelColor(199, 20), c.top[20]);
        EXPECT_EQ(image.pixelColor(10, 33), c.top[33]);
        EXPECT_EQ(image.pixelColor(10, 60), c.base);
        EXPECT_EQ(image.pixelColor(10, bottom), c.bottom[0]);
        EXPECT_EQ(image.pixelColor(10, bottom + 33), c.bottom[33]);
        EXPECT_EQ(image.pixelColor(10, bottom + 34), c.base);
        window.repaint();
    }
}

TEST_F(WindowThemePaint, MainWindowBottomBandIsHigher) {
    setBackPaint(868);
    const ThemeColours c = ComputeThemeColours(868, kFace);
    QWidget window;
    window.setObjectName(QStringLiteral("Form100"));
    window.resize(200, 150);
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(pixel(window, 10, 150 - 79 + 33), c.bottom[33]);
    QWidget flagged;
    flagged.resize(200, 150);
    PaintWindowBackground(&flagged, ini(), true);
    EXPECT_EQ(pixel(flagged, 10, 150 - 79 + 33), c.bottom[33]);
}

TEST_F(WindowThemePaint, ApplyingAgainReplacesTheTheme) {
    QWidget window;
    window.resize(100, 100);
    setBackPaint(868);
    PaintWindowBackground(&window, ini());
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(painters(window), 1);
    setBackPaint(0);
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(painters(window), 0);
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(window.palette().color(QPalette::Window), face);
    EXPECT_EQ(pixel(window, 10, 0), face);
}

TEST_F(WindowThemePaint, ChildControlsByName) {
    setBackPaint(868);
    const QColor base(80, 100, 140);
    QWidget window;
    auto make = [&](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    auto* frame = make(new QGroupBox(&window), "Frame1");
    auto* option = make(new QRadioButton(frame), "Option2");  // inside a frame
    auto* check = make(new QCheckBox(&window), "Check1");
    auto* label = make(new QLabel(&window), "Label1");
    auto* tagged = make(new QLabel(&window), "Label2");
    auto* other = make(new QLabel(&window), "label3");
    auto* button = make(new QPushButton(&window), "Command1");
    auto* dialog = make(new QDialog(&window), "Frame9");  // a window of its own
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(tagged), static_cast<QWidget*>(other)})
        w->setAutoFillBackground(true);
    tagged->setProperty("tag", QStringLiteral("keep"));

    PaintWindowBackground(&window, ini());

    for (QWidget* w : {static_cast<QWidget*>(frame), static_cast<QWidget*>(option), static_cast<QWidget*>(check)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->palette().color(QPalette::Window), base);
        EXPECT_TRUE(w->autoFillBackground());
    }
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_TRUE(tagged->autoFillBackground());
    EXPECT_TRUE(other->autoFillBackground());
    EXPECT_FALSE(button->autoFillBackground());
    EXPECT_FALSE(dialog->autoFillBackground());
    EXPECT_NE(dialog->palette().color(QPalette::Window), base);
}

TEST_F(WindowThemePaint, TextStandsOutFromTheBackground) {
    QWidget window;
    auto* check = new QCheckBox(&window);
    check->setObjectName(QStringLiteral("Check1"));
    const struct {
        int backPaint;
        QColor text;
    } cases[] = {
        {868, Qt::white},          // RGB(80, 100, 140): dark
        {100, Qt::white},          // grey 100
        {140, Qt::black},          // grey 140
        {1024 + 160, Qt::black},   // Gold at 160: RGB(195, 195, 160)
        {512 + 100, Qt::black},    // Green at 100: RGB(100, 140, 100), light enough
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backPaint);
        setBackPaint(c.backPaint);
        PaintWindowBackground(&window, ini());
        EXPECT_EQ(window.palette().color(QPalette::Active, QPalette::WindowText), c.text);
        EXPECT_EQ(check->palette().color(QPalette::Active, QPalette::WindowText), c.text);
        // Disabled text lies half-way to the background.
        EXPECT_NE(window.palette().color(QPalette::Disabled, QPalette::WindowText), c.text);
    }
    setBackPaint(0);
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(window.palette().color(QPalette::Active, QPalette::WindowText),
              QApplication::palette().color(QPalette::Active, QPalette::WindowText));
}

TEST_F(WindowThemePaint, MainWindowBandStartsBelowThePlainMenuBar) {
    setBackPaint(868);
    const ThemeColours c = ComputeThemeColours(868, kFace);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    window.setCentralWidget(new QWidget);
    window.resize(300, 200);
    window.show();
    PaintWindowBackground(&window, ini());
    const int menuBottom = window.menuBar()->geometry().bottom() + 1;
    ASSERT_GT(menuBottom, 0);
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(150, menuBottom), c.top[0]);
    EXPECT_EQ(image.pixelColor(150, menuBottom + 33), c.top[33]);
    EXPECT_EQ(window.menuBar()->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Active, QPalette::Window));
}

TEST_F(WindowThemePaint, EndsWithTheButtonPainter) {
    setBackPaint(868);
    QWidget window;
    QWidget* seenWindow = nullptr;
    QString seenPath;
    QColor backgroundWhenCalled;
    SetWindowButtonPainter([&](QWidget* w, const QString& path) {
        seenWindow = w;
        seenPath = path;
        backgroundWhenCalled = w->palette().color(QPalette::Window);
    });
    PaintWindowBackground(&window, ini());
    SetWindowButtonPainter({});
    EXPECT_EQ(seenWindow, &window);
    EXPECT_EQ(seenPath, ini());
    EXPECT_EQ(backgroundWhenCalled, QColor(80, 100, 140));
    seenWindow = nullptr;
    PaintWindowBackground(&window, ini());
    EXPECT_EQ(seenWindow, nullptr);
}

}  // namespace
}  // namespace vakuro
