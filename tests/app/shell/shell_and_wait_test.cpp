#include "shared_routines.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace vakuro {
namespace {

// A window that counts its repaints.
class CountingWindow : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

const QString kShell = QStringLiteral("/bin/sh");

// Shows the window and lets the platform expose it, so that it can paint.
void showExposed(QWidget& window) {
    window.resize(50, 50);
    window.show();
    const std::int64_t end = TickCount64() + 2000;
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && TickCount64() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.windowHandle() && window.windowHandle()->isExposed());
}

TEST(ShellAndWait, DoesNothingWithoutAProgram) {
    const struct {
        const char* name;
        QString program;
        int flags;
    } cases[] = {
        {"empty program", QString(), 0},
        {"missing file with flag 16", QStringLiteral("/nonexistent/program"), ShellMustExist},
        {"program that cannot start", QStringLiteral("/nonexistent/program"), 0},
        {"not a program", QStringLiteral("/"), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ShellAndWait(c.program, QString(), nullptr, 100, c.flags), 0) << c.name;
}

TEST(ShellAndWait, WaitsForTheProcessWhateverItsExitStatus) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString marker = dir.filePath(QStringLiteral("done file"));
    // Quoted arguments keep their blanks; the process has ended on return.
    const QString arguments = QStringLiteral("-c \"sleep 0.2; echo x > \"\"\"$0\"\"\"; exit 3\" \"%1\"").arg(marker);
    const std::int64_t start = TickCount64();
    EXPECT_EQ(ShellAndWait(kShell, arguments, nullptr, 0, ShellMustExist), 1);
    EXPECT_GE(TickCount64() - start, 200);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

TEST(ShellAndWait, ArgumentListIsPassedAsIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString marker = dir.filePath(QStringLiteral("it's \"here\""));
    const QStringList arguments = {QStringLiteral("-c"), QStringLiteral("echo x > \"$0\""), marker};
    EXPECT_EQ(ShellAndWait(kShell, arguments, nullptr, 50, 0), 1);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

TEST(ShellAndWait, RepaintsTheWindowBetweenWaits) {
    CountingWindow window;
    showExposed(window);
    const int before = window.paints;
    EXPECT_EQ(ShellAndWait(kShell, QStringLiteral("-c \"sleep 0.3\""), &window, 0, ShellRepaint), 1);
    EXPECT_GT(window.paints - before, 5);
    EXPECT_TRUE(window.isVisible());
}

TEST(ShellAndWait, SleepsBetweenWaits) {
    CountingWindow window;
    showExposed(window);
    const int before = window.paints;
    EXPECT_EQ(ShellAndWait(kShell, QStringLiteral("-c \"sleep 0.35\""), &window, 10, ShellSleep | ShellRepaint), 1);
    // Each round waits 10 ms and sleeps 100 ms: a handful of repaints only.
    EXPECT_GE(window.paints - before, 1);
    EXPECT_LE(window.paints - before, 5);
}

TEST(ShellAndWait, HidesTheWindowAndLeavesItHidden) {
    QWidget window;
    window.show();
    EXPECT_EQ(ShellAndWait(kShell, QStringLiteral("-c true"), &window, 50, ShellHideWindow | ShellFocus), 1);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vakuro
