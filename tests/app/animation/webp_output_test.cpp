// Animated WebP output through the real driver: chosen by the ".webp" name,
// frames at full colour with the GIF's delays and loop count, with BackTrans
// real alpha from a pass on black and a pass on white; decoded with libwebp's
// own reader.
#include <QFile>
#include <QtTest>

#include "alpha_image.h"
#include "animation_driver.h"
#include "animation_fixture.h"
#include "render_pipeline.h"
#include "webp_decoding.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

DriverOutcome drive(AnimationFixture& f, const AnimationSchedule& schedule, const QString& path,
                    const AnimationSettings& settings) {
    AnimationRunInputs in;
    in.text = QStringLiteral("ABC");
    in.baseRendering = blockPicture(40, 20);
    in.outputWidth = 40;
    in.outputHeight = 20;
    in.widthScale = 1.0;
    EffectState effects;
    DriverHooks hooks;
    return runAnimationDriver(*f.state, in, schedule, schedule.rowCount(), settings, effects, DriverMode::Output, path,
                              hooks);
}

// The text "A" in the pinned font, without a shadow (so that every pixel is
// linear in the background), rendered by the engine on the style's
// background and offered on any other.
AnimationRunInputs realTextInputs(AnimationFixture& f) {
    storeFontName(f.state->style, QStringLiteral("IPAGothic"), true);
    f.state->style.ShadowType = 0;
    AnimationRunInputs in;
    in.text = QStringLiteral("A");
    in.renderOnBackground = engineBaseRenderer(*f.state, in.text);
    in.baseRendering = in.renderOnBackground(f.state->style.BackColor);
    in.outputWidth = in.baseRendering.width() / 2;
    in.outputHeight = in.baseRendering.height() / 2;
    in.widthScale = 0.5;
    return in;
}

DriverOutcome driveWith(AnimationFixture& f, const AnimationRunInputs& in, const AnimationSchedule& schedule,
                        const QString& path, const AnimationSettings& settings, EffectState& effects) {
    DriverHooks hooks;
    return runAnimationDriver(*f.state, in, schedule, schedule.rowCount(), settings, effects, DriverMode::Output, path,
                              hooks);
}

// The opaque WebP of the same schedule on background back (the style's
// BackColor and the base rendering both on back, BackTrans off): what a
// pass of the transparent output makes.
DecodedWebP opaquePass(AnimationFixture& f, AnimationRunInputs in, const AnimationSchedule& schedule, int back,
                       const QString& name) {
    const int saved = f.state->style.BackColor;
    f.state->style.BackColor = back;
    in.baseRendering = in.renderOnBackground ? in.renderOnBackground(back) : in.baseRendering;
    in.renderOnBackground = {};
    EffectState effects;
    const QString path = f.out(name);
    const DriverOutcome o = driveWith(f, in, schedule, path, {}, effects);
    f.state->style.BackColor = saved;
    return o.status == DriverOutcome::Status::Written ? decodeWebP(path) : DecodedWebP{};
}

// The frame shown at time t (milliseconds from the start).
const std::vector<uint8_t>& frameAt(const DecodedWebP& d, int t) {
    static const std::vector<uint8_t> none;
    if (d.frames.size() == 1) return d.frames[0];  // a still picture has no times
    for (size_t i = 0; i < d.frames.size(); ++i)
        if (d.ends[i] > t) return d.frames[i];
    return none;
}

// The largest difference, over every channel, between the straight-alpha
// frame composited over back and the opaque frame.
int compositeError(const std::vector<uint8_t>& rgba, const std::vector<uint8_t>& opaque, int back) {
    if (rgba.size() != opaque.size()) return 999;
    const int k[3] = {back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF};
    int worst = 0;
    for (size_t p = 0; p + 3 < rgba.size(); p += 4) {
        const double a = rgba[p + 3] / 255.0;
        for (int c = 0; c < 3; ++c) {
            const double composite = rgba[p + size_t(c)] * a + k[c] * (1 - a);
            worst = std::max(worst, int(std::lround(std::abs(composite - opaque[p + size_t(c)]))));
        }
    }
    return worst;
}

}  // namespace

