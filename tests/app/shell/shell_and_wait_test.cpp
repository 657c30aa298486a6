#include "shared_routines.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>

namespace vakuro {
namespace {

// A window that counts its repaints, and logs them as 'r'. After `release`
// repaints (when set) it creates the marker file that a waiting child
// process polls for, so the process ends after a number of rounds that
// does not depend on the machine's speed.
std::string eventLog;

class CountingWindow : public QWidget {
public:
    int paints = 0;
    int release = 0;
    QString marker;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        eventLog += 'r';
        if (release > 0 && paints == release) QFile(marker).open(QIODevice::WriteOnly);
    }
};

// Logs a pause as 'p' (only the 100 ms pause is expected), without sleeping.
void countingPause(int milliseconds) { eventLog += milliseconds == 100 ? 'p' : '?'; }

// Arguments for /bin/sh: wait until the marker file exists. The loop ends by
// itself after about 60 s so that a broken ShellAndWait fails the test
// instead of hanging it.
QStringList waitForMarker(const QString& marker) {
    return {QStringLiteral("-c"),
            QStringLiteral("i=0; while [ ! -e \"$0\" ] && [ $i -lt 6000 ]; do sleep 0.01; i=$((i+1)); done"),
            marker};
}

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
    // Every wait that times out is followed by one repaint; the process
    // ends once the window has been repainted five times, so ShellAndWait
    // returns only after at least five rounds, and without pauses.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CountingWindow window;
    showExposed(window);
    window.marker = dir.filePath(QStringLiteral("released"));
    window.release = window.paints + 5;
    eventLog.clear();
    SetShellPause(countingPause);
    EXPECT_EQ(ShellAndWait(kShell, waitForMarker(window.marker), &window, 0, ShellRepaint), 1);
    SetShellPause(nullptr);
    EXPECT_TRUE(QFileInfo::exists(window.marker));
    EXPECT_GE(eventLog.size(), 5u);
    EXPECT_EQ(eventLog, std::string(eventLog.size(), 'r'));
    EXPECT_TRUE(window.isVisible());
}

TEST(ShellAndWait, SleepsBetweenWaits) {
    // With ShellSleep each round pauses 100 ms before its repaint: the
    // log alternates pause, repaint. Without ShellRepaint nothing is
    // repainted; the pauses alone are counted until the marker appears.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CountingWindow window;
    showExposed(window);
    window.marker = dir.filePath(QStringLiteral("released"));
    window.release = window.paints + 3;
    eventLog.clear();
    SetShellPause(countingPause);
    EXPECT_EQ(ShellAndWait(kShell, waitForMarker(window.marker), &window, 10, ShellSleep | ShellRepaint), 1);
    EXPECT_TRUE(QFileInfo::exists(window.marker));
    ASSERT_GE(eventLog.size(), 6u);
    for (size_t i = 0; i < eventLog.size(); ++i) EXPECT_EQ(eventLog[i], i % 2 == 0 ? 'p' : 'r') << i;

    // A pause alone, no repaint: a child that ends by itself.
    eventLog.clear();
    EXPECT_EQ(ShellAndWait(kShell, QStringList{QStringLiteral("-c"), QStringLiteral("sleep 0.05")}, &window, 10,
                           ShellSleep),
              1);
    SetShellPause(nullptr);
    EXPECT_FALSE(eventLog.empty());
    EXPECT_EQ(eventLog, std::string(eventLog.size(), 'p'));
}

TEST(ShellAndWait, HidesTheWindowAndLeavesItHidden) {
    QWidget window;
    window.show();
    EXPECT_EQ(ShellAndWait(kShell, QStringLiteral("-c true"), &window, 50, ShellHideWindow | ShellFocus), 1);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vakuro
