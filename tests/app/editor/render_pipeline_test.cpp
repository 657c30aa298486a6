#include "app_fixture.h"
#include "bmp_file.h"
#include "render_pipeline.h"
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
        tesmor::BmpImage image;
        QCOMPARE(tesmor::readBmp(file.constData(), image), tesmor::BmpReadStatus::Ok);
        QCOMPARE(image.width(), 160);
        QCOMPARE(image.height(), 40);
        const std::vector<uint8_t> first = image.pixels;
        s.PatternAngle = 90;
        pipeline.PrepareTexture();
        QCOMPARE(tesmor::readBmp(file.constData(), image), tesmor::BmpReadStatus::Ok);
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
};

QTEST_MAIN(RenderPipelineTest)
#include "render_pipeline_test.moc"