class WebPOutputTest : public QObject {
    Q_OBJECT
private slots:
    void nameChoosesTheFormat() {
        QVERIFY(isWebPPath(QStringLiteral("/x/a.webp")));
        QVERIFY(isWebPPath(QStringLiteral("/x/a.WebP")));
        QVERIFY(!isWebPPath(QStringLiteral("/x/a.gif")));
        QVERIFY(!isWebPPath(QStringLiteral("/x/webp")));
    }

    void fadeAsLosslessWebP() {
        // The fade's levels (see the driver test): black shows 255 - level.
        const int levels[20] = {0, 13, 27, 40, 54, 67, 81, 94, 107, 121, 134, 148, 161, 174, 188, 201, 215, 228, 242, 255};
        for (const int backTrans : {0, 1}) {
            AnimationFixture f;
            AnimationSettings settings;
            settings.loopCount = 3;
            settings.backTrans = backTrans;
            const QString path = f.out(QStringLiteral("fade.webp"));
            QCOMPARE(drive(f, scheduleOf({entryOf(3, 2.0f, 10)}), path, settings).status,
                     DriverOutcome::Status::Written);
            const DecodedWebP d = decodeWebP(path);
            QCOMPARE(d.width, 40);
            QCOMPARE(d.height, 20);
            QCOMPARE(d.loopCount, 3);
            QCOMPARE(d.frames.size(), size_t(20));
            for (int l = 0; l < 20; ++l) {
                QCOMPARE(d.ends[size_t(l)], 100 * (l + 1));
                const uint8_t* block = &d.frames[size_t(l)][(size_t(10) * 40 + 20) * 4];
                const uint8_t* corner = &d.frames[size_t(l)][(size_t(1) * 40 + 1) * 4];
                // Opaque, the block shows the exact colour of the frame
                // (lossless). With BackTrans the background is clear and the
                // block fades in from clear: its alpha is the level, its
                // colour black.
                if (!backTrans) {
                    QCOMPARE(int(block[3]), 255);
                    QCOMPARE(int(block[0]), 255 - levels[l]);
                } else {
                    QVERIFY2(std::abs(int(block[3]) - levels[l]) <= 1, qPrintable(QString::number(block[3])));
                    if (block[3] >= 64) QVERIFY(block[0] <= 2 && block[1] <= 2 && block[2] <= 2);
                }
                QCOMPARE(int(corner[3]), backTrans ? 0 : 255);
            }
        }
    }

    void backTransGivesRealAlpha() {
        // A still title and a fade in, on black and on white: the alpha of
        // each frame reproduces both passes.
        AnimationFixture f;
        const AnimationRunInputs in = realTextInputs(f);
        QVERIFY(!in.baseRendering.isNull());
        const AnimationSchedule schedule = scheduleOf({entryOf(1, 0.5f, 4), entryOf(3, 1.0f, 5)});
        AnimationSettings on;
        on.backTrans = 1;
        EffectState effects;
        const QString path = f.out(QStringLiteral("alpha.webp"));
        QCOMPARE(driveWith(f, in, schedule, path, on, effects).status, DriverOutcome::Status::Written);
        const DecodedWebP d = decodeWebP(path);
        const QString offPath = f.out(QStringLiteral("off.webp"));
        QCOMPARE(driveWith(f, in, schedule, offPath, {}, effects).status, DriverOutcome::Status::Written);
        const DecodedWebP off = decodeWebP(offPath);
        const DecodedWebP black = opaquePass(f, in, schedule, kAlphaBlack, QStringLiteral("black.webp"));
        const DecodedWebP white = opaquePass(f, in, schedule, kAlphaWhite, QStringLiteral("white.webp"));

        // Frames and durations as without BackTrans; the file says it has alpha.
        QVERIFY(d.frames.size() >= 3);
        QCOMPARE(d.frames.size(), off.frames.size());
        QCOMPARE(d.ends, off.ends);
        QCOMPARE(d.frames.size(), black.frames.size());
        QCOMPARE(d.frames.size(), white.frames.size());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.mid(12, 4), QByteArray("VP8X"));
        QVERIFY(bytes[20] & 0x10);

