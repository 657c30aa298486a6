// The button painter: placement, shapes, outlines and shading.
#include <QtTest>

#include "button_painter.h"
#include "shared_routines.h"

using namespace vakuro;

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;

int at(const QImage& image, int x, int y) { return rgbToColourRef(image.pixel(x, y)); }

QImage canvas(int w, int h, int colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colourRefToRgb(colour));
    return image;
}

}  // namespace

class ButtonPainterTest : public QObject {
    Q_OBJECT
private slots:
    void inkMarginsOfAnEmptyImage() {
        const InkMargins m = inkMargins(canvas(20, 10, kWhite), kWhite);
        QCOMPARE(m.left, 20);
        QCOMPARE(m.right, 20);
        QCOMPARE(m.top, 10);
        QCOMPARE(m.bottom, 10);
    }

    void inkMarginsFindTheFirstInkedColumnsAndRows() {
        QImage text = canvas(20, 10, kWhite);
        text.setPixel(3, 6, qRgb(0, 0, 0));
        text.setPixel(15, 2, qRgb(0, 0, 0));
        const InkMargins m = inkMargins(text, kWhite);
        QCOMPARE(m.left, 3);
        QCOMPARE(m.right, 4);
        QCOMPARE(m.top, 2);
        QCOMPARE(m.bottom, 3);
    }

    void centringCorrectionCentresTheInk() {
        QImage text = canvas(20, 10, kWhite);
        for (int x = 0; x < 10; ++x)
            for (int y = 0; y < 10; ++y) text.setPixel(x, y, qRgb(0, 0, 0));
        // Without the correction the image's left edge is at (60 - 20) / 2 = 20.
        QImage plain = placeOnCanvas(text, 60, 10, kWhite, false);
        QCOMPARE(at(plain, 20, 5), kBlack);
        QCOMPARE(at(plain, 19, 5), kWhite);
        // With it the ink (10 wide, R - L = 10) moves by 5.
        QImage centred = placeOnCanvas(text, 60, 10, kWhite, true);
        QCOMPARE(at(centred, 25, 5), kBlack);
        QCOMPARE(at(centred, 24, 5), kWhite);
        QCOMPARE(at(centred, 34, 5), kBlack);
        QCOMPARE(at(centred, 35, 5), kWhite);
    }

    void emptyTextIsPlacedAsIfItsInkWereCentred() {
        // An empty text's margins (L = R = W, T = B = H) cancel out, so the
        // centring correction leaves it where plain centring puts it: the
        // canvas is the button's background, exactly as without the
        // correction. The same image with one inked corner pixel shows that
        // the correction does move a text that has ink: (R - L) / 2 = 9.5
        // and (B - T) / 2 = 4.5 bring the corner from (20, 0) to (30, 4).
        const QImage empty = canvas(20, 10, kWhite);
        const QImage centred = placeOnCanvas(empty, 60, 10, kWhite, true);
        QCOMPARE(centred, placeOnCanvas(empty, 60, 10, kWhite, false));
        QCOMPARE(centred, canvas(60, 10, kWhite));
        QImage text = empty;
        text.setPixel(0, 0, qRgb(1, 1, 1));
        const QImage moved = placeOnCanvas(text, 60, 10, kWhite, true);
        QCOMPARE(at(moved, 30, 4), 0x010101);
        QCOMPARE(at(moved, 20, 0), kWhite);
    }

