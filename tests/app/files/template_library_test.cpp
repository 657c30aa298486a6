// The template library: counting the template files, the builder's layout
// field by field, damaged libraries, and the browser's grid, scroll bar,
// selection and loading.
#include <cmath>
#include <cstring>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "cp932_qstring.h"
#include "files_fixture.h"
#include "template_browser.h"
#include "settings_files.h"
#include "settings_store.h"
#include "template_commands.h"
#include "template_library.h"
#include "window_position.h"

using namespace vakuro;
using vakuro::testing::FakeHost;
using vakuro::testing::FilesFixture;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int32_t intAt(const QByteArray& b, qsizetype offset) {
    int32_t v = 0;
    std::memcpy(&v, b.constData() + offset, 4);
    return v;
}

void putInt(QByteArray& b, qsizetype offset, int32_t v) { std::memcpy(b.data() + offset, &v, 4); }

PavrexStyle templateRecord(int n) {
    PavrexStyle s;
    PavrexStyleDefaults(&s);
    setStyleSignature(s);
    s.CharScaleSet = 1;
    s.FillType = n % 5;
    s.FillColor1 = PAVREX_RGB(10 * n, 0, 200);
    s.Slant = n;
    s.Vertical = n == 3 ? 1 : 0;  // a tall rendering: fitted, not squeezed
    setFixedField(s.FontName, 40, n % 2 == 0 ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("IPAGothic"), true);
    return s;
}

QByteArray recordBytes(const PavrexStyle& s) { return QByteArray(reinterpret_cast<const char*>(&s), sizeof s); }

void writeTemplates(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int n = 1; n <= count; ++n) writeAll(templateFilePath(folder, n), recordBytes(templateRecord(n)));
}