        // The still frame: clear background, opaque ink, soft edges.
        const std::vector<uint8_t>& still = d.frames[0];
        int clear = 0, soft = 0, opaque = 0;
        for (size_t p = 3; p < still.size(); p += 4) (still[p] == 0 ? clear : still[p] == 255 ? opaque : soft)++;
        QCOMPARE(int(still[3]), 0);                                          // the corner
        QCOMPARE(int(still[still.size() - 1]), 0);
        QVERIFY2(soft > 20, qPrintable(QStringLiteral("%1 soft pixels").arg(soft)));
        QVERIFY2(opaque > 50, qPrintable(QStringLiteral("%1 opaque pixels").arg(opaque)));
        QVERIFY(clear > opaque);

        // The fade starts from the background alone, which is now clear.
        const size_t fadeStart = d.frames.size() - 5;
        int most = 0;
        for (size_t p = 3; p < d.frames[fadeStart].size(); p += 4) most = std::max(most, int(d.frames[fadeStart][p]));
        QCOMPARE(most, 0);

        // Lossy at quality 90: the alpha is kept as it is.
        AnimationSettings lossy = on;
        lossy.webpQuality = 90;
        const QString lossyPath = f.out(QStringLiteral("alpha90.webp"));
        QCOMPARE(driveWith(f, in, schedule, lossyPath, lossy, effects).status, DriverOutcome::Status::Written);
        const DecodedWebP q = decodeWebP(lossyPath);
        QCOMPARE(q.ends, d.ends);
        for (size_t i = 0; i < d.frames.size(); ++i)
            for (size_t p = 3; p < d.frames[i].size(); p += 4) QCOMPARE(q.frames[i][p], d.frames[i][p]);

