// The splash, light, back light, flash, snow, illumination, telop and side
// fade generators on tiny frames, with hand-computed values: the splash
// back in place at level 0 and its spread, the light band's ends and one lit
// pixel, the back light's positions, the flash's delays, alternation and
// the style put back after a failure, the snow's particle counts, its
// return to the top and which balls pass behind the text, the star's
// type B steps, the telop's run and the side fade's start. The random
// source is seeded.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "animation_driver.h"
#include "animation_fixture.h"
#include "dispatch.h"
#include "frame_table.h"
#include "generators/effect_steps.h"
#include "generators/generators.h"
#include "program_paths.h"
#include "render_pipeline.h"
#include "splash_tables.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

// A generation context over a base picture, as the driver sets one up, that
// collects the appended frames.
struct Harness {
    Harness(AnimationFixture& f, const QImage& base, const ScheduleEntry& e)
        : entry(e), ctx(*f.state, effects), renderer(*f.state) {
        ctx.basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
        ctx.workPath = TempFolder() + QStringLiteral("GifAnimeW.bmp");
        ctx.baseFile = QFile::encodeName(ctx.basePath);
        ctx.workFile = QFile::encodeName(ctx.workPath);
        ctx.basePicture = base.convertToFormat(QImage::Format_RGB32);
        ctx.writePicture(ctx.basePicture, ctx.baseFile);
        ctx.frameWidth = ctx.outputWidth = base.width();
        ctx.frameHeight = ctx.outputHeight = base.height();
        ctx.baseBackground = colourOf(ctx.basePicture.pixel(1, 1));
        ctx.text = QStringLiteral("ABC");
        ctx.renderer = &renderer;
        ctx.entry = &entry;
        effects.canvas = QImage(base.width(), base.height(), QImage::Format_RGB32);
        buildSplashTables(effects);
        ctx.sink = [this](const QByteArray& path, int delay, int weight) {
            frames << GenerationContext::loadPicture(QFile::decodeName(path));
            delays << delay;
            weights << weight;
            return true;
        };
    }
    void run() { dispatchRow(entry.kind())->generate(ctx, entryTiming(entry)); }

    ScheduleEntry entry;
    EffectState effects;
    GenerationContext ctx;
    RenderPipeline renderer;
    QList<QImage> frames;
    QList<int> delays, weights;
};

// A picture whose every pixel has its own colour, on nothing: the splash
// test can tell where each pixel went.
QImage patternPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(10 + x * 10, 10 + y * 20, 77));
    return image;
}

QImage plainPicture(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

ScheduleEntry entryWith(int kind, float seconds, int fps, std::initializer_list<std::pair<int, int>> values = {}) {
    ScheduleEntry e = testing::entryOf(kind, seconds, fps);
    for (const auto& [s, v] : values) e[s] = v;
    return e;
}

}  // namespace

class EffectGeneratorsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { animationRandom().seed(20261211); }

    void splashAtLevel0IsBackInPlaceBesideTheStrips() {
        // 20 x 10, cells of 2: ox = round(1 - (10 mod 2)) = 1, oy = round(1 -
        // (5 mod 2)) = 0. At v = 0 every cell lands on its own place; the
        // cells at x0 = -1 (column 0) and y0 = 0 (rows 0, 1) have X or Y = 0
        // and are not drawn, so those strips keep the background colour.
        AnimationFixture f;
        Harness h(f, patternPicture(20, 10), entryWith(5, 1.0f, 10, {{slot::SplashCellSize, 0}}));
        const int white = 0xFFFFFF;
        Splash(h.ctx, white, 0);
        const QImage& canvas = h.effects.canvas;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                const QRgb expected = (x == 0 || y < 2) ? qRgb(255, 255, 255) : h.ctx.basePicture.pixel(x, y);
                QVERIFY2(canvas.pixel(x, y) == expected, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            }
    }

    void splashSpreadZeroMovesEveryCellAlike() {
        // One 2 x 2 cell lit at a time on a 40 x 20 frame; where does it
        // land at v = 60? With spread 0 (D = 1, t = 0.4) every cell flies
        // with sx = round(3600 x 0.4 x 0.5 + 255) = 975, so its distance
        // from the centre grows by 975 / 255 whatever its place in the
        // pattern. With spread 1 (D = 2) neighbouring cells differ.
        const auto landing = [](int spread, int x0, int y0) {
            AnimationFixture f;
            QImage base = plainPicture(40, 20, qRgb(255, 255, 255));
            for (int y = y0; y < y0 + 2; ++y)
                for (int x = x0; x < x0 + 2; ++x) base.setPixel(x, y, qRgb(0, 0, 0));
            Harness h(f, base, entryWith(6, 1.0f, 10, {{slot::SplashCellSize, 0}, {slot::SplashSpread, spread}}));
            Splash(h.ctx, 0xFFFFFF, 60);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 40; ++x)
                    if (h.effects.canvas.pixel(x, y) == qRgb(0, 0, 0)) return QPoint(x, y);
            return QPoint(-1, -1);
        };
        // Cells (x0, y0) = (23, 11) and (25, 11): columns c = 12 and 13 of
        // the grid (ox = 1, oy = 1). dx = round(3 x 975 / 255) = 11 and
        // round(5 x 975 / 255) = 19; dy = round(1 x round(3600 x 0.4 x 0.4
        // + 255) / 255) = round(831 / 255) = 3.
        QCOMPARE(landing(0, 23, 11), QPoint(31, 13));
        QCOMPARE(landing(0, 25, 11), QPoint(39, 13));
        // Spread 1: t = 0.3 / 0.7 by column parity in row 0 (r = 6 is even):
        // c = 12 flies with t = 0.3, c = 13 with t = 0.7: different scales.
        const QPoint a = landing(1, 23, 11), b = landing(1, 25, 11);
        QVERIFY(double(a.x() - 20) / 3 != double(b.x() - 20) / 5);
    }

    void lightBandLiesLeftOfTheFrameAtStartAndRightAtEnd() {
        const float bw = lightBandWidth(0);
        QVERIFY(std::abs(bw - 9.822f) < 0.001f);
        QVERIFY(std::abs(lightBandCentre(0, 40, 0, 0, 7) + bw / 2) < 1e-4);
        QVERIFY(std::abs(lightBandCentre(1000, 40, 0, 0, 7) - (40 + bw / 2)) < 1e-4);
        QVERIFY(std::abs(lightBandCentre(0, 40, 0, 2, 8) - (-bw / 2 + 4)) < 1e-4);  // tilt 2 shifts row 8 by 4
        // On an all-ink frame (grey 128 on a white background colour) with
        // range 0 and brightness 0: at p = 0 only columns 1 .. 4 are lit;
        // column 1 gets I = 155 - 2.9 x 2.9555^2.5 = 111.45, L = 111,
        // 128 x 144 / 255 + 111 = 183.28 -> 183.
        AnimationFixture f;
        f.state->style.ShadowType = 0;
        Harness h(f, plainPicture(40, 6, qRgb(128, 128, 128)),
                  entryWith(7, 1.0f, 10, {{slot::LightRange, 0}, {slot::LightBrightness, 0}}));
        FLight(h.ctx, 0xFFFFFF, 0);
        const QImage start = h.effects.canvas;
        QCOMPARE(qRed(start.pixel(1, 3)), 183);
        QCOMPARE(qRed(start.pixel(2, 3)), 173);
        QCOMPARE(qRed(start.pixel(4, 3)), 144);
        QCOMPARE(qRed(start.pixel(5, 3)), 128);
        QCOMPARE(qRed(start.pixel(0, 3)), 128);  // column 0 and row 0 stay
        QCOMPARE(qRed(start.pixel(1, 0)), 128);
        FLight(h.ctx, 0xFFFFFF, 1000);
        const QImage end = h.effects.canvas;
        QCOMPARE(qRed(end.pixel(35, 3)), 128);
        QVERIFY(qRed(end.pixel(36, 3)) > 128);
        QCOMPARE(qRed(end.pixel(39, 3)), 183);  // 39 is as far from 44.91 as 1 from -4.91
    }

    void lightWithUnlitBackgroundShowsOnlyTheLitText() {
        // "照明が当たらない部分は背景色にする": the frame starts as the
        // background colour; a lit pixel blends the key colour toward the
        // mask: column 1 at p = 0 has a = 111 / 255, so (1 - a) x 255 + a x
        // 128 = 199.7 -> 200; unlit ink shows the background colour.
        AnimationFixture f;
        f.state->style.ShadowType = 1;  // the mask is the base image all the same
        Harness h(f, plainPicture(40, 6, qRgb(128, 128, 128)),
                  entryWith(7, 1.0f, 10, {{slot::LightRange, 0}, {slot::LightBrightness, 0},
                                          {slot::LightUnlitBackground, 1}}));
        FLight(h.ctx, 0xFFFFFF, 0);
        QCOMPARE(h.effects.canvas.pixel(1, 3), qRgb(200, 200, 200));
        QCOMPARE(h.effects.canvas.pixel(5, 3), qRgb(255, 255, 255));
        QCOMPARE(h.effects.canvas.pixel(1, 0), qRgb(255, 255, 255));
    }

    void lightLeavesBackgroundUnlit() {
        // Pixels below a background pixel of the mask are not lit.
        AnimationFixture f;
        f.state->style.ShadowType = 0;
        QImage base = plainPicture(20, 6, qRgb(255, 255, 255));
        for (int x = 0; x < 20; ++x) {
            base.setPixel(x, 3, qRgb(100, 100, 100));
            base.setPixel(x, 4, qRgb(100, 100, 100));
        }
        Harness h(f, base, entryWith(7, 1.0f, 10, {{slot::LightRange, 9}}));
        FLight(h.ctx, 0xFFFFFF, 500);
        QVERIFY(qRed(h.effects.canvas.pixel(10, 4)) > 100);              // ink below ink: lit
        QCOMPARE(h.effects.canvas.pixel(10, 3), qRgb(100, 100, 100));    // ink below background: not lit
    }

    void backLightPositionsForN19() {
        for (int l = 0; l <= 19; ++l) QCOMPARE(backLightPosition(0, l, 19, 200, 60), QPoint(10 * l + 1, 30));
        QCOMPARE(backLightPosition(1, 0, 19, 200, 60), QPoint(201, 30));
        QCOMPARE(backLightPosition(1, 19, 19, 200, 60), QPoint(11, 30));
        QCOMPARE(backLightPosition(2, 0, 19, 200, 60), QPoint(100, 1));    // from the bottom (y up)
        QCOMPARE(backLightPosition(2, 19, 19, 200, 60), QPoint(100, 58));  // 19 x 3 + 1
        QCOMPARE(backLightPosition(3, 0, 19, 200, 60), QPoint(100, 61));
        // Through the generator: 20 frames, the rays move with the light.
        AnimationFixture f;
        QImage base = blockPicture(40, 20);
        Harness h(f, base, entryWith(8, 2.0f, 10, {{slot::BackLightBrightness, 9}}));
        h.run();
        QCOMPARE(h.frames.size(), 20);
        QVERIFY(h.frames[2] != h.frames[17]);
        QVERIFY(h.frames[2] != h.ctx.basePicture);
    }

    void flashBlinkDelaysAndLineLightAlternation() {
        QCOMPARE(flashDelays(2.0, 2, 4).dark, 67);
        QCOMPARE(flashDelays(2.0, 2, 4).lit, 33);
        AnimationFixture f;
        storeFontName(f.state->style, QStringLiteral("IPAGothic"), true);  // the pinned test font
        f.state->style.ShadowColor = 0x00FFFF;  // a yellow glow on dark blue: a light shadow
        f.state->style.BackColor = 0x400000;    // only brightens, so it shows on a dark background
        Harness blink(f, blockPicture(40, 20), entryWith(9, 2.0f, 10));
        blink.run();
        QCOMPARE(blink.delays, (QList<int>{67, 33, 67, 33}));
        QCOMPARE(blink.frames.size(), 4);
        QCOMPARE(blink.frames[0], blink.frames[2]);  // dark: no glow
        QCOMPARE(blink.frames[1], blink.frames[3]);  // lit: the glow
        QVERIFY(blink.frames[0] != blink.frames[1]);
        // "線光効果": Light's rays (dark delay), then the plain base image.
        Harness line(f, blockPicture(40, 20), entryWith(9, 2.0f, 10, {{slot::FlashType, 2}}));
        line.run();
        QCOMPARE(line.delays, (QList<int>{67, 33, 67, 33}));
        QCOMPARE(line.frames[1], line.ctx.basePicture);
        QCOMPARE(line.frames[3], line.ctx.basePicture);
        QVERIFY(line.frames[0] != line.ctx.basePicture);
        QCOMPARE(line.frames[0], line.frames[2]);
    }

    void flashPutsTheStyleAndHolderBackAfterAFailure() {
        AnimationFixture f;
        f.state->style.ShadowType = 1;
        f.state->style.ShadowColor = 0x123456;
        const PavrexStyle before = f.state->style;
        for (const int type : {0, 1}) {
            Harness h(f, blockPicture(40, 20), entryWith(9, 1.0f, 10, {{slot::FlashType, type}}));
            const QImage holder = blockPicture(7, 7);
            h.renderer.setHolder(holder);
            // The work file's place is taken by a folder: no rendering can be
            // written, every frame is skipped.
            QVERIFY(QDir(f.temp.path()).mkpath(QStringLiteral("GifAnimeW.bmp")));
            h.run();
            QVERIFY(h.frames.isEmpty());
            QCOMPARE(h.ctx.skippedFrames, type == 0 ? 4 : 10);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(&f.state->style), sizeof(PavrexStyle)),
                     QByteArray(reinterpret_cast<const char*>(&before), sizeof(PavrexStyle)));
            QCOMPARE(h.renderer.holder(), holder);
            QVERIFY(QDir(f.temp.path()).rmdir(QStringLiteral("GifAnimeW.bmp")));
        }
    }

    void pulseGlowFadesOutPerPulse() {
        // Ratio 4: the glow falls by 1 / (0.9 L) per frame of a pulse.
        QCOMPARE(pulseGlow(0, 10, 4), 1.0f);
        QVERIFY(std::abs(pulseGlow(9, 10, 4) - (1 - 9 / 9.0f)) < 1e-6f);
        QCOMPARE(pulseGlow(10, 10, 4), 1.0f);  // the next pulse starts full
        QCOMPARE(pulseGlow(9, 10, 1), 0.0f);   // ratio 1 fades out before the end
    }

    void snowCountsComeBackAndPassBehindTheText() {
        QCOMPARE(particleCount(0), 4);
        QCOMPARE(particleCount(9), 31);
        AnimationFixture f;
        f.state->style.BackColor = 0x000000;  // the engine paints it as 1
        QImage base = plainPicture(60, 30, qRgb(1, 0, 0));
        for (int y = 10; y < 20; ++y)
            for (int x = 20; x < 40; ++x) base.setPixel(x, y, qRgb(200, 50, 50));
        for (const int count : {0, 9}) {
            Harness h(f, base, entryWith(10, 1.0f, 10, {{slot::SnowCount, count}}));
            SnowDrop(h.ctx, 0, -1, 10);
            QCOMPARE(int(h.effects.particles.size()), count == 0 ? 4 : 31);
        }
        Harness h(f, base, entryWith(10, 1.0f, 10, {{slot::SnowCount, 0}, {slot::SnowBrightness, 6}}));
        SnowDrop(h.ctx, 0, -1, 10);
        auto& p = h.effects.particles;
        // A small ball over the text and one over the background; a large
        // ball over the text; one about to leave the bottom.
        p[0] = {22, 12, 0.5f, 1};
        p[1] = {2, 2, 0.5f, 1};
        p[2] = {30, 11, 0.5f, 2};
        p[3] = {10, 35, 4.0f, 1};
        SnowDrop(h.ctx, 0, 0, 10);
        const QImage& c = h.effects.canvas;
        for (int y = 12; y < 17; ++y)
            for (int x = 22; x < 27; ++x) QCOMPARE(c.pixel(x, y), base.pixel(x, y));  // behind the text
        // The middle of the small ball on the background: 1 + table value.
        const int middle = h.effects.snowSmall[2][2];
        QVERIFY(middle > 100);
        QCOMPARE(c.pixel(4, 4), qRgb(1 + middle, middle, middle));
        // The large ball lights text pixels.
        QVERIFY(qGreen(c.pixel(33, 14)) > 50);
        // 35 + 4 > 30 + 8: back at the top at a new column.
        QCOMPARE(p[3].y, -10.0f);
        QVERIFY(p[3].x >= 5 && p[3].x < 50);
        QCOMPARE(p[0].y, 12.5f);
    }

    void starTypeBSteps() {
        // c = 3, P = 0: s = 3, 2, 1, 0, 1, 2, then again; lit while s < 3.
        QList<int> steps, lit;
        int phase = 0;
        for (int k = 0; k < 8; ++k) {
            const int s = starLitStep(1, phase, 3);
            steps << s;
            lit << (s < 3 ? 1 : 0);
            phase = starNextPhase(1, phase, 3, 0);
        }
        QCOMPARE(steps, (QList<int>{3, 2, 1, 0, 1, 2, 3, 2}));
        QCOMPARE(lit, (QList<int>{0, 1, 1, 1, 1, 1, 0, 1}));
        // Type A: the phase itself, modulo c + P.
        QCOMPARE(starLitStep(0, 2, 3), 2);
        QCOMPARE(starNextPhase(0, 4, 3, 2), 0);
        // c = round(on time x F / 5 + 1).
        QCOMPARE(starLitFrames(4, 20), 17);
        QCOMPARE(starLitFrames(0, 20), 1);
    }

    void starsLightTheirGlintInTheBaseColour() {
        AnimationFixture f;
        Harness h(f, plainPicture(60, 40, qRgb(0, 0, 0)),
                  entryWith(16, 1.0f, 10, {{slot::StarColour, 0x0000FF}, {slot::StarOnTime, 0}}));
        Star(h.ctx, 0, -1, 10);
        QCOMPARE(int(h.effects.particles.size()), 16);  // count 4
        QVERIFY(!h.effects.starPixels.empty() && h.effects.starPixels.size() <= 301);
        // c = 1: a star is lit (at full intensity) when its phase is 0.
        for (auto& s : h.effects.particles) s = {10, 5, 0, 1};
        h.effects.particles[0] = {10, 5, 0, 0};
        Star(h.ctx, 0, 0, 10);
        const QImage& c = h.effects.canvas;
        // The glint's centre (13, 13) in pure red, nothing in green or blue.
        QVERIFY(qRed(c.pixel(23, 18)) > 200);
        QCOMPARE(qGreen(c.pixel(23, 18)), 0);
        QCOMPARE(qBlue(c.pixel(23, 18)), 0);
        QCOMPARE(c.pixel(50, 35), qRgb(0, 0, 0));
    }

    void telopRightToLeftRunsFromWfToMinusWf() {
        QCOMPARE(telopOffset(1, 0, 40, 20), QPoint(40, 0));
        QCOMPARE(telopOffset(1, 512, 40, 20), QPoint(0, 0));
        QCOMPARE(telopOffset(1, 1024, 40, 20), QPoint(-40, 0));
        QCOMPARE(telopOffset(5, 0, 40, 20), QPoint(0, -20));
        QCOMPARE(telopOffset(9, 1024, 40, 20), QPoint(-40, 0));
        // 0.3 s at 10 fps: n = N = 2, t = 0, 512, 1024.
        AnimationFixture f;
        Harness h(f, blockPicture(40, 20), entryWith(17, 0.3f, 10, {{slot::TelopDirection, 1}}));
        h.run();
        QCOMPARE(h.frames.size(), 3);
        const QImage key = plainPicture(40, 20, qRgb(255, 255, 255));
        QCOMPARE(h.frames[0], key);
        QCOMPARE(h.frames[1], h.ctx.basePicture);
        QCOMPARE(h.frames[2], key);
    }

    void sideFadeWidth5On200PixelsStartsAt100Left() {
        QCOMPARE(sideSweep(5, 200, 0, 9).position, -100);
        QCOMPARE(sideSweep(5, 200, 0, 9).width, 100);
        QCOMPARE(sideSweep(5, 200, 1, 9).position, -67);  // 300 / 9 - 100 = -66.7
        QCOMPARE(sideSweep(5, 200, 9, 9).position, 200);
        // 1 s at 10 fps: n = 9. A black picture on the white key: in frame 1
        // column 0 has m = 256 - trunc(256 x 67 / 100) = 85, so
        // floor(85 x 0 / 256) + floor(171 x 255 / 256) = 170.
        AnimationFixture f;
        QImage base = plainPicture(200, 20, qRgb(0, 0, 0));
        base.setPixel(1, 1, qRgb(255, 255, 255));  // the base background is read at (1, 1)
        Harness h(f, base, entryWith(18, 1.0f, 10));
        h.run();
        QCOMPARE(h.frames.size(), 10);
        QCOMPARE(qRed(h.frames[0].pixel(0, 5)), 255);
        QCOMPARE(qRed(h.frames[1].pixel(0, 5)), 170);
        QCOMPARE(qRed(h.frames[9].pixel(199, 5)), 0);
    }

    void aFrameWithoutWorkImageIsSkippedAndReported() {
        // The work file's place is taken by a folder: the side fade cannot
        // write its frames. The text still is kept, the fade's frames are
        // left out (not replaced by the previous file), and the run says so.
        AnimationFixture f;
        QVERIFY(QDir(f.temp.path()).mkdir(QStringLiteral("GifAnimeW.bmp")));
        EffectState effects;
        DriverHooks hooks;
        int frames = -1;
        hooks.preview = [&](FrameTable& table) { frames = table.count(); };
        AnimationRunInputs in;
        in.text = QStringLiteral("ABC");
        in.baseRendering = blockPicture(40, 20);
        in.outputWidth = 40;
        in.outputHeight = 20;
        const AnimationSchedule s = scheduleOf({testing::entryOf(1, 1.0f, 10), testing::entryOf(18, 1.0f, 10)});
        const DriverOutcome o = runAnimationDriver(*f.state, in, s, 2, {}, effects, DriverMode::Preview, QString(), hooks);
        QCOMPARE(o.status, DriverOutcome::Status::Previewed);
        QCOMPARE(frames, 1);
        QCOMPARE(o.skippedFrames, 10);
        QCOMPARE(f.recorder.texts(), QStringList{QStringLiteral("フレーム画像を作れなかった 10 フレームを飛ばしました")});
        QCOMPARE(f.recorder.messages[0].icon, QMessageBox::Warning);
    }
};

QTEST_MAIN(EffectGeneratorsTest)
#include "effect_generators_test.moc"
