// The clipboard output: sizes, the metafile writer and the command against
// the real libraries with a stand-in main window.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "../editor/app_fixture.h"
#include "clipboard_output.h"
#include "cp932_qstring.h"
#include "emf_writer.h"
#include "program_paths.h"
#include "settings_store.h"

using namespace vakuro;

namespace {

// A little-endian value at offset; 0 past the end.
uint32_t u32At(const QByteArray& b, qsizetype offset) {
    if (offset < 0 || offset + 4 > b.size()) return 0;
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= uint32_t(static_cast<uchar>(b.at(offset + k))) << (8 * k);
    return v;
}
int32_t i32At(const QByteArray& b, qsizetype offset) { return static_cast<int32_t>(u32At(b, offset)); }

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    for (int x = 0; x < w; ++x) image.setPixel(x, 0, qRgb(x, 200, 17));
    return image;
}

// The main window as the command sees it: a text and the render pipeline.
class StandInHost : public MainWindowHost {
public:
    explicit StandInHost(ProgramState& state) : state_(state) {}
    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }
    QString fontName() const override { return {}; }
    bool selectFontName(const QString&) override { return false; }
    bool selectFirstFont() override { return false; }
    void refreshFontList() override {}
    void prepareTexture() override { ++prepared; }
    void renderTextImage(const QString& text, int highQuality, const QString& outPath, int, int qualityBase) override {
        const QByteArray bytes = toCp932Lossy(text);
        state_.libraries().engine.ImgMake(bytes.constData(), &state_.style, QFile::encodeName(outPath).constData(),
                                          highQuality == 1 ? 100 + qualityBase : 0);
        holder = QImage(outPath, "BMP");
    }
    QImage renderHolder() const override { return holder; }
    QWidget* ownerWindow() override { return nullptr; }

    QImage holder;
    int prepared = 0;

private:
    ProgramState& state_;
    QString text_ = QStringLiteral("ソモロ");
};

}  // namespace

class ClipboardOutputTest : public QObject {
    Q_OBJECT
private slots:
    void scaleFactors() {
        QCOMPARE(clipScaleFactor(0), 0.5);
        QCOMPARE(clipScaleFactor(1), 1.0);
        QCOMPARE(clipScaleFactor(2), 1.5);
        QCOMPARE(clipScaleFactor(3), 2.0);
        QCOMPARE(clipScaleFactor(4), 1.0);
        QCOMPARE(clipScaleFactor(-1), 1.0);
        QCOMPARE(clipTargetSize(QSize(300, 80), 1), QSize(300, 80));
        // round(150.5) = 150 and round(40.5) = 40: halves to even.
        QCOMPARE(clipTargetSize(QSize(301, 81), 0), QSize(150, 40));
        QCOMPARE(clipTargetSize(QSize(301, 81), 2), QSize(452, 122));  // 451.5, 121.5
    }

    void metafileFrame() {
        // round(100 * 26.11875) = 2612, round(50 * 26.11875) = 1306.
        QCOMPARE(emfFrameSize(QSize(100, 50)), QSize(2612, 1306));
    }