        // Over black and over white every frame is the pass's own picture.
        for (size_t i = 0; i < d.frames.size(); ++i) {
            QVERIFY2(compositeError(d.frames[i], black.frames[i], kAlphaBlack) <= 1, qPrintable(QString::number(i)));
            QVERIFY2(compositeError(d.frames[i], white.frames[i], kAlphaWhite) <= 1, qPrintable(QString::number(i)));
        }
    }

    void everyKindMakesTheSameFramesInBothPasses() {
        // Every kind, about two frames long: the two passes agree (the run
        // is written with the frames and time of the opaque run) and each
        // frame over black and over white is the opaque run on that
        // background (only over black for the kinds that add light).
        AnimationFixture f;
        const AnimationRunInputs in = realTextInputs(f);
        for (int kind = 1; kind <= 19; ++kind) {
            const AnimationSchedule schedule = scheduleOf({entryOf(kind, 0.4f, 5)});
            AnimationSettings on;
            on.backTrans = 1;
            EffectState effects;
            animationRandom().seed(11);
            const QString path = f.out(QStringLiteral("k%1.webp").arg(kind));
            const DriverOutcome alpha = driveWith(f, in, schedule, path, on, effects);
            QCOMPARE(alpha.status, DriverOutcome::Status::Written);
            QCOMPARE(alpha.skippedFrames, 0);
            EffectState offEffects;
            animationRandom().seed(11);
            const QString offPath = f.out(QStringLiteral("k%1-off.webp").arg(kind));
            const DriverOutcome off = driveWith(f, in, schedule, offPath, {}, offEffects);
            QCOMPARE(alpha.frames, off.frames);
            // The encoder merges equal neighbours, which may differ between
            // the files (and a single picture is written as a still, without
            // time): the whole time is the same.
            const DecodedWebP d = decodeWebP(path);
            const DecodedWebP opaque = decodeWebP(offPath);
            QVERIFY(!d.frames.empty() && !opaque.frames.empty());
            if (d.frames.size() > 1 && opaque.frames.size() > 1) QCOMPARE(d.ends.back(), opaque.ends.back());
            animationRandom().seed(11);
            const DecodedWebP black = opaquePass(f, in, schedule, kAlphaBlack, QStringLiteral("k%1-b.webp").arg(kind));
            animationRandom().seed(11);
            const DecodedWebP white = opaquePass(f, in, schedule, kAlphaWhite, QStringLiteral("k%1-w.webp").arg(kind));
            int worstBlack = 0, worstWhite = 0;
            for (size_t i = 0; i < d.frames.size(); ++i) {
                const int t = i == 0 ? 0 : d.ends[i - 1];
                worstBlack = std::max(worstBlack, compositeError(d.frames[i], frameAt(black, t), kAlphaBlack));
                worstWhite = std::max(worstWhite, compositeError(d.frames[i], frameAt(white, t), kAlphaWhite));
            }
            // The kinds that add light are kept exact over black.
            const bool light = kind == 7 || kind == 8 || kind == 9 || kind == 10 || kind == 16;
            QVERIFY2(worstBlack <= 1 && (light || worstWhite <= 1),
                     qPrintable(QStringLiteral("kind %1: over black %2, over white %3").arg(kind).arg(worstBlack).arg(worstWhite)));
        }
    }

    void bothPassesDrawTheSameRandomNumbers() {
        // The snow of the transparent output ends where one opaque pass
        // ends, and the random source is left as one pass leaves it.
        AnimationFixture f;
        AnimationRunInputs in;
        in.text = QStringLiteral("ABC");
        in.baseRendering = blockPicture(40, 20);
        in.outputWidth = 40;
        in.outputHeight = 20;
        in.widthScale = 1.0;
        const AnimationSchedule schedule = scheduleOf({entryOf(10, 1.0f, 10)});
        AnimationSettings on;
        on.backTrans = 1;
        EffectState alphaEffects;
        animationRandom().seed(7);
        QCOMPARE(driveWith(f, in, schedule, f.out(QStringLiteral("snow.webp")), on, alphaEffects).status,
                 DriverOutcome::Status::Written);
        const double nextAfterAlpha = animationRandom().next();
        EffectState onceEffects;
        animationRandom().seed(7);
        QCOMPARE(driveWith(f, in, schedule, f.out(QStringLiteral("once.webp")), {}, onceEffects).status,
                 DriverOutcome::Status::Written);
        QCOMPARE(animationRandom().next(), nextAfterAlpha);
        QVERIFY(!alphaEffects.particles.empty());
        QCOMPARE(alphaEffects.particles.size(), onceEffects.particles.size());
        for (size_t i = 0; i < onceEffects.particles.size(); ++i) {
            QCOMPARE(alphaEffects.particles[i].x, onceEffects.particles[i].x);
            QCOMPARE(alphaEffects.particles[i].y, onceEffects.particles[i].y);
            QCOMPARE(alphaEffects.particles[i].value, onceEffects.particles[i].value);
        }
    }

    void lossyQualityMakesASmallerFile() {
        AnimationFixture f;
        AnimationSettings lossless;
        AnimationSettings lossy;
        lossy.webpQuality = 50;
        const QString a = f.out(QStringLiteral("a.webp"));
        const QString b = f.out(QStringLiteral("b.webp"));
        const AnimationSchedule schedule = scheduleOf({entryOf(3, 2.0f, 10)});
        QCOMPARE(drive(f, schedule, a, lossless).status, DriverOutcome::Status::Written);
        QCOMPARE(drive(f, schedule, b, lossy).status, DriverOutcome::Status::Written);
        QCOMPARE(decodeWebP(b).frames.size(), size_t(20));
        QVERIFY(QFile(a).size() != QFile(b).size());
    }
};

QTEST_MAIN(WebPOutputTest)
#include "webp_output_test.moc"
