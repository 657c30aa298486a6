// The generation driver: frame counts, delays and levels read back from the
// written GIF with giflib; the limits (900 weighted frames, 1001 frames, 100
// glyphs, vertical writing); transparency, disposal and loop count; the
// progress weights of every kind; the release of every bitmap; failures
// that must leave no file.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "animation_driver.h"
#include "animation_fixture.h"
#include "dispatch.h"
#include "frame_table.h"
#include "support.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

struct Run {
    DriverOutcome outcome;
    QList<FrameRecord> records;  // as handed to the preview
    int64_t progressTotal = -1;
    int progressDone = 0;
    int betweenFrames = 0;
};

AnimationRunInputs inputsOf(const QImage& rendering, int w, int h) {
    AnimationRunInputs in;
    in.text = QStringLiteral("ABC");
    in.baseRendering = rendering;
    in.outputWidth = w;
    in.outputHeight = h;
    in.widthScale = rendering.width() > 0 ? double(w) / rendering.width() : 0.5;
    return in;
}

Run drive(AnimationFixture& f, const AnimationSchedule& schedule, DriverMode mode, const QString& path,
          AnimationSettings settings = {}, const AnimationRunInputs& inputs = inputsOf(blockPicture(40, 20), 40, 20),
          int threads = -1) {
    Run run;
    EffectState effects;
    DriverHooks hooks;
    hooks.reductionThreads = threads;
    hooks.progress = [&](int amount, bool reset, int64_t total) {
        run.progressTotal = total;
        if (!reset) run.progressDone += amount;
    };
    hooks.betweenFrames = [&] { ++run.betweenFrames; };
    hooks.preview = [&](FrameTable& frames) {
        for (const FrameRecord& r : frames.records()) run.records << r;
    };
    run.outcome = runAnimationDriver(*f.state, inputs, schedule, schedule.rowCount(), settings, effects, mode, path,
                                     hooks);
    return run;
}

imgctl_test::DecodedGif decode(const QString& path) { return imgctl_test::decodeGif(QFile::encodeName(path).toStdString()); }

// Red of the composed frame's pixel (x, y).
int redAt(const std::vector<uint32_t>& frame, int width, int x, int y) {
    return int((frame[size_t(y) * size_t(width) + size_t(x)] >> 16) & 0xFF);
}

}  // namespace

