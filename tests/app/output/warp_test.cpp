// The output transform: the measure and draw passes on tiny images, with the
// expected columns computed by hand.
#include <QtTest>

#include <cmath>

#include "warp.h"

using namespace vakuro;

namespace {

// A source whose every pixel is distinct: red = column, green = row.
QImage numbered(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 7));
    return image;
}

// Red = 10 x column, green = step x row, blue 7.
QImage graded(int w, int h, int step) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb((10 * x) % 256, step * y, 7));
    return image;
}

constexpr QRgb kBack = 0xffc0c0c0;

bool sameImage(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff)) return false;
    return true;
}

}  // namespace

class WarpTest : public QObject {
    Q_OBJECT
private slots:
    void typeThreeNeutralCopies() {
        const QImage src = numbered(9, 7);
        QCOMPARE(warpHeight(3, 50, 50, 40, src.size()), 7);
        QVERIFY(sameImage(warpImage(src, 3, 50, 50, 40, kBack), src));
    }

    void chevronAndWaveWithoutHeightCopy() {
        const QImage src = numbered(11, 5);
        for (int type : {7, 8}) {
            QCOMPARE(warpHeight(type, 0, 37, 50, src.size()), 5);
            QVERIFY(sameImage(warpImage(src, type, 0, 37, 50, kBack), src));
        }
    }

    void archMiddleColumn() {
        // 200 x 100, P1 = P2 = 50: the middle column's top is
        // round(0.25 * 100 * 100 / 26) = round(96.15) = 96, every bottom 150.
        const WarpColumn middle = warpColumn(1, 50, 50, 50, 200, 100, 100);
        QCOMPARE(middle.top, 96);
        QCOMPARE(middle.bottom, 150);
        QCOMPARE(warpColumn(1, 50, 50, 50, 200, 100, 0).top, 0);
        for (int i = 0; i < 200; ++i) QCOMPARE(warpColumn(1, 50, 50, 50, 200, 100, i).bottom, 150);
        QCOMPARE(warpHeight(1, 50, 50, 50, QSize(200, 100)), 150);
        QCOMPARE(warpedSize(1, 50, 50, 50, QSize(200, 100)), QSize(200, 150));
    }

    void archDrawTiny() {
        // 4 x 2, P1 = P2 = 50: u = -0.5, -0.25, 0, 0.25; a = 0, 0.1875,
        // 0.25, 0.1875; top = round(a * 2 * 100 / 26) = 0, 1, 2, 1; bottom 3.
        // Source rows: green 0 above, 100 below.
        const QImage src = graded(4, 2, 100);
        const QImage out = warpImage(src, 1, 50, 50, 50, kBack);
        QCOMPARE(out.size(), QSize(4, 3));
        // Column 0: 2 rows stretched into 3, each destination row covering
        // 2/3 of a source row: row 0, half of each (50), row 1.
        QCOMPARE(out.pixel(0, 0), qRgb(0, 0, 7));
        QCOMPARE(out.pixel(0, 1), qRgb(0, 50, 7));
        QCOMPARE(out.pixel(0, 2), qRgb(0, 100, 7));
        // Column 1: rows 1..2 hold the source exactly; row 0 is background.
        QCOMPARE(out.pixel(1, 0), kBack);
        QCOMPARE(out.pixel(1, 1), src.pixel(1, 0));
        QCOMPARE(out.pixel(1, 2), src.pixel(1, 1));
        // Column 2: one row, the average of both source rows.
        QCOMPARE(out.pixel(2, 0), kBack);
        QCOMPARE(out.pixel(2, 1), kBack);
        QCOMPARE(out.pixel(2, 2), qRgb(20, 50, 7));
    }

    void slant() {
        // 100 x 100, P1 = P2 = P3 = 50: T = 110, left column 50..110, the
        // right columns approach 0..60.
        const WarpColumn left = warpColumn(4, 50, 50, 50, 100, 100, 0);
        QCOMPARE(left.top, 50);
        QCOMPARE(left.bottom, 110);
        const WarpColumn right = warpColumn(4, 50, 50, 50, 100, 100, 99);
        QCOMPARE(right.top, 0);      // round(110 - 49.5 - 60) = round(0.5) = 0
        QCOMPARE(right.bottom, 60);  // round(110 - 49.5) = round(60.5) = 60
        QCOMPARE(warpHeight(4, 50, 50, 50, QSize(100, 100)), 110);
        // Type 5 is the mirror image: its column at i has type 4's at W - i.
        QCOMPARE(warpColumn(5, 50, 50, 50, 100, 100, 1).top, warpColumn(4, 50, 50, 50, 100, 100, 99).top);
    }

