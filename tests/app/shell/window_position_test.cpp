#include "window_position.h"

#include "settings_store.h"
#include "test_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace vakuro {
namespace {

TEST(WindowPosition, TwipConversions) {
    const struct {
        int twips, pixels;
    } cases[] = {{0, 0}, {15, 1}, {1500, 100}, {1507, 100}, {1508, 101}, {-1500, -100}, {7, 0}, {8, 1}, {-8, -1}};
    for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips;
    EXPECT_EQ(PixelsToTwips(100), 1500);
    EXPECT_EQ(PixelsToTwips(-3), -45);
}

TEST(WindowPosition, RestoredPositions) {
    const QRect screen(0, 0, 800, 600);
    const QRect second(800, 0, 1024, 768);
    const QSize frame(200, 100);
    const struct {
        const char* name;
        QRect screen;
        std::optional<int> top, left;
        bool keep;
        QPoint position;
    } cases[] = {
        {"no keys: centred", screen, std::nullopt, std::nullopt, false, {300, 250}},
        {"no keys: centred, kept", screen, std::nullopt, std::nullopt, true, {300, 250}},
        {"centred on a screen to the right", second, std::nullopt, std::nullopt, false, {800 + 412, 334}},
        {"stored", screen, 1500, 3000, false, {200, 100}},
        {"only top stored", screen, 1500, std::nullopt, false, {300, 100}},
        {"beyond the bottom, kept", screen, 9000, 1500, true, {100, 500}},
        {"beyond the right, kept", screen, 1500, 12000, true, {600, 100}},
        {"beyond both, not kept", screen, 9000, 12000, false, {800, 600}},
        {"just fits", screen, 500 * 15, 600 * 15, true, {600, 500}},
        {"negative not corrected", screen, -1500, -750, true, {-50, -100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestoredWindowPosition(c.screen, frame, c.top, c.left, c.keep), c.position) << c.name;
    // A window larger than the screen ends at the screen's edge, above its top.
    EXPECT_EQ(RestoredWindowPosition(screen, QSize(900, 700), 0, 0, true), QPoint(-100, -100));
}

class WindowPositionFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString ini() const { return dir_.filePath(QStringLiteral("Vakuro.ini")); }
    QTemporaryDir dir_;
};

TEST_F(WindowPositionFile, RoundTripWithARealWindow) {
    QWidget stored;
    stored.resize(200, 100);
    stored.move(120, 90);
    StoreWindowPosition(&stored, ini(), QStringLiteral("030"));
    EXPECT_EQ(test::readBytes(ini()), QByteArray("[Window]\r\nF030_TOP=1350\r\nF030_LEFT=1800\r\n"));

    QWidget restored;
    restored.resize(200, 100);
    RestoreWindowPosition(&restored, ini(), QStringLiteral("030"), true);
    EXPECT_EQ(restored.pos(), QPoint(120, 90));
    restored.show();
    EXPECT_EQ(restored.pos(), QPoint(120, 90));

    // Moving and storing again updates the same two lines.
    restored.move(30, 45);
    StoreWindowPosition(&restored, ini(), QStringLiteral("030"));
    EXPECT_EQ(test::readBytes(ini()), QByteArray("[Window]\r\nF030_TOP=675\r\nF030_LEFT=450\r\n"));
}

TEST_F(WindowPositionFile, NegativePositionsAreStoredAsZero) {
    QWidget w;
    w.move(-50, -20);
    StoreWindowPosition(&w, ini(), QStringLiteral("100"));
    EXPECT_EQ(IniReadInt(ini(), QStringLiteral("Window"), QStringLiteral("F100_TOP"), -1), 0);
    EXPECT_EQ(IniReadInt(ini(), QStringLiteral("Window"), QStringLiteral("F100_Left"), -1), 0);
}

TEST_F(WindowPositionFile, MissingKeysCentreOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget w;
    w.resize(200, 100);
    RestoreWindowPosition(&w, ini(), QStringLiteral("050"), true);
    EXPECT_EQ(w.pos(), QPoint(screen.left() + (screen.width() - 200) / 2, screen.top() + (screen.height() - 100) / 2));
}

TEST_F(WindowPositionFile, KeepOnScreenMovesUpAndLeft) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    IniWriteInt(ini(), QStringLiteral("Window"), QStringLiteral("F100_TOP"), (screen.bottom() - 10) * 15);
    IniWriteInt(ini(), QStringLiteral("Window"), QStringLiteral("F100_LEFT"), (screen.right() - 10) * 15);
    QWidget kept;
    kept.resize(200, 100);
    RestoreWindowPosition(&kept, ini(), QStringLiteral("100"), true);
    EXPECT_EQ(kept.pos(), QPoint(screen.left() + screen.width() - 200, screen.top() + screen.height() - 100));
    QWidget free;
    free.resize(200, 100);
    RestoreWindowPosition(&free, ini(), QStringLiteral("100"), false);
    EXPECT_EQ(free.pos(), QPoint(screen.right() - 10, screen.bottom() - 10));
}

}  // namespace
}  // namespace vakuro
