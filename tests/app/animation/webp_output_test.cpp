// Animated WebP output through the real driver: chosen by the ".webp" name,
// frames at full colour with the GIF's delays and loop count, the
// background transparent with BackTrans; decoded with libwebp's own reader.
#include <QFile>
#include <QtTest>

#include <webp/demux.h>

#include "animation_driver.h"
#include "animation_fixture.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

struct DecodedWebP {
    int width = 0, height = 0, loopCount = -1;
    std::vector<std::vector<uint8_t>> frames;  // RGBA, top-down
    std::vector<int> ends;                     // end time of each frame, ms
};

DecodedWebP decodeWebP(const QString& path) {
    QFile f(path);
    DecodedWebP out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    const QByteArray bytes = f.readAll();
    WebPData data{reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &options);
    if (dec == nullptr) return out;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(dec, &info);
    out.width = int(info.canvas_width);
    out.height = int(info.canvas_height);
    out.loopCount = int(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(dec)) {
        uint8_t* buf = nullptr;
        int end = 0;
        if (!WebPAnimDecoderGetNext(dec, &buf, &end)) break;
        out.frames.emplace_back(buf, buf + size_t(out.width) * out.height * 4);
        out.ends.push_back(end);
    }
    WebPAnimDecoderDelete(dec);
    return out;
}

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
                // The first frame is all background; the others show the
                // block in the exact colour of the frame (lossless).
                QCOMPARE(int(block[3]), l == 0 && backTrans ? 0 : 255);
                if (block[3] == 255) QCOMPARE(int(block[0]), 255 - levels[l]);
                QCOMPARE(int(corner[3]), backTrans ? 0 : 255);
            }
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
