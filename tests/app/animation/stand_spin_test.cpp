// Stand-up and spin: single frames at hand-computed levels on small
// pictures, read back from the work file.
#include <QtTest>

#include "generator_fixture.h"
#include "generators/generators.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

// Every pixel of a different colour, so that any shift shows.
QImage gradientPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(40 + 5 * x, 2 * y, 90 + (x * y) % 100));
    return image;
}

bool allOf(const QImage& picture, QRgb colour) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != colour) return false;
    return true;
}

// The darkening of Fead mode 1: level * p / 255 per channel.
QRgb darkened(QRgb p, int level) {
    return qRgb(qRed(p) * level / 255, qGreen(p) * level / 255, qBlue(p) * level / 255);
}

}  // namespace

class StandSpinTest : public QObject {
    Q_OBJECT
private slots:
    void standAtLevel0IsPlainBackground() {
        for (const int type : {0, 1}) {
            GeneratorFixture g(gradientPicture(30, 100));
            QVERIFY(standFrame(g.ctx, 0, 5, type));
            const QImage frame = g.work();
            QCOMPARE(frame.size(), QSize(30, 100));
            QVERIFY(allOf(frame, g.back()));
        }
    }

    void standAtLevel255IsTheWholePicture() {
        // Type 1: height round(sin(255 / 256 * pi / 2) * 100) = 100, the
        // base squeezed to its own size, which changes nothing.
        const QImage base = gradientPicture(30, 100);
        GeneratorFixture g(base);
        QVERIFY(standFrame(g.ctx, 255, 0, 0));
        QCOMPARE(g.work(), base);
    }

    void standType2OvershootsAt192() {
        // Height round(100 * 2 / sqrt 3) = 115: the top 15 rows of the
        // squeezed picture fall outside. Red above blue, squeezed with 2 x 2
        // samples: rows 0 .. 56 from the bottom blue, 57 mixed, 58 .. 114
        // red; shown from row 15 of the top, so the frame has 42 red rows,
        // one mixed and 57 blue, and no background at its top.
        QImage base = plainPicture(20, 100, qRgb(0, 0, 255));
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 20; ++x) base.setPixel(x, y, qRgb(255, 0, 0));
        GeneratorFixture g(base);
        QVERIFY(standFrame(g.ctx, 192, 0, 1));
        const QImage frame = g.work();
        for (int x : {0, 19}) {
            QCOMPARE(rowsOf(frame, x, qRgb(255, 0, 0)).size(), size_t(42));
            QCOMPARE(rowsOf(frame, x, qRgb(255, 0, 0)).front(), 0);
            QCOMPARE(frame.pixel(x, 42), qRgb(127, 0, 127));
            QCOMPARE(rowsOf(frame, x, qRgb(0, 0, 255)).size(), size_t(57));
        }
    }

    void standPerspectiveNarrowsTheTop() {
        // 100 x 50 at level 128: height round(sin(pi / 4) * 50) = 35, so the
        // picture starts at row 15; k = round(cos(pi / 4) * 50 * 11 * 0.04)
        // = 16: its top row loses 16 columns on each side, its bottom row
        // none (round(1 * 16 / 35) = 0).
        GeneratorFixture g(plainPicture(100, 50, qRgb(200, 0, 0)));
        QVERIFY(standFrame(g.ctx, 128, 10, 0));
        const QImage frame = g.work();
        QCOMPARE(frame.pixel(50, 14), g.back());
        QCOMPARE(frame.pixel(15, 15), g.back());
        QCOMPARE(frame.pixel(16, 15), qRgb(200, 0, 0));
        QCOMPARE(frame.pixel(83, 15), qRgb(200, 0, 0));
        QCOMPARE(frame.pixel(84, 15), g.back());
        QCOMPARE(frame.pixel(0, 49), qRgb(200, 0, 0));
        QCOMPARE(frame.pixel(99, 49), qRgb(200, 0, 0));
    }

    void spinAt64IsEmpty() {
        GeneratorFixture g(gradientPicture(40, 20));
        QVERIFY(spinFrame(g.ctx, 64, 0, 5));
        QVERIFY(allOf(g.work(), g.back()));
    }

    void spinAt128IsMirroredAndDarkenedByTheBackBrightness() {
        // Width round(cos(pi) * 40) = -40: the whole picture mirrored. The
        // lowest back brightness (stored 0) darkens it with level 25; the
        // background colour stays. The highest (9) leaves it as it is.
        QImage base = gradientPicture(40, 20);
        GeneratorFixture g(base);
        for (int x = 0; x < 5; ++x) base.setPixel(x, 3, g.back());
        g.ctx.writePicture(base, g.ctx.baseFile);
        g.ctx.basePicture = base;
        for (const int brightness : {0, 9}) {
            QVERIFY(spinFrame(g.ctx, 128, brightness, 0));
            const QImage frame = g.work();
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const QRgb source = base.pixel(39 - x, y);
                    const QRgb expected = brightness == 9 || source == g.back() ? source : darkened(source, 25);
                    QCOMPARE(frame.pixel(x, y), expected);
                }
            }
        }
    }

    void spinMakesNFramesEndingUnturned() {
        // l = 1 .. n: at level 255 the width is round(cos(255 / 256 * 2 pi)
        // * 40) = 40, the picture unturned.
        const QImage base = gradientPicture(40, 20);
        GeneratorFixture g(base);
        g.recordFrames();
        ScheduleEntry e = ScheduleEntry::withDefaults(12, 10);
        g.ctx.entry = &e;
        EntryTiming timing;
        timing.n = 9;
        timing.delay = 10;
        generateSpin(g.ctx, timing);
        QCOMPARE(g.frames.size(), size_t(9));
        QCOMPARE(g.frames.back(), base);
    }
};

QTEST_MAIN(StandSpinTest)
#include "stand_spin_test.moc"