    void metafileRecords() {
        const QImage picture = pattern(5, 3);
        const QByteArray emf = buildEmf(picture, emfFrameSize(picture.size()), QStringLiteral("0"));
        QVERIFY(!emf.isEmpty());
        // Header.
        QCOMPARE(u32At(emf, 0), 1u);
        const uint32_t headerSize = u32At(emf, 4);
        QCOMPARE(headerSize % 4, 0u);
        QCOMPARE(i32At(emf, 8), 0);
        QCOMPARE(i32At(emf, 16), 4);  // bounds, inclusive
        QCOMPARE(i32At(emf, 20), 2);
        QCOMPARE(i32At(emf, 32), emfFrameSize(picture.size()).width());
        QCOMPARE(i32At(emf, 36), emfFrameSize(picture.size()).height());
        QCOMPARE(u32At(emf, 40), 0x464D4520u);
        QCOMPARE(u32At(emf, 48), static_cast<uint32_t>(emf.size()));
        QCOMPARE(u32At(emf, 52), 3u);
        // Description "0" and two NULs at its offset.
        const uint32_t descriptionChars = u32At(emf, 60);
        const uint32_t descriptionOffset = u32At(emf, 64);
        QCOMPARE(descriptionChars, 3u);
        QCOMPARE(emf.at(descriptionOffset), '0');
        QCOMPARE(emf.at(descriptionOffset + 2), '\0');
        // Stretch-bitmap record.
        const qsizetype r = headerSize;
        QCOMPARE(u32At(emf, r), 81u);
        const uint32_t recordSize = u32At(emf, r + 4);
        QCOMPARE(i32At(emf, r + 40), 5);  // source width, height
        QCOMPARE(i32At(emf, r + 44), 3);
        QCOMPARE(u32At(emf, r + 68), 0x00CC0020u);
        QCOMPARE(i32At(emf, r + 72), 5);  // destination width, height
        QCOMPARE(i32At(emf, r + 76), 3);
        const uint32_t bmiOffset = u32At(emf, r + 48);
        const uint32_t bitsOffset = u32At(emf, r + 56);
        const uint32_t bitsSize = u32At(emf, r + 60);
        QCOMPARE(i32At(emf, r + bmiOffset + 4), 5);
        QCOMPARE(i32At(emf, r + bmiOffset + 8), 3);  // bottom-up
        QCOMPARE(bitsSize, 3u * 16u);               // rows of 15 bytes padded to 16
        QVERIFY(bitsOffset + bitsSize <= recordSize);
        // Bottom-up rows, blue, green, red: the top row is the last one.
        const auto* bits = reinterpret_cast<const uchar*>(emf.constData() + r + bitsOffset);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const QRgb p = picture.pixel(x, y);
                const uchar* px = bits + (2 - y) * 16 + 3 * x;
                QCOMPARE(int(px[0]), qBlue(p));
                QCOMPARE(int(px[1]), qGreen(p));
                QCOMPARE(int(px[2]), qRed(p));
            }
        // End record, which closes the file.
        const qsizetype e = r + recordSize;
        QCOMPARE(u32At(emf, e), 14u);
        QCOMPARE(u32At(emf, e + 4), 20u);
        QCOMPARE(e + 20, emf.size());
        QVERIFY(buildEmf(QImage(), QSize(), QString()).isEmpty());
    }

    void clipboardFormats() {
        QTemporaryDir dir;
        const QImage picture = pattern(8, 4);
        std::unique_ptr<QMimeData> bitmapOnly(clipboardContent(picture, false, QString()));
        QVERIFY(bitmapOnly->hasImage());
        QVERIFY(!bitmapOnly->hasFormat(QStringLiteral("image/emf")));
        const QString path = dir.filePath(QStringLiteral("Vakuro.emf"));
        std::unique_ptr<QMimeData> both(clipboardContent(picture, true, path));
        QVERIFY(both->hasImage());
        QCOMPARE(qvariant_cast<QImage>(both->imageData()).size(), QSize(8, 4));
        QVERIFY(both->hasFormat(QStringLiteral("image/emf")));
        QVERIFY(both->hasFormat(QStringLiteral("image/x-emf")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), both->data(QStringLiteral("image/emf")));
    }

    void libreOfficeReadsTheMetafile() {
        QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
        if (office.isEmpty()) office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        // scripts/setup does not install LibreOffice: the office suite is far
        // larger than the rest of the setup together. The metafile is read by
        // emf2svg-conv below on every machine the setup prepared; this
        // second reader runs where LibreOffice happens to be installed.
        if (office.isEmpty()) QSKIP("LibreOffice is not installed (scripts/setup leaves it out; emf2svg-conv checks the metafile)");
        QTemporaryDir dir;
        // Left half red, right half blue, 100 x 50.
        QImage picture(100, 50, QImage::Format_RGB32);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 100; ++x) picture.setPixel(x, y, x < 50 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        const QString emfPath = dir.filePath(QStringLiteral("Vakuro.emf"));
        QVERIFY(writeEmfFile(emfPath, buildEmf(picture, emfFrameSize(picture.size()), QStringLiteral("0"))));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(office, {QStringLiteral("-env:UserInstallation=file://") + dir.path() + QStringLiteral("/profile"),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("png"),
                               QStringLiteral("--outdir"), dir.path(), emfPath});
        QVERIFY(process.waitForFinished(240000));
        const QImage png(dir.filePath(QStringLiteral("Vakuro.png")));
        QVERIFY2(!png.isNull(), process.readAllStandardError().constData());
        // The picture: red on the left, blue on the right, in about the
        // metafile's proportions.
        QVERIFY(qAbs(double(png.width()) / png.height() - 2.0) < 0.1);
        const QRgb left = png.pixel(png.width() / 4, png.height() / 2);
        const QRgb right = png.pixel(3 * png.width() / 4, png.height() / 2);
        QVERIFY(qRed(left) > 200 && qBlue(left) < 60);
        QVERIFY(qBlue(right) > 200 && qRed(right) < 60);
    }

    void emf2svgReadsTheMetafile() {
        // An independent reader, libemf2svg's converter (package emf2svg,
        // installed by scripts/setup): the picture comes back as the SVG's
        // embedded PNG.
        const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
        QVERIFY2(!converter.isEmpty(), "emf2svg-conv is not installed: run scripts/setup");
        QTemporaryDir dir;
        QImage picture = pattern(100, 50);
        for (int x = 0; x < 100; ++x) picture.setPixel(x, 0, qRgb(0, 255, 0));
        const QString emfPath = dir.filePath(QStringLiteral("Vakuro.emf"));
        const QString svgPath = dir.filePath(QStringLiteral("Vakuro.svg"));
        QVERIFY(writeEmfFile(emfPath, buildEmf(picture, emfFrameSize(picture.size()), QStringLiteral("0"))));
        QProcess process;
        process.start(converter, {QStringLiteral("-i"), emfPath, QStringLiteral("-o"), svgPath});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QFile svg(svgPath);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        const QByteArray marker = "base64,";
        const qsizetype start = text.indexOf(marker);
        QVERIFY(start >= 0);
        const qsizetype end = text.indexOf('"', start);
        const QImage decoded = QImage::fromData(QByteArray::fromBase64(text.mid(start + marker.size(),
                                                                                 end - start - marker.size())));
        QCOMPARE(decoded.size(), QSize(100, 50));
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 100; ++x) QCOMPARE(decoded.pixel(x, y) | 0xff000000, picture.pixel(x, y));
    }

    void metafileForALook() {
        // Writes a 100 x 50 metafile (red left half, blue right half, a
        // green top row) for a look with other readers, when VAKURO_LOOK
        // names a folder.
        const QString folder = qEnvironmentVariable("VAKURO_LOOK");
        if (folder.isEmpty()) QSKIP("VAKURO_LOOK is not set");
        QImage picture = pattern(100, 50);
        for (int x = 0; x < 100; ++x) picture.setPixel(x, 0, qRgb(0, 255, 0));
        QVERIFY(writeEmfFile(folder + QStringLiteral("/Vakuro.emf"),
                             buildEmf(picture, emfFrameSize(picture.size()), QStringLiteral("0"))));
    }

    void textForALook() {
        // Renders a text with the default style into text.bmp, for a look at
        // the warps (VAKURO_LOOK_SOURCE of the warp test), when VAKURO_LOOK
        // names a folder.
        const QString folder = qEnvironmentVariable("VAKURO_LOOK");
        if (folder.isEmpty()) QSKIP("VAKURO_LOOK is not set");
        testing::AppFixture app;
        QVERIFY(app.bound);
        StandInHost host(*app.state);
        host.renderTextImage(QStringLiteral("ソモロ Vakuro"), 1, folder + QStringLiteral("/text.bmp"), 0, 0);
        QVERIFY(!host.holder.isNull());
    }

    void commandCopiesAtTheScale() {
        testing::AppFixture app;
        QVERIFY(app.bound);
        app.writeIni("[Setting]\r\nClipWithDialog=0\r\n");
        StandInHost host(*app.state);
        app.state->host = &host;
        // The main window's Draw fills the render holder.
        QSize drawn;
        QObject::connect(app.state.get(), &ProgramState::drawRequested, [&] {
            host.renderTextImage(host.text(), 0, TempFolder() + QStringLiteral("VakTmp.bmp"), 0, 0);
            drawn = host.holder.size();
        });
        QApplication::clipboard()->clear();
        // Nothing in the holder (no host at all): nothing is copied.
        app.state->host = nullptr;
        clipboardOutputCommand(*app.state, nullptr);
        const QMimeData* empty = QApplication::clipboard()->mimeData();
        QVERIFY(empty == nullptr || !empty->hasImage());
        app.state->host = &host;

        for (int index : {0, 1, 3}) {
            for (int smooth : {0, 1}) {
                app.state->options.clipScaleIndex = index;
                app.state->options.clipSmooth = smooth;
                app.state->options.clipMetaFile = smooth;  // both formats
                clipboardOutputCommand(*app.state, nullptr);
                QVERIFY(!drawn.isEmpty());
                const QSize expected = clipTargetSize(drawn, index);
                const QMimeData* data = QApplication::clipboard()->mimeData();
                QVERIFY(data != nullptr);
                QVERIFY(data->hasImage());
                QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), expected);
                QCOMPARE(data->hasFormat(QStringLiteral("image/emf")), smooth == 1);
                if (smooth == 1) {
                    QFile emf(TempFolder() + QStringLiteral("Vakuro.emf"));
                    QVERIFY(emf.open(QIODevice::ReadOnly));
                    const QByteArray bytes = emf.readAll();
                    QCOMPARE(i32At(bytes, 32), emfFrameSize(expected).width());
                    QCOMPARE(bytes, data->data(QStringLiteral("image/x-emf")));
                }
            }
        }
        QVERIFY(host.prepared >= 6);
    }

    void aFailedRenderCopiesNothingOld() {
        testing::AppFixture app;
        QVERIFY(app.bound);
        app.writeIni("[Setting]\r\nClipWithDialog=0\r\n");
        StandInHost host(*app.state);
        app.state->host = &host;
        QObject::connect(app.state.get(), &ProgramState::drawRequested, [&] {
            host.renderTextImage(QStringLiteral("ソ"), 0, TempFolder() + QStringLiteral("VakTmp.bmp"), 0, 0);
        });
        // An older picture in the temporary bitmap, and a text the engine
        // refuses (longer than 255 bytes): the clipboard keeps what it had.
        QVERIFY(pattern(9, 9).save(TempFolder() + QStringLiteral("VakTmp.bmp"), "BMP"));
        auto* before = new QMimeData;
        before->setText(QStringLiteral("before"));
        QApplication::clipboard()->setMimeData(before);
        host.setText(QString(300, QLatin1Char('A')));
        app.state->options.clipSmooth = 1;
        clipboardOutputCommand(*app.state, nullptr);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QVERIFY(!data->hasImage());
        QCOMPARE(data->text(), QStringLiteral("before"));
    }
};

QTEST_MAIN(ClipboardOutputTest)
#include "clipboard_output_test.moc"