class DriverTest : public QObject {
    Q_OBJECT
private slots:
    void textStillIsOneFrameOfTheWholeDuration() {
        AnimationFixture f;
        const QString gif = f.out(QStringLiteral("text.gif"));
        const Run run = drive(f, scheduleOf({entryOf(1, 2.0f, 20)}), DriverMode::Output, gif);
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Written);
        const auto decoded = decode(gif);
        QVERIFY2(decoded.ok, decoded.error.c_str());
        QCOMPARE(decoded.frames.size(), size_t(1));
        QCOMPARE(decoded.frames[0].delay, 200);
        QCOMPARE(decoded.width, 40);
        QCOMPARE(decoded.height, 20);
        QVERIFY(f.recorder.messages.isEmpty());
    }

    void fadesStepThroughTheirLevels() {
        // Fead toward white at level L turns black into 255 - L: the block
        // shows the level, the white corner stays white. Levels round(l x
        // 255 / 19), l = 0 .. 19 (13.42 l): worked out by hand.
        const int levels[20] = {0, 13, 27, 40, 54, 67, 81, 94, 107, 121, 134, 148, 161, 174, 188, 201, 215, 228, 242, 255};
        for (const int kind : {3, 4}) {
            AnimationFixture f;
            const QString gif = f.out(QStringLiteral("fade.gif"));
            const Run run = drive(f, scheduleOf({entryOf(kind, 2.0f, 10)}), DriverMode::Output, gif);
            QCOMPARE(run.outcome.status, DriverOutcome::Status::Written);
            const auto decoded = decode(gif);
            QVERIFY(decoded.ok);
            QCOMPARE(decoded.frames.size(), size_t(20));
            const auto shown = imgctl_test::composeFrames(decoded);
            for (int l = 0; l < 20; ++l) {
                QCOMPARE(decoded.frames[size_t(l)].delay, 10);
                // Fade-out levels are 255 - 13.42 l rounded, so black shows 13.42 l rounded.
                const int level = kind == 3 ? levels[l] : 255 - levels[l];
                QCOMPARE(redAt(shown[size_t(l)], 40, 20, 10), 255 - level);
                QCOMPARE(redAt(shown[size_t(l)], 40, 1, 1), 255);
            }
        }
    }

    void shortEntriesMakeTwoFramesOrNone() {
        AnimationFixture f;
        // 0.1 s at 10 fps: n = 0 becomes 1, two frames, levels 0 and 255.
        const QString two = f.out(QStringLiteral("two.gif"));
        QCOMPARE(drive(f, scheduleOf({entryOf(3, 0.1f, 10)}), DriverMode::Output, two).outcome.status,
                 DriverOutcome::Status::Written);
        const auto decoded = decode(two);
        QCOMPARE(decoded.frames.size(), size_t(2));
        const auto shown = imgctl_test::composeFrames(decoded);
        QCOMPARE(redAt(shown[0], 40, 20, 10), 255);
        QCOMPARE(redAt(shown[1], 40, 20, 10), 0);
        // Below half a frame (0.1 s at 1 or 2 fps) an entry makes nothing.
        const QString one = f.out(QStringLiteral("one.gif"));
        const Run run = drive(f, scheduleOf({entryOf(3, 0.1f, 1), entryOf(1, 1.0f, 20), entryOf(4, 0.1f, 2)}),
                              DriverMode::Output, one);
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Written);
        QCOMPARE(decode(one).frames.size(), size_t(1));
    }

    void aRunWithoutFramesWritesNothing() {
        AnimationFixture f;
        const QString gif = f.out(QStringLiteral("none.gif"));
        const Run run = drive(f, scheduleOf({entryOf(3, 0.1f, 1)}), DriverMode::Output, gif);
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Failed);
        QCOMPARE(f.recorder.texts(), QStringList{QStringLiteral("出力するフレームがありません")});
        QVERIFY(!QFile::exists(gif));
    }

    void weightedTotalOf900IsGeneratedAnd901Refused() {
        AnimationFixture f;
        // Three fades of 10 s at 30 fps weigh 300 each and make 300 frames each.
        AnimationSchedule s = scheduleOf({entryOf(3, 10.0f, 30), entryOf(4, 10.0f, 30), entryOf(3, 10.0f, 30)});
        const QImage small = blockPicture(8, 4);
        const Run accepted = drive(f, s, DriverMode::Preview, QString(), {}, inputsOf(small, 8, 4));
        QCOMPARE(accepted.outcome.status, DriverOutcome::Status::Previewed);
        QCOMPARE(accepted.outcome.weightedTotal, int64_t{900});
        QCOMPARE(accepted.records.size(), 900);
        QCOMPARE(accepted.progressTotal, int64_t{900});
        QCOMPARE(accepted.progressDone, 900);
        QVERIFY(f.recorder.messages.isEmpty());

        s[3] = entryOf(1, 1.0f, 20);  // one more
        const QString gif = f.out(QStringLiteral("901.gif"));
        const Run refused = drive(f, s, DriverMode::Output, gif, {}, inputsOf(small, 8, 4));
        QCOMPARE(refused.outcome.status, DriverOutcome::Status::Refused);
        QCOMPARE(refused.betweenFrames, 0);
        QCOMPARE(f.recorder.messages.size(), 1);
        QCOMPARE(f.recorder.messages[0].text, QStringLiteral("データ量が多すぎます！"));
        QCOMPARE(f.recorder.messages[0].title, QStringLiteral("アニメーションエラー"));
        QCOMPARE(f.recorder.messages[0].icon, QMessageBox::Critical);
        QVERIFY(!QFile::exists(gif));
    }

    void moreThan1001FramesAreRefusedBeforeGenerating() {
        AnimationFixture f;
        // A blinking flash of count 10 weighs 10 and makes 20 frames: 50 of
        // them make 1000 frames (weight 500), 51 make 1020.
        ScheduleEntry flash = entryOf(9, 2.0f, 10);
        flash[slot::FlashCount] = 10;
        AnimationSchedule s;
        for (int i = 0; i < 50; ++i) s[i] = flash;
        const QImage small = blockPicture(8, 4);
        const Run accepted = drive(f, s, DriverMode::Preview, QString(), {}, inputsOf(small, 8, 4));
        QCOMPARE(accepted.outcome.status, DriverOutcome::Status::Previewed);
        QCOMPARE(accepted.records.size(), 1000);
        s[50] = flash;
        const Run refused = drive(f, s, DriverMode::Preview, QString(), {}, inputsOf(small, 8, 4));
        QCOMPARE(refused.outcome.status, DriverOutcome::Status::Refused);
        QCOMPARE(refused.betweenFrames, 0);
        QCOMPARE(f.recorder.texts(), QStringList{QStringLiteral("フレーム数が多すぎます！（最大1001フレーム）")});
    }

    void theFrameTableStopsAt1001() {
        AnimationFixture f;
        const QString bmp = f.out(QStringLiteral("f.bmp"));
        QVERIFY(blockPicture(4, 4).save(bmp, "BMP"));
        FrameTable table(f.libraries.imageFormat, 1);
        const QByteArray path = QFile::encodeName(bmp);
        for (int i = 0; i < FrameTable::kCapacity; ++i) QCOMPARE(table.append(path, 5), FrameTable::Append::Added);
        QCOMPARE(table.append(path, 5), FrameTable::Append::Full);
        QCOMPARE(table.count(), 1001);
        QVERIFY(table.finish());
        QCOMPARE(table.append(QFile::encodeName(f.out(QStringLiteral("missing.bmp"))), 5),
                 FrameTable::Append::Full);
        table.release();
        QCOMPARE(table.append(QFile::encodeName(f.out(QStringLiteral("missing.bmp"))), 5),
                 FrameTable::Append::Unreadable);
        QCOMPARE(table.count(), 0);
    }

    void verticalWritingRefusesThePerCharacterKinds() {
        for (const int kind : {13, 14, 15}) {
            AnimationFixture f;
            f.state->style.Vertical = 1;
            const QString gif = f.out(QStringLiteral("v.gif"));
            const Run run = drive(f, scheduleOf({entryOf(3, 1.0f, 10), entryOf(kind, 1.0f, 10)}), DriverMode::Output, gif);
            QCOMPARE(run.outcome.status, DriverOutcome::Status::Refused);
            QCOMPARE(f.recorder.messages.size(), 1);
            QCOMPARE(f.recorder.messages[0].text,
                     QStringLiteral("縦書き書式での「ﾄﾞﾛｯﾌﾟ」「ｽﾗｲﾄﾞ」「ﾄﾗﾝﾌﾟ」には対応していません"));
            QCOMPARE(f.recorder.messages[0].title, QStringLiteral("エラー"));
            QCOMPARE(f.recorder.messages[0].icon, QMessageBox::Information);
            QVERIFY(!QFile::exists(gif));
        }
        // Other kinds play in vertical writing.
        AnimationFixture f;
        f.state->style.Vertical = 1;
        QCOMPARE(drive(f, scheduleOf({entryOf(3, 1.0f, 10)}), DriverMode::Preview, QString()).outcome.status,
                 DriverOutcome::Status::Previewed);
    }

    void moreThan100GlyphsAreRefusedForThePerCharacterKinds() {
        AnimationFixture f;
        AnimationRunInputs in = inputsOf(blockPicture(40, 20), 40, 20);
        in.text = QString(101, QLatin1Char('a'));
        EffectState effects;
        DriverHooks hooks;
        const AnimationSchedule s = scheduleOf({entryOf(14, 1.0f, 10)});
        const DriverOutcome o = runAnimationDriver(*f.state, in, s, 1, {}, effects, DriverMode::Preview, QString(), hooks);
        QCOMPARE(o.status, DriverOutcome::Status::Refused);
        QCOMPARE(f.recorder.texts(),
                 QStringList{QStringLiteral("文字数が多すぎます！（ﾄﾞﾛｯﾌﾟ・ｽﾗｲﾄﾞ・ﾄﾗﾝﾌﾟは100文字まで）")});
        // The same text with a kind that works on the whole picture plays.
        const AnimationSchedule whole = scheduleOf({entryOf(3, 1.0f, 10)});
        QCOMPARE(runAnimationDriver(*f.state, in, whole, 1, {}, effects, DriverMode::Preview, QString(), hooks).status,
                 DriverOutcome::Status::Previewed);
    }

    void backgroundTransparencySetsFlagsAndDisposal() {
        for (const int on : {0, 1}) {
            AnimationFixture f;
            AnimationSettings settings;
            settings.backTrans = on;
            const AnimationSchedule s = scheduleOf({entryOf(3, 0.5f, 10), entryOf(1, 1.0f, 10)});
            const Run run = drive(f, s, DriverMode::Preview, QString(), settings);
            QCOMPARE(run.records.size(), 6);
            for (const FrameRecord& r : run.records) {
                QCOMPARE(r.flags, on ? 0x1008u : 0x1000u);
                QCOMPARE(int(r.disposal), on ? 2 : 0);
            }
            // In the file: with transparency every frame's corner pixel is
            // its transparent index and the frame is disposed to background.
            // The writer may give the transparent pixels an index whose
            // table entry holds another colour the frame does not show.
            const QString gif = f.out(QStringLiteral("t.gif"));
            QCOMPARE(drive(f, s, DriverMode::Output, gif, settings).outcome.status, DriverOutcome::Status::Written);
            const auto decoded = decode(gif);
            QCOMPARE(decoded.frames.size(), size_t(6));
            for (const auto& frame : decoded.frames) {
                if (on) {
                    QCOMPARE(frame.disposal, 2);
                    QVERIFY(frame.transparent >= 0);
                    QCOMPARE(int(frame.indices[0]), frame.transparent);
                }
            }
        }
    }

    void loopCountReachesTheFile() {
        // imgctl writes "plays n times" as n - 1 repetitions (0 stays endless).
        for (const auto& [loops, field] : {std::pair{0, 0}, std::pair{3, 2}}) {
            AnimationFixture f;
            AnimationSettings settings;
            settings.loopCount = loops;
            const QString gif = f.out(QStringLiteral("loop.gif"));
            QCOMPARE(drive(f, scheduleOf({entryOf(3, 0.2f, 10)}), DriverMode::Output, gif, settings).outcome.status,
                     DriverOutcome::Status::Written);
            QCOMPARE(decode(gif).loopField, field);
        }
    }

    // Every kind through the driver: frames, delays and progress weights.
    // Kinds 5 to 19 play their own generators with the final counts.
    void everyKindHasItsFramesAndWeights_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("weights");
        QTest::addColumn<int>("total");
        // 2.0 s at 10 fps: n = 19, d = 10.
        QTest::newRow("1") << 1 << 1 << 1 << 1;
        QTest::newRow("2") << 2 << 1 << 1 << 1;
        QTest::newRow("3") << 3 << 20 << 20 << 20;
        QTest::newRow("5 splash-in: one more frame of weight 0") << 5 << 21 << 20 << 20;
        QTest::newRow("6") << 6 << 20 << 20 << 20;
        QTest::newRow("9 flash: count 2, weight 2") << 9 << 4 << 4 << 2;
        QTest::newRow("10") << 10 << 20 << 20 << 20;
        QTest::newRow("12 spin: n frames") << 12 << 19 << 19 << 20;
        QTest::newRow("13") << 13 << 20 << 20 << 20;
        QTest::newRow("16") << 16 << 20 << 20 << 20;
        QTest::newRow("18") << 18 << 20 << 20 << 20;
        QTest::newRow("19 free move weighs 2") << 19 << 20 << 40 << 40;
    }
    void everyKindHasItsFramesAndWeights() {
        QFETCH(int, kind);
        QFETCH(int, frames);
        QFETCH(int, weights);
        QFETCH(int, total);
        AnimationFixture f;
        const Run run = drive(f, scheduleOf({entryOf(kind, 2.0f, 10)}), DriverMode::Preview, QString());
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Previewed);
        QCOMPARE(run.records.size(), frames);
        QCOMPARE(run.progressDone, weights);
        QCOMPARE(run.progressTotal, int64_t{total});
        QCOMPARE(run.betweenFrames, frames);
    }

    void blinkingFlashDelaysFollowTheRatio() {
        // Count 2, ratio 4, 2.0 s: P = 100; dark round(100 x 8 / 12) = 67,
        // lit round(100 x 4 / 12) = 33.
        AnimationFixture f;
        const Run run = drive(f, scheduleOf({entryOf(9, 2.0f, 10)}), DriverMode::Preview, QString());
        QList<int> delays;
        for (const FrameRecord& r : run.records) delays << r.delay;
        QCOMPARE(delays, (QList<int>{67, 33, 67, 33}));
    }

    void everyBitmapIsReleased() {
        AnimationFixture f;
        const Run run = drive(f, scheduleOf({entryOf(3, 1.0f, 10), entryOf(2, 1.0f, 10)}), DriverMode::Preview, QString());
        QCOMPARE(run.records.size(), 11);
        for (const FrameRecord& r : run.records) {
            QVERIFY(r.dib != 0);
            QCOMPARE(f.libraries.imageFormat.DIBInfo(r.dib, nullptr, nullptr, nullptr), IMGCTL_ERR_HANDLE);
        }
    }

    void theBaseImageIsResizedToTheOutputSize() {
        AnimationFixture f;
        const QString gif = f.out(QStringLiteral("size.gif"));
        // 80 x 40 at 40 x 20; 2 x 2 samples average whole blocks, so the
        // black block stays black: pixel (20, 10) is in it.
        const Run run = drive(f, scheduleOf({entryOf(1, 1.0f, 10)}), DriverMode::Output, gif, {},
                              inputsOf(blockPicture(80, 40), 40, 20));
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Written);
        const auto decoded = decode(gif);
        QCOMPARE(decoded.width, 40);
        QCOMPARE(decoded.height, 20);
        const auto shown = imgctl_test::composeFrames(decoded);
        QCOMPARE(redAt(shown[0], 40, 20, 10), 0);
        QCOMPARE(redAt(shown[0], 40, 2, 2), 255);
    }

    void parallelReductionWritesTheSameFile() {
        AnimationFixture f;
        const AnimationSchedule s = scheduleOf({entryOf(3, 1.0f, 20), entryOf(4, 1.0f, 20)});
        const QImage picture = blockPicture(60, 30);
        const QString serial = f.out(QStringLiteral("serial.gif"));
        const QString parallel = f.out(QStringLiteral("parallel.gif"));
        QCOMPARE(drive(f, s, DriverMode::Output, serial, {}, inputsOf(picture, 60, 30), 0).outcome.status,
                 DriverOutcome::Status::Written);
        QCOMPARE(drive(f, s, DriverMode::Output, parallel, {}, inputsOf(picture, 60, 30), 3).outcome.status,
                 DriverOutcome::Status::Written);
        QFile a(serial), b(parallel);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }

    void aFileThatCannotBeWrittenIsReported() {
        AnimationFixture f;
        const QString gif = f.out(QStringLiteral("missing/a.gif"));
        const Run run = drive(f, scheduleOf({entryOf(1, 1.0f, 10)}), DriverMode::Output, gif);
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Failed);
        QCOMPARE(f.recorder.messages.size(), 1);
        QVERIFY(f.recorder.messages[0].text.startsWith(QStringLiteral("ファイルに書き込めませんでした")));
        QVERIFY(!QFile::exists(gif));
    }

    void aFrameTheEffectCannotWriteStopsTheRun() {
        // The work file's place is taken by a folder: the fade cannot write
        // its frame, and the previous frame must not be appended again.
        AnimationFixture f;
        QVERIFY(QDir(f.temp.path()).mkdir(QStringLiteral("GifAnimeW.bmp")));
        const QString gif = f.out(QStringLiteral("f.gif"));
        const Run run = drive(f, scheduleOf({entryOf(1, 1.0f, 10), entryOf(3, 1.0f, 10)}), DriverMode::Output, gif);
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Failed);
        QCOMPARE(f.recorder.texts(), QStringList{QStringLiteral("フレーム画像を作れませんでした")});
        QCOMPARE(run.betweenFrames, 1);  // the text still only
        QVERIFY(!QFile::exists(gif));
    }

    void anEmptyScheduleDoesNothing() {
        AnimationFixture f;
        const Run run = drive(f, AnimationSchedule{}, DriverMode::Output, f.out(QStringLiteral("e.gif")));
        QCOMPARE(run.outcome.status, DriverOutcome::Status::Nothing);
        QVERIFY(f.recorder.messages.isEmpty());
        QCOMPARE(run.progressTotal, int64_t{-1});
    }
};

QTEST_MAIN(DriverTest)
#include "driver_test.moc"
