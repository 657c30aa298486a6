// The file output's transparent formats driven through the real dialog:
// PNG with alpha from the engine (plain, warped, on a button, opaque), the
// GIF's matte, and the command line's .png.
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include <cstring>

#include "clipboard_output.h"
#include "colour_swatch.h"
#include "file_output_dialog.h"
#include "file_output_fixture.h"
#include "settings_store.h"

using namespace vakuro;
using namespace vakuro::testing;

namespace {

QImage decode(const QString& path, QByteArray* format = nullptr) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (format) *format = reader.format();
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Counts of fully transparent, partly transparent and opaque pixels.
struct AlphaCounts {
    int clear = 0, partial = 0, opaque = 0;
};
AlphaCounts countAlpha(const QImage& image) {
    AlphaCounts c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            (a == 0 ? c.clear : a == 255 ? c.opaque : c.partial)++;
        }
    return c;
}

void pinFont(FileOutputFixture& f) {
    std::memset(f.state->style.FontName, 0, sizeof f.state->style.FontName);
    std::strcpy(f.state->style.FontName, "IPAGothic");
    f.host.setText(QStringLiteral("ソモロ"));
}

bool writeWith(FileOutputFixture& f, int format, const QString& name, int w, int h,
               const std::function<void(FileOutputDialog&)>& adjust = {}) {
    FileOutputDialog d(*f.state, nullptr);
    d.load();
    d.formatList()->setCurrentIndex(format);
    d.nameField()->setText(f.out(name));
    d.widthField()->setText(QString::number(w));
    d.heightField()->setText(QString::number(h));
    if (adjust) adjust(d);
    return d.runOutput();
}

}  // namespace

