#include "../editor/app_fixture.h"
#include "bmp_file.h"
#include "character_cutouts.h"
#include "dib_image.h"
#include "render_pipeline.h"
#include "cp932_qstring.h"
#include "settings_store.h"

using namespace vakuro;
using vakuro::testing::AppFixture;

class RenderPipelineTest : public QObject {
    Q_OBJECT
private slots:
    void tilingTable() {
        const QList<int> tiled = {7, 8, 9, 13, 14, 15, 16, 20, 21, 22, 26};
        for (int n = -1; n < 70; ++n) QCOMPARE(textureTileFlag(n), tiled.contains(n) ? 1 : 0);
    }

    void qualityFollowsTheHighQualityFlag() {
        QCOMPARE(RenderPipeline::renderQuality(0, 1), 0);
        QCOMPARE(RenderPipeline::renderQuality(1, 1), 101);
    }

    void textureFillWritesTheResourceAndItsTiling_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("tile");
        QTest::newRow("texture 8") << 8 << 1;
        QTest::newRow("texture 10") << 10 << 0;
    }
    void textureFillWritesTheResourceAndItsTiling() {
        QFETCH(int, index);
        AppFixture app;
        RenderPipeline pipeline(*app.state);
        app.state->style.FillType = 5;
        app.state->style.TextureIndex = index;
        pipeline.PrepareTexture();
        QTEST(app.state->style.TextureTile, "tile");
        const QString file = TempFolder() + QStringLiteral("Texcher.bmp");
        QCOMPARE(QString::fromLocal8Bit(app.state->style.TextureFile), file);
        QFile written(file), resource(textureResourcePath(index));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), resource.readAll());
        QCOMPARE(pipeline.holder().size(), QSize(160, 40));
    }

    void missingTextureKeepsThePreviousFile() {
        AppFixture app;
        RenderPipeline pipeline(*app.state);
        app.state->style.FillType = 5;
        app.state->style.TextureIndex = 3;
        pipeline.PrepareTexture();
        const QString file = TempFolder() + QStringLiteral("Texcher.bmp");
        QFile before(file);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray old = before.readAll();
        app.state->style.TextureIndex = 48;
        pipeline.PrepareTexture();
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), old);
    }

    void patternFillWritesAStretchedPattern() {
        AppFixture app;
        QVERIFY(app.bound);
        RenderPipeline pipeline(*app.state);
        PavrexStyle& s = app.state->style;
        s.FillType = 6;
        s.FillColor1 = PAVREX_RGB(255, 0, 0);
        s.FillColor2 = PAVREX_RGB(0, 0, 255);
        s.PatternRepeat = 2;
        pipeline.PrepareTexture();
        const QByteArray file = QFile::encodeName(TempFolder() + QStringLiteral("Texcher.bmp"));
        bmp::BmpImage image;
        QCOMPARE(bmp::readBmp(file.constData(), image), bmp::BmpReadStatus::Ok);
        QCOMPARE(image.width(), 160);
        QCOMPARE(image.height(), 40);
        const std::vector<uint8_t> first = image.pixels;
        s.PatternAngle = 90;
        pipeline.PrepareTexture();
        QCOMPARE(bmp::readBmp(file.constData(), image), bmp::BmpReadStatus::Ok);
        QVERIFY(image.pixels != first);
    }

    void dashesFollowTheSettingAtEveryRendering() {
        AppFixture app;
        QVERIFY(app.bound);
        RenderPipeline pipeline(*app.state);
        std::strcpy(app.state->style.FontName, "IPAGothic");
        const QString out = TempFolder() + QStringLiteral("VakTmp.bmp");
        pipeline.RenderTextImage(QStringLiteral("ー"), 0, out, 0, 1);
        QCOMPARE(app.state->style.RotateDashes, 1);
        IniWrite(SettingsPath(), QStringLiteral("Setting"), QStringLiteral("RotYokoSen"), QStringLiteral("0"));
        pipeline.RenderTextImage(QStringLiteral("ー"), 0, out, 0, 1);
        QCOMPARE(app.state->style.RotateDashes, 0);
        QVERIFY(!pipeline.holder().isNull());
    }

    void refusedTextKeepsThePreviousFile() {
        AppFixture app;
        QVERIFY(app.bound);
        RenderPipeline pipeline(*app.state);
        std::strcpy(app.state->style.FontName, "IPAGothic");
        const QString out = TempFolder() + QStringLiteral("VakTmp.bmp");
        pipeline.RenderTextImage(QStringLiteral("A"), 0, out, 0, 1);
        const QSize first = pipeline.holder().size();
        pipeline.RenderTextImage(QString(300, QLatin1Char('W')), 0, out, 0, 1);
        QCOMPARE(pipeline.holder().size(), first);
        QFile::remove(out);
        pipeline.RenderTextImage(QString(300, QLatin1Char('W')), 0, out, 0, 1);
        QVERIFY(pipeline.holder().isNull());
    }

    void pictureBitsRoundTrip() {
        QImage picture(5, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) picture.setPixel(x, y, qRgb(10 * x, 20 * y, 7));
        const std::vector<uint8_t> bits = ReadPictureBits(picture);
        QCOMPARE(bits.size(), size_t(3 * 16));  // rows of 15 bytes padded to 16
        // Bottom row first, blue, green, red.
        QCOMPARE(int(bits[0]), 7);
        QCOMPARE(int(bits[1]), 40);
        QCOMPARE(int(bits[3 * 4 + 2]), 40);
        QCOMPARE(imageFromDib(bits.data(), 5, 3), picture);
    }

    void pasteReplacesOnlyTheKeyColour() {
        AppFixture app;
        QVERIFY(app.bound);
        QImage destination(4, 4, QImage::Format_RGB32);
        destination.fill(Qt::white);
        destination.setPixel(1, 1, qRgb(0, 0, 255));
        QImage source(2, 2, QImage::Format_RGB32);
        source.fill(qRgb(255, 0, 0));
        PastePicture(app.libraries, destination, source, 1, 1, 0, 0, 0);
        QCOMPARE(destination.pixel(1, 1), qRgb(0, 0, 255));  // not the key colour: kept
        QCOMPARE(destination.pixel(2, 1), qRgb(255, 0, 0));
        QCOMPARE(destination.pixel(2, 2), qRgb(255, 0, 0));
        QCOMPARE(destination.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(destination.pixel(3, 3), qRgb(255, 255, 255));
    }

    void characterCutoutsFollowTheGlyphs() {
        AppFixture app;
        QVERIFY(app.bound);
        std::strcpy(app.state->style.FontName, "IPAGothic");
        const QString text = QStringLiteral("ｶﾞ A字");
        const QString basePath = TempFolder() + QStringLiteral("GifAnime0.bmp");
        const QByteArray bytes = toCp932Lossy(text);
        app.libraries.engine.ImgMake(bytes.constData(), &app.state->style, QFile::encodeName(basePath).constData(), 0);
        QImage full(basePath, "BMP");
        const int W = qRound(full.width() * 0.5 - 4), H = qRound(full.height() * 0.5 - 4);
        app.libraries.effects.SReSize(QFile::encodeName(basePath).constData(), QFile::encodeName(basePath).constData(),
                                      W, H, 2);
        const QImage base(basePath, "BMP");
        const double scale = double(W) / full.width();
        const auto cut = SplitCharacterImages(*app.state, text, TempFolder() + QStringLiteral("GifAnimeW.bmp"), base,
                                              W, H, scale, 0);
        // Four glyphs: the voiced half-width kana is one, the blank is one.
        QCOMPARE(int(cut.images.size()), 4);
        QCOMPARE(cut.strip.size(), QSize(3, H));
        QCOMPARE(cut.glyphWidth[2], 0);  // the blank
        for (int t : {1, 3, 4}) {
            QVERIFY2(cut.glyphWidth[t] > 0, qPrintable(QString::number(t)));
            QCOMPARE(cut.images.at(QStringLiteral("C%1").arg(t)).width(), cut.glyphWidth[t] + 1);
        }
        QVERIFY(cut.glyphLeft[1] < cut.glyphLeft[3]);
        QVERIFY(cut.glyphLeft[3] < cut.glyphLeft[4]);
    }
};

QTEST_MAIN(RenderPipelineTest)
#include "render_pipeline_test.moc"
