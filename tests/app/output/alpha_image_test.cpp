// The alpha pictures: hand-computed values on one-pixel and tiny images.
#include <QImage>
#include <QtTest>

#include "alpha_image.h"

using namespace vakuro;

namespace {

QImage pixel(int r, int g, int b) {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(r, g, b));
    return image;
}

QList<int> rgba(const QImage& image, int x = 0, int y = 0) {
    const uchar* p = image.constScanLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace

class AlphaImageTest : public QObject {
    Q_OBJECT
private slots:
    void solveAlphaTable() {
        struct Case {
            const char* what;
            QImage black, white;
            QList<int> want;
            AlphaFavour favour = AlphaFavour::Balanced;
        } cases[] = {
            // Background: the engine's black is red 1.
            {"background", pixel(1, 0, 0), pixel(255, 255, 255), {0, 0, 0, 0}},
            {"opaque", pixel(200, 100, 50), pixel(200, 100, 50), {200, 100, 50, 255}},
            // (200, 100, 50) at alpha 128 over red-1 black gives 100.9, 50.2,
            // 25.1 and over white 227.4, 177.2, 152.1, rounded.
            {"half", pixel(101, 50, 25), pixel(227, 177, 152), {200, 100, 50, 128}},
            // A coloured glow the engine adds to the background: on white it
            // saturates. Shares (255-200)/254 = .217, (255-100)/255 = .608,
            // (255-0)/255 = 1: alpha 1 - (.217 + 1)/2 = .392 -> 100; colours
            // (199.4 + 100) / 2 / .392 (clamped), (100 + 100) / 2 / .392,
            // (0 + 100) / 2 / .392 (127.49...: 100 / 255 is not exact).
            {"glow", pixel(200, 100, 0), pixel(255, 255, 255), {255, 255, 127, 100}},
            // Kept exact over black: alpha 1 - .217 -> 200; colours
            // (200 - .216) / .784, 100 / .784, 0.
            {"glow on black", pixel(200, 100, 0), pixel(255, 255, 255), {255, 128, 0, 200}, AlphaFavour::Black},
            // A dark shadow the engine takes from white (on black it stays at
            // 1): shares .528, .626, .744; alpha 1 - .528 -> 120; colours
            // from white (135 - 255 (1 - a)) / a: 0, 25 / .471, 55 / .471.
            {"shadow on white", pixel(1, 1, 1), pixel(135, 160, 190), {0, 53, 117, 120}, AlphaFavour::White},
        };
        for (const Case& c : cases) {
            const QImage out = solveAlpha(c.black, c.white, c.favour);
            QCOMPARE(out.format(), QImage::Format_RGBA8888);
            QVERIFY2(rgba(out) == c.want, qPrintable(QStringLiteral("%1: %2 %3 %4 %5").arg(QLatin1String(c.what))
                                                           .arg(rgba(out)[0]).arg(rgba(out)[1]).arg(rgba(out)[2]).arg(rgba(out)[3])));
        }
        QVERIFY(solveAlpha(pixel(0, 0, 0), QImage(2, 1, QImage::Format_RGB32)).isNull());
    }

    void solveAlphaReproducesBothBackgroundsWhereLinear() {
        // Every colour and alpha on a coarse grid, composited exactly as the
        // engine composites onto its two backgrounds, comes back within one
        // level over both.
        for (int a = 0; a <= 255; a += 17) {
            for (int v = 0; v <= 255; v += 15) {
                const int c[3] = {v, 255 - v, (v * 7) % 256};
                auto over = [&](int back, int ch) { return (c[ch] * a + back * (255 - a) + 127) / 255; };
                const QImage b = pixel(over(1, 0), over(0, 1), over(0, 2));
                const QImage w = pixel(over(255, 0), over(255, 1), over(255, 2));
                const QList<int> p = rgba(solveAlpha(b, w, AlphaFavour(a % 3)));
                for (int ch = 0; ch < 3; ++ch) {
                    const int back[2] = {0, 255};
                    const QImage refs[2] = {b, w};
                    for (int k = 0; k < 2; ++k) {
                        const int shown = (p[ch] * p[3] + back[k] * (255 - p[3]) + 127) / 255;
                        const QRgb ref = refs[k].pixel(0, 0);
                        const int want = ch == 0 ? qRed(ref) : ch == 1 ? qGreen(ref) : qBlue(ref);
                        QVERIFY2(std::abs(shown - want) <= 1, qPrintable(QStringLiteral("a %1 v %2 ch %3 back %4: %5 vs %6")
                                                                              .arg(a).arg(v).arg(ch).arg(back[k]).arg(shown).arg(want)));
                    }
                }
            }
        }
    }

    void coverageUnblendsTheEdge() {
        // A face of (40, 80, 120) with an outside colour of (200, 0, 0):
        // inside, outside, and a quarter-covered edge pixel
        // 0.25 face + 0.75 outside = (160, 20, 30).
        QImage opaque(3, 1, QImage::Format_RGB32);
        opaque.setPixel(0, 0, qRgb(40, 80, 120));
        opaque.setPixel(1, 0, qRgb(200, 0, 0));
        opaque.setPixel(2, 0, qRgb(160, 20, 30));
        QImage coverage(3, 1, QImage::Format_RGB32);
        coverage.setPixel(0, 0, qRgb(255, 255, 255));
        coverage.setPixel(1, 0, qRgb(0, 0, 0));
        coverage.setPixel(2, 0, qRgb(64, 64, 64));
        const QImage out = applyCoverage(opaque, coverage, 0x0000C8);  // red 200
        QCOMPARE(rgba(out, 0), (QList<int>{40, 80, 120, 255}));
        QCOMPARE(rgba(out, 1), (QList<int>{0, 0, 0, 0}));
        // (160 - 200 * 191/255) / (64/255) = 40.6; 20 / .251 = 79.7; 30 / .251 = 119.5
        QCOMPARE(rgba(out, 2), (QList<int>{41, 80, 120, 64}));
    }

    void matteFlattening() {
        QImage in(4, 1, QImage::Format_RGBA8888);
        const uchar px[4][4] = {{10, 20, 30, 0}, {10, 20, 30, 127}, {10, 20, 30, 128}, {255, 255, 255, 255}};
        for (int x = 0; x < 4; ++x) std::memcpy(in.scanLine(0) + 4 * x, px[x], 4);
        const int matte = 0x102030;  // red 0x30, green 0x20, blue 0x10
        const QImage out = flattenOnMatte(in, matte);
        QCOMPARE(out.pixel(0, 0), qRgb(0x30, 0x20, 0x10));  // transparent: exactly the matte
        QCOMPARE(out.pixel(1, 0), qRgb(0x30, 0x20, 0x10));  // alpha 127: still transparent
        // alpha 128: (10*128 + 48*127 + 127) / 255 = 29, (20*128 + 32*127 + 127)/255 = 26, (30*128+16*127+127)/255 = 23
        QCOMPARE(out.pixel(2, 0), qRgb(29, 26, 23));
        QCOMPARE(out.pixel(3, 0), qRgb(255, 255, 255));
        // A visible pixel that would land on the matte colour is kept apart.
        QImage same(1, 1, QImage::Format_RGBA8888);
        const uchar m[4] = {0x30, 0x20, 0x10, 255};
        std::memcpy(same.scanLine(0), m, 4);
        QCOMPARE(flattenOnMatte(same, matte).pixel(0, 0), qRgb(0x2F, 0x20, 0x10));
    }

    void opaqueHasFullAlpha() {
        const QImage out = opaqueRgba(pixel(1, 2, 3));
        QCOMPARE(rgba(out), (QList<int>{1, 2, 3, 255}));
    }
};

QTEST_GUILESS_MAIN(AlphaImageTest)
#include "alpha_image_test.moc"