class TransparentOutputTest : public QObject {
    Q_OBJECT
private slots:
    void pngIsListedAndNamed() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni("[Setting]\r\nFileOutFileFormat=3\r\nFileOutPreView=0\r\n");
        FileOutputDialog d(*f.state, nullptr);
        d.load();
        QCOMPARE(d.formatList()->itemText(3), QStringLiteral("PNG"));
        QCOMPARE(d.formatList()->currentIndex(), 3);
        QVERIFY(d.nameField()->text().endsWith(QStringLiteral(".PNG")));
        QVERIFY(d.transparencyBox()->isEnabled());
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.gif"), 3), QStringLiteral("/x/a.PNG"));
        // The formats of old leave ".PNG" alone, as they leave every other name.
        QCOMPARE(FileOutputDialog::nameForFormat(QStringLiteral("/x/a.PNG"), 0), QStringLiteral("/x/a.PNG"));
        // The matte belongs to the transparent GIF only.
        QVERIFY(!d.matteBox()->isEnabled());
        d.formatList()->setCurrentIndex(1);
        d.transparencyBox()->setChecked(true);
        QVERIFY(d.matteBox()->isEnabled());
        QVERIFY(!d.matteColour()->isEnabled());
        d.matteBox()->setChecked(true);
        QVERIFY(d.matteColour()->isEnabled());
    }

    void pngHasAlphaFromTheEngine() {
        struct Case {
            const char* what;
            QByteArray ini;
            int warp;  // transform type
        } cases[] = {
            {"plain", "FileOutTransBack=1\r\n", 0},
            {"wave", "FileOutTransBack=1\r\nTranslateType=8\r\nTranslateP1=40\r\nTranslateP2=0\r\n", 8},
        };
        for (const Case& c : cases) {
            FileOutputFixture f;
            QVERIFY(f.bound);
            pinFont(f);
            f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\n" + c.ini);
            MessageRecorder messages;
            QVERIFY2(writeWith(f, 3, QStringLiteral("t.PNG"), 240, 80), c.what);
            QByteArray kind;
            const QImage png = decode(f.out(QStringLiteral("t.PNG")), &kind);
            QCOMPARE(kind, QByteArray("png"));
            QCOMPARE(png.width(), 240);
            // The wave shifts columns down by up to 40 % of the height.
            QVERIFY2(c.warp == 0 ? png.height() == 80 : png.height() > 100, c.what);
            const AlphaCounts a = countAlpha(png);
            QVERIFY2(a.clear > 0 && a.opaque > 0 && a.partial > 0, c.what);
            // The corners are background: transparent.
            QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(png.pixel(239, png.height() - 1)), 0);
            QVERIFY(messages.messages.isEmpty());
        }
    }

    void pngWithoutTransparencyIsTheOpaquePicture() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\nFileOutTransBack=0\r\n");
        QVERIFY(writeWith(f, 3, QStringLiteral("o.PNG"), 300, 150));
        QVERIFY(writeWith(f, 0, QStringLiteral("o.BMP"), 300, 150));
        const QImage png = decode(f.out(QStringLiteral("o.PNG")));
        const QImage bmp = decode(f.out(QStringLiteral("o.BMP")));
        QCOMPARE(countAlpha(png).opaque, 300 * 150);
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), bmp.convertToFormat(QImage::Format_RGB32));
    }

    void pngButtonIsTransparentOutsideItsShape() {
        FileOutputFixture f(textPicture(100, 40));
        QVERIFY(f.bound);
        for (int shape = 0; shape < 4; ++shape) {
            f.writeIni("[Setting]\r\nFileOutButton=1\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\nFileOutTransBack=1\r\n"
                       "FileOutButtonWid=140\r\nFileOutButtonHi=50\r\nFileOutSmooth=1\r\n"
                       "FileOutButtonBackColor=255\r\nFileOutButtonEffect=1\r\nFileOutButtonEffectMode=" +
                       QByteArray::number(shape) + "\r\n");
            MessageRecorder messages;
            const QString name = QStringLiteral("b%1.PNG").arg(shape);
            QVERIFY(writeWith(f, 3, name, 100, 40));
            const QImage png = decode(f.out(name));
            QCOMPARE(png.size(), QSize(140, 50));
            const AlphaCounts a = countAlpha(png);
            QCOMPARE(qAlpha(png.pixel(70, 25)), 255);
            if (shape == 0) {
                QCOMPARE(a.opaque, 140 * 50);
            } else {
                QCOMPARE(qAlpha(png.pixel(0, 0)), 0);
                // The round (drawn at twice the size and reduced) and the
                // smoothed diamond have soft edges; the hexagon's are hard.
                QVERIFY2(shape == 3 ? a.partial == 0 : a.partial > 10, qPrintable(QString::number(shape)));
                // No trace of the outside colour (red) on a visible pixel.
                for (int y = 0; y < 50; ++y)
                    for (int x = 0; x < 140; ++x) {
                        const QRgb p = png.pixel(x, y);
                        if (qAlpha(p) > 0) QVERIFY2(!(qRed(p) > 200 && qGreen(p) < 60), qPrintable(QStringLiteral("%1 %2,%3").arg(shape).arg(x).arg(y)));
                    }
            }
        }
    }

    void gifMatteDefaultIsTodaysFileAndAnotherMatteFlattens() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        pinFont(f);
        // A glow-free title on a white background, written for a dark page.
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=0\r\nFileOutTransBack=1\r\n");
        QVERIFY(writeWith(f, 1, QStringLiteral("plain.GIF"), 240, 80));
        QVERIFY(writeWith(f, 1, QStringLiteral("back.GIF"), 240, 80, [](FileOutputDialog& d) {
            d.matteBox()->setChecked(true);
            d.matteColour()->setColour(0xFFFFFF);  // the background colour itself
        }));
        QCOMPARE(bytesOf(f.out(QStringLiteral("back.GIF"))), bytesOf(f.out(QStringLiteral("plain.GIF"))));
        QVERIFY(writeWith(f, 1, QStringLiteral("dark.GIF"), 240, 80, [](FileOutputDialog& d) {
            d.matteBox()->setChecked(true);
            d.matteColour()->setColour(0x202020);
        }));
        QVERIFY(bytesOf(f.out(QStringLiteral("dark.GIF"))) != bytesOf(f.out(QStringLiteral("plain.GIF"))));
        const QImage dark = decode(f.out(QStringLiteral("dark.GIF")));
        QCOMPARE(dark.size(), QSize(240, 80));
        const AlphaCounts a = countAlpha(dark);
        QVERIFY(a.clear > 0 && a.opaque > 0);
        QCOMPARE(qAlpha(dark.pixel(0, 0)), 0);
        // The matte setting is stored.
        QCOMPARE(IniReadInt(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("FileOutMatte"), 0), 1);
        QCOMPARE(IniReadInt(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("FileOutMatteColor"), 0), 0x202020);
    }

    void clipboardOffersPngWithAlphaBesideTheBitmap() {
        QImage opaque(3, 1, QImage::Format_RGB32);
        opaque.fill(qRgb(10, 20, 30));
        QImage clear(3, 1, QImage::Format_RGBA8888);
        const uchar px[12] = {10, 20, 30, 255, 10, 20, 30, 128, 0, 0, 0, 0};
        std::memcpy(clear.scanLine(0), px, 12);
        std::unique_ptr<QMimeData> data(clipboardContent(opaque, false, QString(), clear));
        QVERIFY(data->hasImage());
        QVERIFY(data->hasFormat(QStringLiteral("image/png")));
        const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(png.pixel(0, 0)), 255);
        QCOMPARE(qAlpha(png.pixel(1, 0)), 128);
        QCOMPARE(qAlpha(png.pixel(2, 0)), 0);
        QCOMPARE(qRed(png.pixel(1, 0)), 10);
        // The bitmap stays the opaque picture; without a transparent picture
        // no PNG is offered by us.
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).pixel(2, 0), qRgb(10, 20, 30));
        std::unique_ptr<QMimeData> plain(clipboardContent(opaque, false, QString()));
        QVERIFY(!plain->formats().contains(QStringLiteral("image/png")));
    }

    void commandLinePngExtensionChoosesPng() {
        FileOutputFixture f;
        QVERIFY(f.bound);
        f.writeIni("[Setting]\r\nFileOutButton=0\r\nFileOutRateFlg=0\r\nFileOutPreView=1\r\nFileOutFileFormat=0\r\n");
        MessageRecorder messages;
        QVERIFY(runCommandLineOutput(*f.state, f.out(QStringLiteral("cli.png"))));
        QByteArray kind;
        decode(f.out(QStringLiteral("cli.png")), &kind);
        QCOMPARE(kind, QByteArray("png"));
    }
};

QTEST_MAIN(TransparentOutputTest)
#include "transparent_output_test.moc"