QByteArray thumbnailBytes(int n) {
    QImage image(kTemplateThumbWidth, kTemplateThumbHeight, QImage::Format_RGB888);
    image.fill(QColor(n * 2 % 256, 100, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A library as the builder writes it, without rendering.
QByteArray libraryBytes(int count) {
    QByteArray header(kTemplateHeaderSize, '\0');
    std::memcpy(header.data(), "Vakuro Format Binder  ", 22);
    putInt(header, 22, 100);
    putInt(header, 26, count);
    putInt(header, 30, 4148);
    QByteArray records, thumbs;
    for (int i = 0; i < count; ++i) {
        records += recordBytes(templateRecord(i + 1));
        const QByteArray t = thumbnailBytes(i);
        putInt(header, 34 + 4 * i, static_cast<int32_t>(t.size()));
        thumbs += t;
    }
    return header + records + thumbs;
}

// Renders with the engine directly and remembers the faces it was given.
struct EngineRenderer {
    const Libraries& libraries;
    QStringList faces;
    bool operator()(PavrexStyle& record, const QString& outPath) {
        faces.append(readFixedField(record.FontName, sizeof record.FontName));
        const QByteArray text = *toCp932(QString::fromUtf8(kTemplateSampleText));
        const QByteArray path = QFile::encodeName(outPath);
        libraries.engine.ImgMake(text.constData(), &record, path.constData(), 0);
        return QFile::exists(outPath);
    }
};

// A main window stand-in whose render pipeline renders with the engine.
class RenderingHost : public FakeHost {
public:
    explicit RenderingHost(ProgramState& state) : FakeHost(state), state_(state) {}
    void renderTextImage(const QString& text, int, const QString& outPath, int, int) override {
        const QByteArray bytes = *toCp932(text);
        const QByteArray path = QFile::encodeName(outPath);
        state_.libraries().engine.ImgMake(bytes.constData(), &state_.style, path.constData(), 0);
    }

private:
    ProgramState& state_;
};

}  // namespace

class TemplateLibraryTest : public QObject {
    Q_OBJECT
private slots:
    void countStopsAtTheFirstMissingNumber() {
        QTemporaryDir dir;
        QCOMPARE(countTemplateFiles(dir.path()), 0);
        writeTemplates(dir.path(), 4);
        QFile::remove(templateFilePath(dir.path(), 3));
        QCOMPARE(countTemplateFiles(dir.path()), 2);
        QCOMPARE(templateFilePath(QStringLiteral("/x/Template/"), 7), QStringLiteral("/x/Template/VFmt_007.VTF"));
    }

    void builderWritesTheLayoutFieldByField() {
        FilesFixture f;
        QVERIFY(f.bound);
        const QString folder = templateFolder();
        writeTemplates(folder, 3);
        EngineRenderer renderer{f.libraries, {}};
        const QString out = templateLibraryPath();
        const TemplateBuildResult r = buildTemplateLibrary(folder, DataFolder() + QStringLiteral("Temp"), out,
                                                           f.libraries, std::ref(renderer));
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.count, 3);
        // Every thumbnail in the sample face, whatever the template names.
        QCOMPARE(renderer.faces, QStringList(3, QString::fromUtf8(kTemplateSampleFont)));

        const QByteArray b = readAll(out);
        QCOMPARE(b.left(22), QByteArray("Vakuro Format Binder  "));
        QCOMPARE(intAt(b, 22), 100);
        QCOMPARE(intAt(b, 26), 3);
        QCOMPARE(intAt(b, 30), 4148);
        qsizetype total = 0;
        for (int i = 0; i < 100; ++i) {
            const int size = intAt(b, 34 + 4 * i);
            if (i >= 3) {
                QCOMPARE(size, 0);
            } else {
                QVERIFY(size > 54);
                // The work files are left behind: Tmp1.bmp is the first thumbnail.
                QCOMPARE(QFileInfo(DataFolder() + QStringLiteral("Temp/Tmp%1.bmp").arg(i + 1)).size(), qint64(size));
            }
            total += size;
        }
        for (int i = 0; i < 3; ++i) {
            // The records byte for byte as the template files hold them.
            QCOMPARE(b.mid(434 + i * 4148, 4148), readAll(templateFilePath(folder, i + 1)));
        }
        QCOMPARE(b.size(), 434 + 3 * 4148 + total);
        qsizetype offset = 434 + 3 * 4148;
        for (int i = 0; i < 3; ++i) {
            const int size = intAt(b, 34 + 4 * i);
            const QByteArray thumb = b.mid(offset, size);
            QCOMPARE(thumb.left(2), QByteArray("BM"));
            QCOMPARE(intAt(thumb, 18), 186);
            QCOMPARE(intAt(thumb, 22), 65);
            QCOMPARE(thumb.at(28), char(24));
            offset += size;
        }

        // Read back.
        TemplateLibrary library;
        QVERIFY(readTemplateLibrary(out, library));
        QVERIFY(!library.damaged);
        QCOMPARE(library.records.size(), 3);
        QCOMPARE(recordBytes(library.records.at(1)), recordBytes(templateRecord(2)));
        QCOMPARE(library.thumbnails.at(2).size(), intAt(b, 34 + 8));
    }

    void builderWithoutTemplatesWritesAnEmptyLibrary() {
        FilesFixture f;
        EngineRenderer renderer{f.libraries, {}};
        const TemplateBuildResult r = buildTemplateLibrary(templateFolder(), DataFolder() + QStringLiteral("Temp"),
                                                           templateLibraryPath(), f.libraries, std::ref(renderer));
        QVERIFY(r.ok);
        const QByteArray b = readAll(templateLibraryPath());
        QCOMPARE(b.size(), 434);
        QCOMPARE(intAt(b, 26), 0);
        QCOMPARE(b.mid(34, 400), QByteArray(400, '\0'));
    }

    void shortTemplateStopsTheBuildAndKeepsTheOldLibrary() {
        FilesFixture f;
        writeTemplates(templateFolder(), 2);
        writeAll(templateFilePath(templateFolder(), 2), recordBytes(templateRecord(2)).left(1000));
        writeAll(templateLibraryPath(), QByteArray("old library"));
        EngineRenderer renderer{f.libraries, {}};
        const TemplateBuildResult r = buildTemplateLibrary(templateFolder(), DataFolder() + QStringLiteral("Temp"),
                                                           templateLibraryPath(), f.libraries, std::ref(renderer));
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QStringLiteral("VFmt_002.VTF")));
        QCOMPARE(readAll(templateLibraryPath()), QByteArray("old library"));
    }

    void commandBuildsThroughTheMainWindowAndSaysOk() {
        FilesFixture f;
        QVERIFY(f.bound);
        RenderingHost host(*f.state);
        f.state->host = &host;
        writeTemplates(templateFolder(), 2);
        f.state->style.FillType = 3;
        const QByteArray before = recordBytes(f.state->style);
        buildTemplateLibraryCommand(*f.state, nullptr);
        QCOMPARE(f.messages, QStringList{QStringLiteral("|OK")});
        QCOMPARE(recordBytes(f.state->style), before);
        QCOMPARE(intAt(readAll(templateLibraryPath()), 26), 2);
    }

    void anEmptyDataFolderShowsTheShippedTemplates() {
        // VAKURO_HOME names a fresh folder: the browser shows the templates
        // installed with the program, and loading takes them from there.
        FilesFixture f;
        const QString shipped = ShippedFolder() + QStringLiteral("Template.Dat");
        QVERIFY2(QFile::exists(shipped), qPrintable(shipped));
        TemplateLibrary library;
        QVERIFY(readTemplateLibrary(shipped, library));
        QVERIFY(library.records.size() >= 10);
        QCOMPARE(templateLibraryInUse(), shipped);
        TemplateBrowser d(*f.state, nullptr);
        d.prepareOpening();
        QCOMPARE(d.count(), library.records.size());
        QVERIFY(loadTemplate(*f.state, 1));
        QCOMPARE(recordBytes(f.state->style), recordBytes(library.records.at(1)));
        // The user's own library takes precedence.
        writeAll(templateLibraryPath(), libraryBytes(4));
        QCOMPARE(templateLibraryInUse(), templateLibraryPath());
        TemplateBrowser own(*f.state, nullptr);
        own.prepareOpening();
        QCOMPARE(own.count(), 4);
    }

    void theBuilderReadsShippedTemplatesAndWritesToTheDataFolder() {
        FilesFixture f;
        QVERIFY(f.bound);
        RenderingHost host(*f.state);
        f.state->host = &host;
        const QString shipped = ShippedFolder() + QStringLiteral("Template.Dat");
        const QByteArray shippedBefore = readAll(shipped);
        const int count = countTemplateFiles(ShippedFolder() + QStringLiteral("Template/"));
        QVERIFY(count >= 10);
        QCOMPARE(templateFilesInUse(), ShippedFolder() + QStringLiteral("Template/"));
        buildTemplateLibraryCommand(*f.state, nullptr);
        QCOMPARE(f.messages, QStringList{QStringLiteral("|OK")});
        QCOMPARE(intAt(readAll(templateLibraryPath()), 26), count);
        QVERIFY(templateLibraryPath().startsWith(f.home.path() + QLatin1Char('/')));
        QCOMPARE(readAll(shipped), shippedBefore);
        // Template files of its own in the data folder replace the shipped ones.
        writeTemplates(templateFolder(), 2);
        QCOMPARE(templateFilesInUse(), templateFolder());
    }

    void damagedLibrariesAreReadOnlyAsFarAsTheyGo() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Template.Dat"));
        const QByteArray good = libraryBytes(5);
        TemplateLibrary library;

        writeAll(path, good.left(433));
        QVERIFY(!readTemplateLibrary(path, library));

        // Cut in the middle of record 3: records 0..2 only.
        writeAll(path, good.left(434 + 3 * 4148 + 100));
        QVERIFY(readTemplateLibrary(path, library));
        QVERIFY(library.damaged);
        QCOMPARE(library.records.size(), 3);
        QCOMPARE(library.thumbnails.size(), 3);
        PavrexStyle record{};
        QVERIFY(readTemplateRecord(path, 2, record));
        QVERIFY(!readTemplateRecord(path, 3, record));

        // Cut in the middle of the thumbnails: all records, missing pictures empty.
        writeAll(path, good.left(good.size() - 10));
        QVERIFY(readTemplateLibrary(path, library));
        QVERIFY(library.damaged);
        QCOMPARE(library.records.size(), 5);
        QCOMPARE(library.thumbnails.size(), 5);
        QVERIFY(!library.thumbnails.at(3).isEmpty());
        QVERIFY(library.thumbnails.at(4).isEmpty());

        // A count beyond 100, a negative count, a wrong record size, a negative size.
        QByteArray bad = good;
        putInt(bad, 26, 1000);
        writeAll(path, bad);
        QVERIFY(readTemplateLibrary(path, library));
        QVERIFY(library.damaged);
        // Clamped to 100 and read as far as whole records go (the thumbnails
        // are taken for records then): never past the end.
        QCOMPARE(library.records.size(), (good.size() - 434) / 4148);
        QVERIFY(!readTemplateRecord(path, 200, record));
        bad = good;
        putInt(bad, 26, -3);
        writeAll(path, bad);
        QVERIFY(readTemplateLibrary(path, library));
        QCOMPARE(library.records.size(), 0);
        QVERIFY(!readTemplateRecord(path, 0, record));
        bad = good;
        putInt(bad, 30, 100);
        writeAll(path, bad);
        QVERIFY(readTemplateLibrary(path, library));
        QCOMPARE(library.records.size(), 0);
        QVERIFY(!readTemplateRecord(path, 0, record));
        bad = good;
        putInt(bad, 34 + 4, -50);
        writeAll(path, bad);
        QVERIFY(readTemplateLibrary(path, library));
        QCOMPARE(library.records.size(), 5);
        QVERIFY(!library.thumbnails.at(0).isEmpty());
        QVERIFY(library.thumbnails.at(1).isEmpty());
    }

    void browserGridAndScrollBar_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        for (int n : {0, 1, 3, 9, 10, 11, 12, 13, 14, 15, 50, 100}) {
            QTest::addRow("%d", n) << n << (n + 2) / 3;
        }
    }

    void browserGridAndScrollBar() {
        QFETCH(int, count);
        QFETCH(int, rows);
        FilesFixture f;
        writeAll(templateLibraryPath(), libraryBytes(count));
        TemplateBrowser d(*f.state, nullptr);
        d.prepareOpening();
        QCOMPARE(d.windowTitle(), QStringLiteral("テンプレート"));
        QCOMPARE(d.count(), count);
        QCOMPARE(d.rows(), rows);
        QCOMPARE(d.thumbWidthTwips(), 186 * 15);
        QCOMPARE(d.thumbHeightTwips(), 65 * 15);
        const int H = d.thumbHeightTwips();
        // Four rows are visible: the viewport ends 150 twips below row four.
        QCOMPARE(d.viewport()->height(), TwipsToPixels(150 + 4 * (H + 150)));
        QCOMPARE(d.scrollBar()->height(), d.viewport()->height());
        int expectedMax = 0;
        // Rounded half to even.
        if (rows > 4) expectedMax = static_cast<int>(std::nearbyint((static_cast<double>(rows - 4) * (H + 150) - 60) / 60 + 1));
        QCOMPARE(d.scrollBar()->maximum(), expectedMax);
        if (count == 14) QCOMPARE(d.scrollBar()->maximum(), qRound((H + 90) / 60.0 + 1));
        for (int i = 0; i < count; ++i) {
            const QRect r = d.thumbnail(i)->geometry();
            QCOMPARE(r.left(), TwipsToPixels(150 + (i % 3) * (d.thumbWidthTwips() + 150)));
            QCOMPARE(r.top(), TwipsToPixels(150 + (i / 3) * (H + 150)));
            QVERIFY(!d.thumbnail(i)->pixmap().isNull());
        }
        QVERIFY(d.selectionFrame()->isHidden());
        QCOMPARE(d.loadButton()->text(), QStringLiteral("読込み"));
        QCOMPARE(d.closeButton()->text(), QStringLiteral("閉じる"));
        QCOMPARE(d.loadButton()->isEnabled(), count > 0);
        d.LoadSelected();  // nothing to load in an empty library, no crash
        if (expectedMax > 0) {
            d.scrollBar()->setValue(3);
            QCOMPARE(d.container()->y(), -12);  // 60 twips, 4 pixels per step
        }
    }

    void loadingStartsAtTemplateZeroAndFollowsTheClick() {
        FilesFixture f;
        writeAll(templateLibraryPath(), libraryBytes(14));
        f.host->selected_ = QStringLiteral("IPAGothic");
        f.host->setText(QStringLiteral("見本"));
        TemplateBrowser d(*f.state, nullptr);
        d.prepareOpening();
        d.show();
        QCOMPARE(d.selectedIndex(), 0);
        QTest::mouseClick(d.loadButton(), Qt::LeftButton);
        QCOMPARE(f.state->style.Slant, 1);  // template 0
        QCOMPARE(f.draws, 1);
        QCOMPARE(f.reloads, 1);
        QCOMPARE(f.layouts.size(), 1);
        QVERIFY(d.isVisible());  // stays open
        // Text and font list untouched.
        QCOMPARE(f.host->text(), QStringLiteral("見本"));
        QVERIFY(f.host->selectCalls.isEmpty());

        QTest::mouseClick(d.thumbnail(5), Qt::LeftButton);
        QCOMPARE(d.selectedIndex(), 5);
        QVERIFY(!d.selectionFrame()->isHidden());
        QCOMPARE(d.selectionFrame()->pos(), d.thumbnail(5)->pos() - QPoint(3, 3));
        QCOMPARE(d.selectionFrame()->size(), d.thumbnail(5)->size() + QSize(6, 6));
        QCOMPARE(f.draws, 1);  // a click only selects
        QTest::mouseClick(d.loadButton(), Qt::LeftButton);
        QCOMPARE(f.state->style.Slant, 6);
        QCOMPARE(f.draws, 2);

        QTest::mouseDClick(d.thumbnail(13), Qt::LeftButton);
        QCOMPARE(d.selectedIndex(), 13);
        QCOMPARE(f.state->style.Slant, 14);
        QVERIFY(d.isVisible());
    }

    void loadingCompletesTheScales() {
        FilesFixture f;
        QByteArray lib = libraryBytes(2);
        putInt(lib, 434 + 4148 + offsetof(PavrexStyle, CharScaleSet), 0);
        putInt(lib, 434 + 4148 + offsetof(PavrexStyle, CharWidth), 0);
        writeAll(templateLibraryPath(), lib);
        QVERIFY(loadTemplate(*f.state, 1));
        QCOMPARE(f.state->style.CharScaleSet, 1);
        QCOMPARE(f.state->style.CharWidth[0], 100);
        QCOMPARE(f.drawnStyles.at(0).CharWidth[0], 100);
        QVERIFY(!loadTemplate(*f.state, 2));
        QCOMPARE(f.draws, 1);
    }

    void browserOpensOnlyWithALibraryAndStoresItsPosition() {
        FilesFixture f;
        // No library anywhere: the browser would find nothing and returns at
        // once. The shipped folder of a test run is the build's program
        // folder, which has one, so this names a missing one.
        QTemporaryDir empty;
        QVERIFY(!QFile::exists(ShippedPath(QStringLiteral("Template.Dat"), f.home.path() + QLatin1Char('/'),
                                           empty.path() + QLatin1Char('/'))));

        writeAll(templateLibraryPath(), libraryBytes(4));
        int count = -1;
        QTimer::singleShot(0, [&count] {
            auto* d = qobject_cast<TemplateBrowser*>(QApplication::activeModalWidget());
            QVERIFY(d != nullptr);
            count = d->count();
            d->closeButton()->click();
        });
        showTemplateBrowser(*f.state, nullptr);
        QCOMPARE(count, 4);
        QVERIFY(IniReadValue(SettingsPath(), QStringLiteral("Window"), QStringLiteral("F050_TOP")).has_value());
        QVERIFY(IniReadValue(SettingsPath(), QStringLiteral("Window"), QStringLiteral("F050_LEFT")).has_value());
    }
};

QTEST_MAIN(TemplateLibraryTest)
#include "template_library_test.moc"