    void roundButtonCornerHasTheOutsideColour() {
        QImage image = canvas(120, 30, kWhite);
        ButtonLook look;
        look.shape = ShapeRound;
        look.outline = OutlineNone;
        look.outside = 0x0000FF;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), 0x0000FF);
        QCOMPARE(at(image, 119, 0), 0x0000FF);
        QCOMPARE(at(image, 0, 29), 0x0000FF);
        QCOMPARE(at(image, 119, 29), 0x0000FF);
        // r = 15: the half-circles reach the ends at the middle rows.
        QCOMPARE(at(image, 0, 15), kWhite);
        QCOMPARE(at(image, 15, 0), kWhite);
        QCOMPARE(at(image, 60, 0), kWhite);
    }

    void squareButtonIsNeverCut() {
        QImage image = canvas(40, 20, kWhite);
        ButtonLook look;
        look.shape = ShapeSquare;
        look.outline = OutlineRaised;
        look.outlineWidth = 2;
        look.outside = 0x0000FF;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), kOutlineLight);
        QCOMPARE(at(image, 1, 1), kOutlineLight);
        QCOMPARE(at(image, 39, 19), kOutlineDark);
        QCOMPARE(at(image, 38, 18), kOutlineDark);
        QCOMPARE(at(image, 0, 19), kOutlineDark);
        QCOMPARE(at(image, 20, 10), kWhite);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) QVERIFY(at(image, x, y) != 0x0000FF);
    }

    void squareSunkenAndPipeOutlinesPixelByPixel() {
        // Worked by hand from the side order top, left, bottom, right of
        // each ring j. Sunken draws full-length sides (dark top and left,
        // light bottom and right, later sides over earlier ones); the pipe
        // draws ring j as the border of the rectangle j ... size - 1 - j in
        // table[j]. Three pipe rings: c = 1, v = 1, 0, 1, so colour 1
        // outside and inside and colour 2 between.
        // D dark 0x404040, L light 0xF0F0F0, A colour 1, B colour 2, . face.
        const struct {
            const char* name;
            int outline;
            int width;
            QStringList rows;
        } cases[] = {
            {"sunken", OutlineSunken, 2, {"DDDDDL", "DDDDLL", "DD..LL", "DLLLLL", "LLLLLL"}},
            {"pipe", OutlinePipe, 3,
             {"AAAAAAAA", "ABBBBBBA", "ABAAAABA", "ABA..ABA", "ABAAAABA", "ABBBBBBA", "AAAAAAAA"}},
        };
        const QHash<QChar, int> colours = {{u'D', kOutlineDark}, {u'L', kOutlineLight}, {u'A', 0xFF0000},
                                           {u'B', 0x00FFFF}, {u'.', kWhite}};
        for (const auto& c : cases) {
            const int w = int(c.rows[0].size());
            const int h = int(c.rows.size());
            QImage image = canvas(w, h, kWhite);
            ButtonLook look;
            look.shape = ShapeSquare;
            look.outline = c.outline;
            look.outlineWidth = c.width;
            look.colour1 = 0xFF0000;
            look.colour2 = 0x00FFFF;
            paintButton(image, kWhite, look);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    QVERIFY2(at(image, x, y) == colours.value(c.rows[y][x]),
                             qPrintable(QStringLiteral("%1 at (%2, %3): %4").arg(QLatin1String(c.name)).arg(x).arg(y)
                                            .arg(at(image, x, y), 6, 16, QLatin1Char('0'))));
        }
    }

    void diamondWithoutSmoothingHasSteppedEdges() {
        QImage image = canvas(40, 20, kWhite);
        ButtonLook look;
        look.shape = ShapeDiamond;
        look.outside = kBlack;
        look.smoothing = false;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), kBlack);
        QCOMPARE(at(image, 20, 0), kWhite);
        QCOMPARE(at(image, 19, 0), kBlack);
        QCOMPARE(at(image, 0, 10), kWhite);
        // Row 5: half-width 10, so x < 10 is outside and 10 is inside.
        QCOMPARE(at(image, 9, 5), kBlack);
        QCOMPARE(at(image, 10, 5), kWhite);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) QVERIFY(at(image, x, y) == kBlack || at(image, x, y) == kWhite);
    }

    void diamondWithSmoothingMixesTheEdges() {
        QImage image = canvas(40, 20, kWhite);
        ButtonLook look;
        look.shape = ShapeDiamond;
        look.outside = kBlack;
        look.smoothing = true;
        paintButton(image, kWhite, look);
        // Row 5: hw(5) = 10, hw(4) = 8, so t = (x - 10) / 2.
        QCOMPARE(at(image, 10, 5), kBlack);
        QCOMPARE(at(image, 11, 5), 0x808080);
        QCOMPARE(at(image, 12, 5), kWhite);
        QCOMPARE(at(image, 0, 0), kBlack);
        int mixed = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) mixed += at(image, x, y) != kBlack && at(image, x, y) != kWhite;
        QVERIFY(mixed > 10);
    }

    void diamondKeepsTextPixels() {
        QImage image = canvas(40, 20, kWhite);
        image.setPixel(0, 0, qRgb(0, 255, 0));
        ButtonLook look;
        look.shape = ShapeDiamond;
        look.outside = kBlack;
        look.smoothing = false;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), 0x00FF00);
    }

    void hexagonCutsFortyFiveDegreeEnds() {
        QImage image = canvas(60, 20, kWhite);
        ButtonLook look;
        look.shape = ShapeHexagon;
        look.outside = kBlack;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), kBlack);
        QCOMPARE(at(image, 9, 0), kBlack);
        QCOMPARE(at(image, 10, 0), kWhite);
        QCOMPARE(at(image, 0, 10), kWhite);
        QCOMPARE(at(image, 59, 0), kBlack);
        QCOMPARE(at(image, 30, 10), kWhite);
    }

    void pipeTableRunsFromColourOneToColourTwoAndBack() {
        const std::vector<int> table = pipeColourTable(20, 0x0000FF, 0xFF0000);
        QCOMPARE(int(table.size()), 20);
        QCOMPARE(table.front(), 0x0000FF);
        QCOMPARE(table.back(), 0x0000FF);
        QVERIFY((table[9] >> 16) > 200);
        QCOMPARE(pipeColourTable(1, 0x0000FF, 0xFF0000).size(), size_t(1));
    }

    void shadingOffsetsPerRow() {
        QCOMPARE(shadingStrength(1), 78);
        QCOMPARE(shadingStrength(5), 208);
        QCOMPARE(shadingStrength(0), 0);
        QCOMPARE(shadingOffset(0, 30, 78), 36);   // (0.5 - 1/30) * 78 = 36.4
        QCOMPARE(shadingOffset(14, 30, 78), 0);   // (0.5 - 15/30) * 78 = 0
        QCOMPARE(shadingOffset(29, 30, 78), -39); // (0.5 - 1) * 78
        QCOMPARE(shadingOffset(0, 4, 208), 52);   // 0.25 * 208
        QCOMPARE(shadingOffset(2, 4, 78), -20);   // -0.25 * 78 = -19.5, half to even
    }

    void shadingChangesOnlyTheFace() {
        QImage image = canvas(10, 30, 0x808080);
        image.setPixel(5, 0, qRgb(0x81, 0x80, 0x80));
        shadeButton(image, 0x808080, 1);
        QCOMPARE(at(image, 0, 0), 0xA4A4A4);
        QCOMPARE(at(image, 0, 14), 0x808080);
        QCOMPARE(at(image, 0, 29), 0x595959);
        QCOMPARE(at(image, 5, 0), 0x808081);
        QImage level0 = canvas(10, 30, 0x808080);
        shadeButton(level0, 0x808080, 0);
        QCOMPARE(at(level0, 0, 0), 0x808080);
    }

    void shadingClampsChannels() {
        QImage image = canvas(4, 4, 0xF0F0F0);
        shadeButton(image, 0xF0F0F0, 5);
        QCOMPARE(at(image, 0, 0), 0xFFFFFF);
    }

    void roundOutlineStaysInsideTheShape() {
        QImage image = canvas(240, 60, kWhite);
        ButtonLook look;
        look.shape = ShapeRound;
        look.outline = OutlineRaised;
        look.outlineWidth = 2;
        look.outside = kBlack;
        paintButton(image, kWhite, look);
        QCOMPARE(at(image, 0, 0), kBlack);
        QCOMPARE(at(image, 120, 0), kOutlineLight);
        QCOMPARE(at(image, 0, 30), kOutlineLight);
        QCOMPARE(at(image, 120, 30), kWhite);
    }
};

QTEST_MAIN(ButtonPainterTest)
#include "button_painter_test.moc"