    void slantDrawTiny() {
        // 2 x 10, P1 = P2 = P3 = 50: T = round(10 + 1) = 11.
        // i = 0: top round(11 - 5 - 1) = 5, bottom 11 (6 rows);
        // i = 1: H * i / W = 5: top round(11 - 2.5 - 6) = round(2.5) = 2,
        // bottom round(11 - 2.5) = round(8.5) = 8 (6 rows).
        const QImage src = graded(2, 10, 25);  // green 25 y
        QCOMPARE(warpHeight(4, 50, 50, 50, src.size()), 11);
        const QImage out = warpImage(src, 4, 50, 50, 50, kBack);
        QCOMPARE(out.size(), QSize(2, 11));
        for (int y = 0; y < 5; ++y) QCOMPARE(out.pixel(0, y), kBack);
        // 10 rows squeezed into 6: destination row k covers source rows
        // 10k/6 .. 10(k+1)/6; row 1 for example takes 1/5 of row 1, 3/5 of
        // row 2 and 1/5 of row 3: (25 + 150 + 75) / 5 = 50.
        const int green[] = {10, 50, 90, 135, 175, 215};
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(qGreen(out.pixel(0, 5 + k)), green[k]);
            QCOMPARE(qGreen(out.pixel(1, 2 + k)), green[k]);
            QCOMPARE(qRed(out.pixel(1, 2 + k)), 10);
        }
        QCOMPARE(out.pixel(1, 1), kBack);
        QCOMPARE(out.pixel(1, 8), kBack);
    }

    void wave() {
        // Type 8, P1 = 20, image 100 high: shifted between 0 and 20 rows.
        int low = 1000, high = -1;
        for (int i = 0; i < 64; ++i) {
            const WarpColumn c = warpColumn(8, 20, 0, 50, 64, 100, i);
            QCOMPARE(c.bottom - c.top, 100);
            low = std::min(low, c.top);
            high = std::max(high, c.top);
        }
        QCOMPARE(low, 0);
        QCOMPARE(high, 20);
        QVERIFY(warpHeight(8, 20, 0, 50, QSize(64, 100)) <= 120);
        // i = 16 of 64 with phase 0: sin(pi / 2) = 1, v = round(10 * 2) = 20.
        QCOMPARE(warpColumn(8, 20, 0, 50, 64, 100, 16).top, 20);
        // Each column is moved, not stretched.
        const QImage src = numbered(4, 3);
        // 4 x 3, P1 = 100, P2 = 0: v = round(1.5 * (sin(pi/2 * i) + 1)) = 2
        // (1.5 rounds to 2), 3, 2, 0 for i = 0, 1, 2, 3.
        const QImage out = warpImage(src, 8, 100, 0, 50, kBack);
        QCOMPARE(out.height(), 6);
        const int shift[] = {2, 3, 2, 0};
        for (int i = 0; i < 4; ++i)
            for (int y = 0; y < 6; ++y) {
                const int sy = y - shift[i];
                QCOMPARE(out.pixel(i, y), sy >= 0 && sy < 3 ? src.pixel(i, sy) : kBack);
            }
    }

    void chevronDrawTiny() {
        // 4 x 2, type 7, P1 = 100: v = round(2 * (1 - |2 i / 4 - 1|)) =
        // 0, 1, 2, 1.
        const QImage src = numbered(4, 2);
        const QImage out = warpImage(src, 7, 100, 0, 0, kBack);
        QCOMPARE(out.size(), QSize(4, 4));
        const int shift[] = {0, 1, 2, 1};
        for (int i = 0; i < 4; ++i)
            for (int y = 0; y < 4; ++y) {
                const int sy = y - shift[i];
                QCOMPARE(out.pixel(i, y), sy >= 0 && sy < 2 ? src.pixel(i, sy) : kBack);
            }
    }

    void bowlDrawTiny() {
        // Type 2, 4 x 2, P1 = P2 = 50: a = 0, 0.1875, 0.25, 0.1875; top 0;
        // bottom = round(2 - a * 2 * 100 / 26 + 2 * 0.5) = round(3),
        // round(1.558), round(1.077), round(1.558) = 3, 2, 1, 2.
        const QImage src = graded(4, 2, 100);
        QCOMPARE(warpHeight(2, 50, 50, 50, src.size()), 3);
        const QImage out = warpImage(src, 2, 50, 50, 50, kBack);
        QCOMPARE(out.size(), QSize(4, 3));
        // Column 0: two rows stretched into three (green 0, 50, 100).
        QCOMPARE(out.pixel(0, 0), qRgb(0, 0, 7));
        QCOMPARE(out.pixel(0, 1), qRgb(0, 50, 7));
        QCOMPARE(out.pixel(0, 2), qRgb(0, 100, 7));
        // Columns 1 and 3: copied to rows 0 and 1, background below.
        for (int x : {1, 3}) {
            QCOMPARE(out.pixel(x, 0), src.pixel(x, 0));
            QCOMPARE(out.pixel(x, 1), src.pixel(x, 1));
            QCOMPARE(out.pixel(x, 2), kBack);
        }
        // Column 2: both rows averaged into row 0.
        QCOMPARE(out.pixel(2, 0), qRgb(20, 50, 7));
        QCOMPARE(out.pixel(2, 1), kBack);
        QCOMPARE(out.pixel(2, 2), kBack);
    }

    void roofDrawTiny() {
        // Type 6, 4 x 2, P1 = 100, P2 = 50: top = round(2 * (1 - |2 i / 4 - 1|))
        // = 0, 1, 2, 1 (the peak drop in the middle); every bottom
        // round(2 * 0.5 + 2 + 1) = 4. Each column is stretched to its span.
        const QImage src = graded(4, 2, 100);
        QCOMPARE(warpHeight(6, 100, 50, 50, src.size()), 4);
        const QImage out = warpImage(src, 6, 100, 50, 50, kBack);
        QCOMPARE(out.size(), QSize(4, 4));
        // Column 0: 2 rows into 4, each row doubled.
        const int column0[] = {0, 0, 100, 100};
        for (int y = 0; y < 4; ++y) QCOMPARE(out.pixel(0, y), qRgb(0, column0[y], 7));
        // Columns 1 and 3: rows 1..3, 2 rows into 3 (green 0, 50, 100).
        for (int x : {1, 3}) {
            QCOMPARE(out.pixel(x, 0), kBack);
            QCOMPARE(out.pixel(x, 1), qRgb(10 * x, 0, 7));
            QCOMPARE(out.pixel(x, 2), qRgb(10 * x, 50, 7));
            QCOMPARE(out.pixel(x, 3), qRgb(10 * x, 100, 7));
        }
        // Column 2: rows 2..3, a copy.
        QCOMPARE(out.pixel(2, 0), kBack);
        QCOMPARE(out.pixel(2, 1), kBack);
        QCOMPARE(out.pixel(2, 2), src.pixel(2, 0));
        QCOMPARE(out.pixel(2, 3), src.pixel(2, 1));
    }

    void waveOfOneAndAHalfPeriodsDrawTiny() {
        // Type 9, 6 x 2, P1 = 100, P2 = 0: v = round(2 * 0.5 * (sin(3 pi i / 6) + 1))
        // = round(1 + sin(pi i / 2)) = 1, 2, 1, 0, 1, 2: two crests (i = 1
        // and 5) and one trough (i = 3) across the width. Type 8 on the same
        // picture has one period: round(1 + sin(pi i / 3)) = 1, 2, 2, 1, 0, 0.
        const QImage src = numbered(6, 2);
        QCOMPARE(warpHeight(9, 100, 0, 50, src.size()), 4);
        const QImage out = warpImage(src, 9, 100, 0, 50, kBack);
        QCOMPARE(out.size(), QSize(6, 4));
        const int shift[] = {1, 2, 1, 0, 1, 2};
        for (int i = 0; i < 6; ++i)
            for (int y = 0; y < 4; ++y) {
                const int sy = y - shift[i];
                QCOMPARE(out.pixel(i, y), sy >= 0 && sy < 2 ? src.pixel(i, sy) : kBack);
            }
        const int onePeriod[] = {1, 2, 2, 1, 0, 0};
        for (int i = 0; i < 6; ++i) QCOMPARE(warpColumn(8, 100, 0, 50, 6, 2, i).top, onePeriod[i]);
    }

    void noTransformStretches() {
        // 177 x 33, P1 = 50: round(49.5) = 50 (halves to even).
        QCOMPARE(warpHeight(0, 50, 50, 50, QSize(177, 33)), 50);
        const QImage src = numbered(177, 33);
        const QImage out = warpImage(graded(177, 33, 7), 0, 50, 50, 50, kBack);
        QCOMPARE(out.size(), QSize(177, 50));
        // Row k covers source rows 33k/50 .. 33(k+1)/50: row 0 is within
        // source row 0; row 1 takes 17/33 of row 0 and 16/33 of row 1
        // (green 112/33, 3); the last row is within source row 32 (224).
        for (int x : {5, 176}) {
            QCOMPARE(qGreen(out.pixel(x, 0)), 0);
            QCOMPARE(qGreen(out.pixel(x, 1)), 3);
            QCOMPARE(qGreen(out.pixel(x, 49)), 224);
            QCOMPARE(qRed(out.pixel(x, 20)), (10 * x) % 256);
            for (int y = 1; y < 50; ++y) QVERIFY(qGreen(out.pixel(x, y)) >= qGreen(out.pixel(x, y - 1)));
        }
        QCOMPARE(warpHeight(0, 0, 50, 50, QSize(177, 33)), 33);
        QVERIFY(sameImage(warpImage(src, 0, 0, 50, 50, kBack), src));
        // Other unknown types behave as type 0.
        QCOMPARE(warpHeight(12, 50, 50, 50, QSize(177, 33)), 50);
    }

    void measurePassOnlyClears() {
        const QImage src = numbered(5, 4);
        QImage dest(7, 6, QImage::Format_RGB32);
        dest.fill(0xff123456);
        QCOMPARE(warp(src, dest, 1, 50, 50, 50, 0xff000000, false), 6);
        // Cleared over the source's width and the full height; the rest kept.
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 5; ++x) QCOMPARE(dest.pixel(x, y), 0xff000000u);
            QCOMPARE(dest.pixel(5, y), 0xff123456u);
        }
    }

    void degenerateColumnsAreSafe() {
        // Type 4 with P1 above P2 + P3 puts tops above the canvas, and
        // type 3 at its extremes makes columns with no height: nothing is
        // written outside the canvas and nothing fails.
        const QImage src = numbered(30, 20);
        for (int type = 0; type <= 9; ++type)
            for (int p1 : {0, 100})
                for (int p2 : {0, 100})
                    for (int p3 : {0, 100}) {
                        const QImage out = warpImage(src, type, p1, p2, p3, kBack);
                        QCOMPARE(out.height(), warpHeight(type, p1, p2, p3, src.size()));
                    }
        QImage small(30, 3, QImage::Format_RGB32);
        QCOMPARE(warp(src, small, 9, 100, 30, 50, kBack, true), warpHeight(9, 100, 30, 50, src.size()));
        QCOMPARE(warpHeight(1, 50, 50, 50, QSize(0, 10)), 0);
        QVERIFY(warpImage(QImage(), 1, 50, 50, 50, kBack).isNull());
    }

    void pictureOfEveryType() {
        // Writes every type on a banner with a grid, for a look, when
        // VAKURO_LOOK names a folder.
        const QString folder = qEnvironmentVariable("VAKURO_LOOK");
        if (folder.isEmpty()) QSKIP("VAKURO_LOOK is not set");
        QImage banner(240, 60, QImage::Format_RGB32);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 240; ++x) {
                const bool line = x % 20 == 0 || y % 20 == 0 || y == 59 || x == 239;
                banner.setPixel(x, y, line ? qRgb(20, 20, 60) : qRgb(255 - x / 2, 80 + y * 2, 60 + x / 2));
            }
        const QString sourcePath = qEnvironmentVariable("VAKURO_LOOK_SOURCE");
        if (!sourcePath.isEmpty()) banner = QImage(sourcePath);
        QVERIFY(!banner.isNull());
        for (int type = 0; type <= 9; ++type)
            warpImage(banner, type, 50, 50, 50, qRgb(255, 255, 255))
                .save(QStringLiteral("%1/warp_type%2.png").arg(folder).arg(type));
    }
};

QTEST_GUILESS_MAIN(WarpTest)
#include "warp_test.moc"
