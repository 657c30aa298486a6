// The faces of the font list: fontconfig's families under their Japanese
// names, without the generic aliases, and a stored face name found by any
// of its family names. Real fonts: only the pinned IPAGothic.
#include <QFile>

#include "../editor/app_fixture.h"
#include "cp932_qstring.h"
#include "font_faces.h"
#include "pavrex.h"
#include "render_pipeline.h"

using namespace vakuro;
using vakuro::testing::AppFixture;

namespace {

FontFace face(const QString& name, const QStringList& families, bool japanese = true) {
    return FontFace{name, families, japanese};
}

const QString kGothic = QStringLiteral("IPAゴシック");

}  // namespace

class FontFacesTest : public QObject {
    Q_OBJECT
private slots:
    void shownName_data() {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Japanese name second") << QStringList{"IPAGothic", "IPAゴシック"} << QStringList{"en", "ja"}
                                              << "IPAゴシック";
        QTest::newRow("Japanese name first") << QStringList{"IPAゴシック", "IPAGothic"} << QStringList{"ja", "en"}
                                             << "IPAゴシック";
        QTest::newRow("no Japanese name") << QStringList{"DejaVu Sans"} << QStringList{"en"} << "DejaVu Sans";
        QTest::newRow("no languages") << QStringList{"Foo", "Bar"} << QStringList{} << "Foo";
        QTest::newRow("regional tag") << QStringList{"X", "エックス"} << QStringList{"en", "ja-jp"} << "エックス";
    }
    void shownName() {
        QFETCH(QStringList, families);
        QFETCH(QStringList, languages);
        QTEST(shownFaceName(families, languages), "shown");
    }

    void genericAliasesAreNoFaces() {
        for (const char* alias : {"Sans Serif", "sans-serif", "Serif", "Monospace", "monospace", "Sans", "Mono"})
            QVERIFY2(isGenericFamily(QString::fromLatin1(alias)), alias);
        QVERIFY(!isGenericFamily(QStringLiteral("IPAGothic")));
        QVERIFY(!isGenericFamily(QStringLiteral("DejaVu Sans")));
    }

    // The installed list: the pinned face under its Japanese name with both
    // family names, no alias entries, each name once.
    void installedFaces() {
        const QList<FontFace> faces = installedFontFaces();
        QStringList names;
        for (const FontFace& f : faces) names << f.name;
        QVERIFY2(names.contains(kGothic), qPrintable(names.join(QLatin1Char(','))));
        QVERIFY(!names.contains(QStringLiteral("IPAGothic")));
        for (const char* alias : {"Sans Serif", "Serif", "Monospace", "Sans", "Mono"})
            QVERIFY2(!names.contains(QString::fromLatin1(alias), Qt::CaseInsensitive), alias);
        QCOMPARE(names.removeDuplicates(), 0);
        const FontFace gothic = faces[names.indexOf(kGothic)];
        QVERIFY(gothic.families.contains(QStringLiteral("IPAGothic")));
        QVERIFY(gothic.japanese);
        QCOMPARE(installedFaceName(QStringLiteral("IPAGothic")), kGothic);
        QCOMPARE(installedFaceName(QStringLiteral("ipagothic")), kGothic);
        QCOMPARE(installedFaceName(kGothic), kGothic);
        QCOMPARE(installedFaceName(QStringLiteral("Sans Serif")), QString());
        QCOMPARE(installedFaceName(QStringLiteral("No Such Face 12345")), QString());
    }

    void japaneseOnlyList() {
        const QList<FontFace> faces = {face("IPAゴシック", {"IPAGothic", "IPAゴシック"}),
                                       face("DejaVu Sans", {"DejaVu Sans"}, false),
                                       face("MS UI Gothic", {"MS UI Gothic"}, false)};
        QCOMPARE(fontListNames(faces, false), (QStringList{"IPAゴシック", "DejaVu Sans", "MS UI Gothic"}));
        QCOMPARE(fontListNames(faces, true), (QStringList{"IPAゴシック", "MS UI Gothic"}));
    }

    // A stored name selects the face by any of its family names; a face of
    // another system selects its stand-in's entry.
    void listedFace_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("listed");
        QTest::newRow("shown name") << "IPAゴシック" << "IPAゴシック";
        QTest::newRow("English family name") << "IPAGothic" << "IPAゴシック";
        QTest::newRow("other case") << "ipagothic" << "IPAゴシック";
        QTest::newRow("blanks around") << "  IPAGothic " << "IPAゴシック";
        QTest::newRow("face without a Japanese name") << "DejaVu Sans" << "DejaVu Sans";
        QTest::newRow("stand-in by its English name") << "ＭＳ ゴシック" << "IPAゴシック";
        QTest::newRow("not installed") << "Nothing" << "";
        QTest::newRow("empty") << "" << "";
    }
    void listedFace() {
        QFETCH(QString, stored);
        const QList<FontFace> faces = {face("IPAゴシック", {"IPAGothic", "IPAゴシック"}),
                                       face("DejaVu Sans", {"DejaVu Sans"}, false)};
        const QStringList list = fontListNames(faces, false);
        auto standIn = [](const QString& name) {
            return name == QStringLiteral("ＭＳ ゴシック") ? QStringLiteral("IPAGothic") : QString();
        };
        QTEST(listedFaceName(list, faces, stored, standIn), "listed");
    }

    // The engine finds the face by either name: the same picture. (That it
    // finds it by the name, on its first try, and not by its fallback, is
    // tests/engine/font_selection_test.cpp's FindsAFaceByItsJapaneseName.)
    void engineRendersEitherNameAlike() {
        AppFixture app;
        QVERIFY(app.bound);
        QByteArray pictures[2];
        const QString names[2] = {QStringLiteral("IPAGothic"), kGothic};
        for (int i = 0; i < 2; ++i) {
            PavrexStyleDefaults(&app.state->style);
            storeFontName(app.state->style, names[i], true);
            const QString out = TempFolder() + QStringLiteral("face%1.bmp").arg(i);
            QCOMPARE(app.libraries.engine.ImgMake(toCp932Lossy(QStringLiteral("文字A")).constData(), &app.state->style,
                                                  QFile::encodeName(out).constData(), 0),
                     0);
            QFile f(out);
            QVERIFY(f.open(QIODevice::ReadOnly));
            pictures[i] = f.readAll();
        }
        QVERIFY(pictures[0].size() > 54);
        QCOMPARE(pictures[0], pictures[1]);
    }
};

QTEST_MAIN(FontFacesTest)
#include "font_faces_test.moc"
