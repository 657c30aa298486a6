// Drop, slide and trump on cut-outs made of plain blocks (positions read
// back from the frame), blank characters, more glyphs than the tables hold,
// and a real text cut with the pinned font.
#include <QtTest>

#include "animation_driver.h"
#include "cp932_qstring.h"
#include "generator_fixture.h"
#include "generators/character_stage.h"
#include "generators/generators.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

QRgb colourOfGlyph(int t) { return qRgb(20 * t, 250 - 20 * t, 100); }

// Columns of the frame that hold the colour somewhere.
int columnsOf(const QImage& frame, QRgb colour) {
    int n = 0;
    for (int x = 0; x < frame.width(); ++x)
        if (!rowsOf(frame, x, colour).empty()) ++n;
    return n;
}

}  // namespace

class CharacterEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void straightDropArrivalLevelsForFiveCharacters() {
        // Interval 4: k = 0.4, H = 100, y = round(-100 - 40 t + 1.25 v):
        // character t reaches its place at v = 80 + 32 t (112 .. 240) and is
        // one pixel above it one level earlier.
        GeneratorFixture g(plainPicture(80, 100, qRgb(30, 20, 10)), 0x0A141E);
        for (int t = 1; t <= 5; ++t) g.addGlyph(2 + 15 * (t - 1), 9, colourOfGlyph(t));
        CharacterStage stage(g.ctx);
        QCOMPARE(stage.count(), 5);
        for (int t = 1; t <= 5; ++t) {
            const int arrival = 80 + 32 * t;
            const int x = 2 + 15 * (t - 1) + 4;
            QVERIFY(dropFrame(stage, arrival - 1, 0, 4));
            QCOMPARE(g.work().pixel(x, 99), g.back());
            QCOMPARE(g.work().pixel(x, 98), colourOfGlyph(t));
            QVERIFY(dropFrame(stage, arrival, 0, 4));
            QCOMPARE(rowsOf(g.work(), x, colourOfGlyph(t)).size(), size_t(100));
        }
        // At level 0 nothing is in the frame yet.
        QVERIFY(dropFrame(stage, 0, 0, 4));
        for (int t = 1; t <= 5; ++t) QCOMPARE(columnsOf(g.work(), colourOfGlyph(t)), 0);
    }

    void gravityDropBouncesOnceAndNeverSinksBelowItsPlace() {
        // Ten characters 20 pixels high, interval 0: all land and come to
        // rest by level 255. A character below its place would leave its
        // top row empty while its bottom row shows.
        GeneratorFixture g(plainPicture(122, 20, qRgb(30, 20, 10)), 0x0A141E);
        for (int t = 1; t <= 10; ++t) g.addGlyph(2 + 12 * (t - 1), 9, colourOfGlyph(t));
        CharacterStage stage(g.ctx);
        std::vector<int> restsOfFirst;
        for (int v = 0; v <= 255; ++v) {
            QVERIFY(dropFrame(stage, v, 1, 0));
            const QImage frame = g.work();
            for (int t = 1; t <= 10; ++t) {
                const int x = 2 + 12 * (t - 1) + 4;
                const bool top = frame.pixel(x, 0) == colourOfGlyph(t);
                const bool bottom = frame.pixel(x, 19) == colourOfGlyph(t);
                QVERIFY2(top || !bottom, qPrintable(QStringLiteral("v %1, character %2").arg(v).arg(t)));
                if (v == 255) QVERIFY(bottom);
            }
            const bool rests = frame.pixel(6, 19) == colourOfGlyph(1);
            if (restsOfFirst.empty() || restsOfFirst.back() != int(rests)) restsOfFirst.push_back(rests);
        }
        // Falling, landed, up in the bounce, at rest.
        QCOMPARE(restsOfFirst, (std::vector<int>{0, 1, 0, 1}));
    }

    void gravityDropOfATallPictureEndsWithEveryCharacterInPlace() {
        // 300 pixels high, eight characters, interval 4: the fall through H
        // takes 153 ticks and the clock would reach only 227 by level 255,
        // leaving the last characters in the air. The clock is sped up so
        // that all rest from level 240 on.
        GeneratorFixture g(plainPicture(200, 300, qRgb(30, 20, 10)), 0x0A141E);
        for (int t = 1; t <= 8; ++t) g.addGlyph(2 + 24 * (t - 1), 20, colourOfGlyph(t));
        CharacterStage stage(g.ctx);
        for (const int v : {240, 255}) {
            QVERIFY(dropFrame(stage, v, 1, 4));
            const QImage frame = g.work();
            for (int t = 1; t <= 8; ++t)
                QCOMPARE(rowsOf(frame, 2 + 24 * (t - 1) + 10, colourOfGlyph(t)).size(), size_t(300));
        }
        // Before that the last one is still on its way.
        QVERIFY(dropFrame(stage, 200, 1, 4));
        QVERIFY(rowsOf(g.work(), 2 + 24 * 7 + 10, colourOfGlyph(8)).size() < 300);
    }

    void slideFromAboveAndBelow() {
        // Spacing 0 (s = 1.36), 40 x 20, level 100: character 1 is at x 21,
        // 6 pixels low (odd: from below); character 2 at x 38, 7 pixels
        // high (even: from above).
        GeneratorFixture g(plainPicture(40, 20, qRgb(30, 20, 10)), 0x0A141E);
        g.addGlyph(2, 9, colourOfGlyph(1));
        g.addGlyph(14, 9, colourOfGlyph(2));
        CharacterStage stage(g.ctx);
        QVERIFY(slideFrame(stage, 100, 3, 0));
        QImage frame = g.work();
        QCOMPARE(rowsOf(frame, 25, colourOfGlyph(1)).front(), 6);
        QCOMPARE(rowsOf(frame, 25, colourOfGlyph(1)).back(), 19);
        QCOMPARE(frame.pixel(20, 10), g.back());
        QCOMPARE(rowsOf(frame, 39, colourOfGlyph(2)).front(), 0);
        QCOMPARE(rowsOf(frame, 39, colourOfGlyph(2)).back(), 12);
        // Straight from the right: both on the middle line.
        QVERIFY(slideFrame(stage, 100, 0, 0));
        frame = g.work();
        QCOMPARE(rowsOf(frame, 25, colourOfGlyph(1)).size(), size_t(20));
        QCOMPARE(rowsOf(frame, 39, colourOfGlyph(2)).size(), size_t(20));
        // At 255 both in place.
        QVERIFY(slideFrame(stage, 255, 3, 0));
        frame = g.work();
        QCOMPARE(rowsOf(frame, 2, colourOfGlyph(1)).size(), size_t(20));
        QCOMPARE(rowsOf(frame, 14, colourOfGlyph(2)).size(), size_t(20));
        QCOMPARE(columnsOf(frame, colourOfGlyph(1)), 10);  // at its own width
    }

    void trumpSideTurnsFinishBy255() {
        // Two turns stored: three turns, phase 0 .. 768. At level 255 every
        // one of five characters is back at its place at its glyph width; at
        // 200 the last one (phase 600) is still turning, narrower.
        GeneratorFixture g(plainPicture(80, 20, qRgb(30, 20, 10)), 0x0A141E);
        for (int t = 1; t <= 5; ++t) g.addGlyph(2 + 15 * (t - 1), 9, colourOfGlyph(t));
        CharacterStage stage(g.ctx);
        QVERIFY(tranpFrame(stage, 255, 0, 3, 4));
        QImage frame = g.work();
        for (int t = 1; t <= 5; ++t) {
            QCOMPARE(columnsOf(frame, colourOfGlyph(t)), 9);
            QCOMPARE(rowsOf(frame, 2 + 15 * (t - 1), colourOfGlyph(t)).size(), size_t(20));
            QCOMPARE(frame.pixel(2 + 15 * (t - 1) + 9, 5), g.back());
        }
        QVERIFY(tranpFrame(stage, 200, 0, 3, 4));
        frame = g.work();
        QVERIFY(columnsOf(frame, colourOfGlyph(5)) < 9);
        QVERIFY(columnsOf(frame, colourOfGlyph(5)) > 0);
    }

    void trumpSkipsCharactersTurnedEdgeOn() {
        // Two characters, three turns, level 41: character 1 is at phase 64,
        // a quarter turn (width and height round(cos(pi / 2) * s) = 0): not
        // drawn, rather than drawn at its own size. Character 2 has not
        // started (phase -36, clamped to 0) and shows whole.
        for (const int type : {0, 1}) {
            GeneratorFixture g(plainPicture(40, 20, qRgb(30, 20, 10)), 0x0A141E);
            g.addGlyph(2, 9, colourOfGlyph(1));
            g.addGlyph(14, 9, colourOfGlyph(2));
            CharacterStage stage(g.ctx);
            QVERIFY(tranpFrame(stage, 41, type, 3, 4));
            const QImage frame = g.work();
            QCOMPARE(columnsOf(frame, colourOfGlyph(1)), 0);
            QCOMPARE(columnsOf(frame, colourOfGlyph(2)), 9);
            // One level later character 1 shows again, thin.
            QVERIFY(tranpFrame(stage, 42, type, 3, 4));
            QVERIFY(columnsOf(g.work(), colourOfGlyph(1)) > 0);
        }
    }

    void dealtCardsEndInPlace() {
        for (const int type : {6, 7, 8}) {
            GeneratorFixture g(plainPicture(40, 20, qRgb(30, 20, 10)), 0x0A141E);
            g.addGlyph(2, 9, colourOfGlyph(1));
            g.addGlyph(14, 9, colourOfGlyph(2));
            CharacterStage stage(g.ctx);
            // At level 0 the cards of types 7 and 8 are still below the
            // frame; the flipping card of type 6 is three times its height
            // and reaches into it.
            QVERIFY(tranpFrame(stage, 0, type, 1, 4));
            QCOMPARE(columnsOf(g.work(), colourOfGlyph(1)) == 0, type != 6);
            QVERIFY(tranpFrame(stage, 255, type, 1, 4));
            const QImage frame = g.work();
            QCOMPARE(columnsOf(frame, colourOfGlyph(1)), 9);
            QCOMPARE(rowsOf(frame, 14, colourOfGlyph(2)).size(), size_t(20));
        }
    }

    void aBlankKeepsItsTurnButPastesNothing() {
        // Character 1 covers the canvas's bottom-left pixel, so the key
        // colour becomes its colour; the blank that follows inside its box
        // must not punch a background hole into it. The blank still counts:
        // character 3 drops third.
        GeneratorFixture g(plainPicture(40, 20, qRgb(30, 20, 10)), 0x0A141E);
        g.addGlyph(0, 9, colourOfGlyph(1));
        g.addGlyph(4, 0, QRgb(), false);
        g.addGlyph(20, 9, colourOfGlyph(3));
        CharacterStage stage(g.ctx);
        QCOMPARE(stage.count(), 3);
        QCOMPARE(stage.width(2), 0);
        QVERIFY(dropFrame(stage, 255, 0, 4));
        QCOMPARE(rowsOf(g.work(), 4, colourOfGlyph(1)).size(), size_t(20));
        // Straight, interval 4, H = 20: character 3 arrives at
        // v = 240 * 2.2 / 2.2 = 240, character 1 at 240 * 1.4 / 2.2 = 153.
        QVERIFY(dropFrame(stage, 239, 0, 4));
        QCOMPARE(g.work().pixel(24, 19), g.back());
    }

    void noMoreThanTheTablesHold() {
        // A cut with a 101st picture (the tables end at place 100): the
        // stage takes 100 characters and every frame is made.
        GeneratorFixture g(plainPicture(400, 10, qRgb(30, 20, 10)), 0x0A141E);
        for (int t = 1; t <= 101; ++t) g.addGlyph(4 * (t - 1) % 396, 2, colourOfGlyph(t % 10 + 1));
        CharacterStage stage(g.ctx);
        QCOMPARE(stage.count(), kMaxCutGlyphs);
        for (const int type : {0, 5, 6})
            for (const int v : {0, 128, 255}) QVERIFY(tranpFrame(stage, v, type, 10, 9));
        for (const int v : {0, 128, 255}) {
            QVERIFY(dropFrame(stage, v, 1, 9));
            QVERIFY(slideFrame(stage, v, 3, 9));
        }
    }

    void realTextWithBlanksDropsIntoTheBasePicture() {
        // "あ　い A": the full-width and the half-width blank each have a
        // picture and table entries; a straight drop ends with every
        // character in its place, which is the base picture again (the cut
        // takes the base's own pixels) but for a few edge pixels.
        AnimationFixture f;
        std::strcpy(f.state->style.FontName, "IPAGothic");
        const QString text = QStringLiteral("あ　い A");
        const QString full = TempFolder() + QStringLiteral("full.bmp");
        f.libraries.engine.ImgMake(toCp932Lossy(text).constData(), &f.state->style,
                                   QFile::encodeName(full).constData(), 0);
        const QImage rendering = readPicture(QFile::encodeName(full));
        QVERIFY(!rendering.isNull());
        const int W = rendering.width() / 2, H = rendering.height() / 2;
        AnimationRunInputs in;
        in.text = text;
        in.baseRendering = rendering;
        in.outputWidth = W;
        in.outputHeight = H;
        in.widthScale = double(W) / rendering.width();
        EffectState effects;
        DriverHooks hooks;
        std::vector<QImage> lastFrames;
        hooks.betweenFrames = [&] { lastFrames.push_back(readPicture(QFile::encodeName(TempFolder() + QStringLiteral("GifAnimeW.bmp")))); };
        AnimationSchedule s = scheduleOf({entryOf(13, 1.0f, 10)});
        const DriverOutcome o = runAnimationDriver(*f.state, in, s, 1, {}, effects, DriverMode::Preview, QString(), hooks);
        QCOMPARE(o.status, DriverOutcome::Status::Previewed);
        QCOMPARE(o.frames, 10);
        const CharacterCutouts& cut = effects.lastCut;
        QCOMPARE(int(cut.images.size()), 5);
        QCOMPARE(cut.glyphWidth[2], 0);
        QCOMPARE(cut.glyphWidth[4], 0);
        QVERIFY(cut.glyphLeft[1] < cut.glyphLeft[2] && cut.glyphLeft[2] < cut.glyphLeft[3]);
        const QImage base = readPicture(QFile::encodeName(TempFolder() + QStringLiteral("GifAnime0.bmp")));
        const QImage& last = lastFrames.back();
        int differ = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) differ += last.pixel(x, y) != base.pixel(x, y);
        // The cut leaves out only the odd edge pixel where a glyph rendered
        // alone has no ink but the whole text has (14 of 14204 here).
        QVERIFY2(differ * 500 < W * H, qPrintable(QString::number(differ)));
    }
};

QTEST_MAIN(CharacterEffectsTest)
#include "character_effects_test.moc"
