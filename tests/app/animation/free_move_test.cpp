// Free move: the frame computed per pixel against the chain of library
// calls it stands for (HReSize, RotAng, paint, SReSize with 3 x 3 samples),
// the interpolation at its ends, the skipped rotation, transparency, and
// the generator's preparation, positions and weights.
#include <QtTest>

#include "generator_fixture.h"
#include "generators/free_move.h"
#include "generators/generators.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

QImage noisePicture(int w, int h, uint32_t seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgb(int(seed >> 24), int(seed >> 16) & 0xFF, int(seed >> 8) & 0xFF));
        }
    // Some near-white pixels, which the 3 x 3 reduction keeps at 245.
    for (int x = 0; x < w; x += 3) image.setPixel(x, h / 2, qRgb(250, 251, 252));
    return image;
}

// The frame as the chain of library calls makes it through files.
QImage throughFiles(GeneratorFixture& g, const QImage& base, int W4, int H4, const FreeMoveGeometry& geometry) {
    const auto& fx = g.f.libraries.effects;
    const QByteArray baseFile = QFile::encodeName(TempFolder() + QStringLiteral("chainBase.bmp"));
    const QByteArray work = QFile::encodeName(TempFolder() + QStringLiteral("chainWork.bmp"));
    g.ctx.writePicture(base, baseFile);
    if (fx.HReSize(baseFile.constData(), work.constData(), geometry.width, geometry.height) != 1) return QImage();
    int rw = geometry.width, rh = geometry.height;
    if (geometry.angle != 0.0f) {
        const float radians = static_cast<float>(double(geometry.angle) * 3.14159265 / 180);
        if (fx.RotAng(work.constData(), work.constData(), &rw, &rh, radians) != 1) return QImage();
    }
    const QImage turned = readPicture(work);
    QImage canvas = plainPicture(W4, H4, g.back());
    const int x = qRound((W4 - rw) * 0.5 + geometry.offsetX);  // halves do not occur below
    const int y = qRound((H4 - rh) * 0.5 + geometry.offsetY);
    paintStretched(canvas, x, y, rw, rh, turned, 0, 0, rw, rh);
    g.ctx.writePicture(canvas, work);
    if (fx.SReSize(work.constData(), work.constData(), W4 / 4, H4 / 4, 3) != 1) return QImage();
    return readPicture(work);
}

FreeMoveStates statesOf(FreeMoveState start, FreeMoveState end) {
    FreeMoveStates s;
    s.start = start;
    s.end = end;
    return s;
}

}  // namespace

class FreeMoveTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsTheChainOfLibraryCalls() {
        // Odd sizes, sizes above and below 100 %, offsets, and angles of
        // every quadrant; (W4 - rw) is even for these, so no half is rounded.
        const QImage base = noisePicture(13, 7, 7);
        GeneratorFixture g(base);
        const DibPicture dib = DibPicture::of(base);
        const int W4 = 52, H4 = 28;
        struct Case {
            int width, height, offsetX, offsetY;
            float angle;
        };
        const Case cases[] = {
            {52, 28, 0, 0, 0.0f},   {26, 14, 0, 0, 0.0f},  {100, 60, -8, 4, 0.0f}, {20, 10, 30, -12, 0.0f},
            {52, 28, 0, 0, 30.0f},  {40, 20, 4, 2, -90.0f}, {60, 30, -6, 0, 135.5f}, {52, 28, 0, 0, 180.0f},
            {30, 40, 10, 10, -300.0f}, {156, 84, 0, 0, 12.25f},
        };
        int compared = 0;
        for (const Case& c : cases) {
            FreeMoveGeometry geometry;
            geometry.width = c.width;
            geometry.height = c.height;
            geometry.offsetX = c.offsetX;
            geometry.offsetY = c.offsetY;
            geometry.angle = c.angle;
            const QImage expected = throughFiles(g, base, W4, H4, geometry);
            QVERIFY(!expected.isNull());
            int rw = c.width, rh = c.height;
            if (c.angle != 0.0f) {
                // Only compare where the chain's rounding of a half pixel
                // cannot differ from ours.
                const QByteArray probe = QFile::encodeName(TempFolder() + QStringLiteral("probe.bmp"));
                g.ctx.writePicture(plainPicture(c.width, c.height, qRgb(0, 0, 0)), probe);
                g.f.libraries.effects.RotAng(probe.constData(), probe.constData(), &rw, &rh,
                                             float(double(c.angle) * 3.14159265 / 180));
            }
            if ((W4 - rw) % 2 != 0 || (H4 - rh) % 2 != 0) continue;
            ++compared;
            QCOMPARE(freeMoveReduced(dib, W4, H4, geometry, g.f.state->style.BackColor).toImage(), expected);
        }
        QVERIFY(compared >= 7);
    }

    void theEndsAreExactlyTheStartAndEndStates() {
        FreeMoveState start{-20, 10, 50, 70, 45, 0};
        FreeMoveState end{30, -40, 200, 120, -90, 0};
        const FreeMoveStates states = statesOf(start, end);
        // W4 x H4 = 400 x 100.
        const FreeMoveGeometry a = freeMoveGeometry(states, 0, 400, 100);
        QCOMPARE(a.width, 200);
        QCOMPARE(a.height, 70);
        QCOMPARE(a.offsetX, -80);
        QCOMPARE(a.offsetY, 10);
        QCOMPARE(a.angle, 45.0f);
        const FreeMoveGeometry b = freeMoveGeometry(states, 1024, 400, 100);
        QCOMPARE(b.width, 800);
        QCOMPARE(b.height, 120);
        QCOMPARE(b.offsetX, 120);
        QCOMPARE(b.offsetY, -40);
        QCOMPARE(b.angle, -90.0f);
        // Half-way: size (50 + 200) / 2 % of 400 = 500, angle -22.5.
        const FreeMoveGeometry m = freeMoveGeometry(states, 512, 400, 100);
        QCOMPARE(m.width, 500);
        QCOMPARE(m.angle, -22.5f);
        // And the frames: the ends equal entries that stand still.
        const QImage base = noisePicture(100, 25, 3);
        GeneratorFixture g(base);
        const DibPicture dib = DibPicture::of(base);
        const int back = g.f.state->style.BackColor;
        QCOMPARE(freeMoveReduced(dib, 400, 100, a, back).bits,
                 freeMoveReduced(dib, 400, 100, freeMoveGeometry(statesOf(start, start), 700, 400, 100), back).bits);
        QCOMPARE(freeMoveReduced(dib, 400, 100, b, back).bits,
                 freeMoveReduced(dib, 400, 100, freeMoveGeometry(statesOf(end, end), 300, 400, 100), back).bits);
    }

    void unmovedFramesAreTheBaseWithNearWhiteKeptAt245() {
        // 100 % at the centre: every frame pixel averages 9 samples of one
        // base pixel; near-white becomes 245.
        const QImage base = noisePicture(21, 9, 11);
        GeneratorFixture g(base);
        const FreeMoveStates still = statesOf({0, 0, 100, 100, 0, 0}, {0, 0, 100, 100, 0, 0});
        const QImage frame =
            freeMoveReduced(DibPicture::of(base), 84, 36, freeMoveGeometry(still, 512, 84, 36), 0).toImage();
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 21; ++x) {
                const QRgb p = base.pixel(x, y);
                const bool white = qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245;
                QCOMPARE(frame.pixel(x, y), white ? qRgb(245, 245, 245) : p);
            }
    }

    void anAngleThatInterpolatesToZeroSkipsTheRotation() {
        // -10 to 10 degrees: exactly 0 at v = 512, so the frame equals the
        // unturned one. Elsewhere it is turned.
        const QImage base = noisePicture(25, 11, 5);
        GeneratorFixture g(base);
        const DibPicture dib = DibPicture::of(base);
        const FreeMoveStates turning = statesOf({0, 0, 90, 90, -10, 0}, {0, 0, 90, 90, 10, 0});
        const FreeMoveStates flat = statesOf({0, 0, 90, 90, 0, 0}, {0, 0, 90, 90, 0, 0});
        QCOMPARE(freeMoveGeometry(turning, 512, 100, 44).angle, 0.0f);
        QCOMPARE(freeMoveReduced(dib, 100, 44, freeMoveGeometry(turning, 512, 100, 44), 0).bits,
                 freeMoveReduced(dib, 100, 44, freeMoveGeometry(flat, 512, 100, 44), 0).bits);
        QVERIFY(freeMoveReduced(dib, 100, 44, freeMoveGeometry(turning, 400, 100, 44), 0).bits !=
                freeMoveReduced(dib, 100, 44, freeMoveGeometry(flat, 400, 100, 44), 0).bits);
    }

    void fullTransparencyGivesAPlainFrameAndTheTextFadesIn() {
        const QImage base = noisePicture(30, 10, 9);
        GeneratorFixture g(base);
        const DibPicture dib = DibPicture::of(base);
        const FreeMoveStates states = statesOf({0, 0, 100, 100, 0, 100}, {0, 0, 100, 100, 0, 0});
        QVERIFY(freeMoveFrame(g.ctx, dib, 120, 40, states, 0));
        const QImage first = g.work();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 30; ++x) QCOMPARE(first.pixel(x, y), g.back());
        QVERIFY(freeMoveFrame(g.ctx, dib, 120, 40, states, 1024));
        QCOMPARE(g.work(), freeMoveReduced(dib, 120, 40, freeMoveGeometry(states, 1024, 120, 40), 0x1E140A).toImage());
    }

    void oneFrameWidthToTheRightIsOutside() {
        const QImage base = noisePicture(30, 10, 13);
        GeneratorFixture g(base);
        const FreeMoveStates states = statesOf({100, 0, 100, 100, 0, 0}, {100, 0, 100, 100, 0, 0});
        const QImage frame =
            freeMoveReduced(DibPicture::of(base), 120, 40, freeMoveGeometry(states, 0, 120, 40), 0x1E140A).toImage();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 30; ++x) QCOMPARE(frame.pixel(x, y), g.back());
    }

    void theGeneratorGrowsTheDefaultEntryWithWeightTwo() {
        // The new entry's states: 50 % to 100 % about the centre. n = 4:
        // positions 0, 256, 512, 768, 1024; the last frame is the unmoved one.
        const QImage base = noisePicture(40, 12, 17);
        GeneratorFixture g(base);
        g.recordFrames();
        const ScheduleEntry e = ScheduleEntry::withDefaults(19, 10);
        g.ctx.entry = &e;
        EntryTiming timing;
        timing.n = 4;
        timing.delay = 10;
        generateFreeMove(g.ctx, timing);
        QVERIFY(!g.ctx.failed);
        QCOMPARE(g.frames.size(), size_t(5));
        QCOMPARE(g.weights, (std::vector<int>{2, 2, 2, 2, 2}));
        QCOMPARE(g.effects.holder.size(), QSize(160, 48));  // the 4x zoom of the preparation
        const FreeMoveStates still = statesOf({0, 0, 100, 100, 0, 0}, {0, 0, 100, 100, 0, 0});
        QCOMPARE(g.frames.back(),
                 freeMoveReduced(DibPicture::of(base), 160, 48, freeMoveGeometry(still, 0, 160, 48), 0x1E140A).toImage());
        // The first frame: half size in the middle, background around it.
        const QImage& first = g.frames.front();
        QCOMPARE(first.pixel(0, 0), g.back());
        QCOMPARE(first.pixel(39, 11), g.back());
        QVERIFY(first.pixel(20, 6) != g.back());
    }
};

QTEST_MAIN(FreeMoveTest)
#include "free_move_test.moc"
