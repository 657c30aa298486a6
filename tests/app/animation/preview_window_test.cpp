// The preview window: frames in a loop at their own delays with the
// counter "index/count", stepped by a wait function instead of the clock;
// its size from the output size; closing stops the loop.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "animation_fixture.h"
#include "animation_preview_window.h"
#include "frame_table.h"
#include "settings_store.h"
#include "window_position.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

// A frame table of plain pictures of the given colours and delays.
void fill(AnimationFixture& f, FrameTable& table, const QList<QRgb>& colours, const QList<int>& delays) {
    for (int i = 0; i < colours.size(); ++i) {
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(colours[i]);
        const QString path = f.out(QStringLiteral("f%1.bmp").arg(i));
        QVERIFY(image.save(path, "BMP"));
        QCOMPARE(table.append(QFile::encodeName(path), delays[i]), FrameTable::Append::Added);
    }
    QVERIFY(table.finish());
}

struct Step {
    int ms;
    QString counter;
    QRgb shown;
};

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void playsEveryFrameAtItsDelayInALoop() {
        AnimationFixture f;
        FrameTable table(f.libraries.imageFormat, 0);
        const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
        fill(f, table, colours, {5, 0, 12});
        AnimationPreviewWindow w(*f.state, table.records(), QSize(8, 4), nullptr);
        QList<Step> steps;
        w.setWaitFunction([&](int ms) {
            steps.append({ms, w.counterLabel()->text(), w.shownFrame().pixel(3, 2)});
            if (steps.size() == 7) QTest::mouseClick(w.closeButton(), Qt::LeftButton);
        });
        QCOMPARE(w.windowTitle(), QStringLiteral("プレビュー"));
        w.exec();
        QCOMPARE(steps.size(), 7);
        // Delays in hundredths of a second, waited in milliseconds; a delay
        // of 0 still waits 10 ms.
        const int waits[7] = {50, 10, 120, 50, 10, 120, 50};
        const char* counters[7] = {"      0/3", "      1/3", "      2/3", "      0/3", "      1/3", "      2/3",
                                   "      0/3"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(steps[i].ms, waits[i]);
            QCOMPARE(steps[i].counter, QString::fromLatin1(counters[i]));
            QCOMPARE(steps[i].shown, colours[i % 3]);
        }
        QVERIFY(w.stopped());
        // Closing stored the position.
        QVERIFY(IniReadValue(f.state->settingsPath(), QStringLiteral("Window"), QStringLiteral("F071_TOP")).has_value());
        QVERIFY(IniReadValue(f.state->settingsPath(), QStringLiteral("Window"), QStringLiteral("F071_LEFT")).has_value());
    }

    void oneFrameRedrawsItself() {
        AnimationFixture f;
        FrameTable table(f.libraries.imageFormat, 1);
        fill(f, table, {qRgb(10, 20, 30)}, {7});
        AnimationPreviewWindow w(*f.state, table.records(), QSize(8, 4), nullptr);
        // The wait only records: whatever it sees, the window closes after
        // three frames, so a fault cannot keep the loop running.
        QStringList counters;
        QList<int> waits;
        w.setWaitFunction([&](int ms) {
            waits << ms;
            counters << w.counterLabel()->text().trimmed();
            if (counters.size() == 3) w.close();
        });
        w.exec();
        QCOMPARE(waits, (QList<int>{70, 70, 70}));
        QCOMPARE(counters, (QStringList{"0/1", "0/1", "0/1"}));
        QCOMPARE(w.frameIndex(), 0);
    }

    void sizeFollowsTheOutputSize() {
        AnimationFixture f;
        FrameTable table(f.libraries.imageFormat, 0);
        fill(f, table, {qRgb(0, 0, 0)}, {10});
        {
            // 8 x 4: the picture is 8 + 4 by 4 + 4 pixels; the window keeps
            // its design width, 5400 twips, and is 720 + 120 + 600 twips high.
            AnimationPreviewWindow w(*f.state, table.records(), QSize(8, 4), nullptr);
            QCOMPARE(w.picture()->size(), QSize(12, 8));
            QCOMPARE(w.size(), QSize(360, 96));
        }
        {
            // 400 x 20: the picture is 6060 twips wide, more than 5000: the
            // window is 120 + 6060 + 300 = 6480 twips wide, the button at
            // 6480 - 1590 twips.
            AnimationPreviewWindow w(*f.state, table.records(), QSize(400, 20), nullptr);
            QCOMPARE(w.picture()->width(), 404);
            QCOMPARE(w.width(), 432);
            QCOMPARE(w.closeButton()->x(), 326);
        }
    }

    void counterKeepsNineCharacters() {
        QCOMPARE(AnimationPreviewWindow::counterText(0, 20), QStringLiteral("     0/20"));
        QCOMPARE(AnimationPreviewWindow::counterText(999, 1000), QStringLiteral(" 999/1000"));
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
