// Settings files: byte-exact round trips, the signature check, the load
// order (one draw with the whole record in place) and failed saves.
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include "cp932_qstring.h"
#include "files_fixture.h"
#include "settings_files.h"
#include "style_data.h"

using namespace vakuro;
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

QByteArray recordBytes(const PavrexStyle& s) { return QByteArray(reinterpret_cast<const char*>(&s), sizeof s); }

}  // namespace

class SettingsFilesTest : public QObject {
    Q_OBJECT
private slots:
    void recordIsItsFileLayout() { QCOMPARE(sizeof(PavrexStyle), size_t(4148)); }

    void savedFileHoldsTheRecordByteForByte() {
        FilesFixture f;
        f.host->setText(QStringLiteral("ABC"));
        setFixedField(f.state->style.FontName, 40, QStringLiteral("ＭＳ 明朝"), true);
        f.state->style.FillType = 4;
        f.state->style.CharScaleSet = 1;
        const QString path = f.home.path() + QStringLiteral("/a.VTF");
        QVERIFY(saveSettingsFile(*f.state, path));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 4148);
        QCOMPARE(bytes, recordBytes(f.state->style));
        QCOMPARE(bytes.left(20), QByteArray("Vakuro SettingFile  "));
        int version = 0;
        std::memcpy(&version, bytes.constData() + 20, 4);
        QCOMPARE(version, 100);
        QCOMPARE(bytes.mid(24, 512), QByteArray("ABC") + QByteArray(509, ' '));
        // The font name in code page 932 with its NUL.
        const QByteArray face = *toCp932(QStringLiteral("ＭＳ 明朝"));
        QCOMPARE(bytes.mid(offsetof(PavrexStyle, FontName), face.size()), face);
        QCOMPARE(bytes.at(offsetof(PavrexStyle, FontName) + face.size()), '\0');

        // Loading it back: every byte taken, the text box unchanged.
        FilesFixture g;
        g.host->setText(QStringLiteral("別の文"));
        QCOMPARE(loadSettingsFile(*g.state, path), SettingsLoad::Loaded);
        QCOMPARE(recordBytes(g.state->style), bytes);
        QCOMPARE(g.host->text(), QStringLiteral("別の文"));
        QCOMPARE(g.state->style.FillType, 4);
    }

    void japaneseTextIsStoredInCodePage932() {
        FilesFixture f;
        f.host->setText(QStringLiteral("春の海"));
        const QString path = f.home.path() + QStringLiteral("/j.VTF");
        QVERIFY(saveSettingsFile(*f.state, path));
        const QByteArray expected = *toCp932(QStringLiteral("春の海"));
        QCOMPARE(readAll(path).mid(24, 512), expected + QByteArray(512 - expected.size(), ' '));
    }

    void wrongSignatureIsRefusedWithItsMessage() {
        FilesFixture f;
        PavrexStyle record{};
        PavrexStyleDefaults(&record);
        record.FillType = 6;
        const QString path = f.home.path() + QStringLiteral("/nul.VTF");
        writeAll(path, recordBytes(record));  // first 20 bytes NUL
        setFileDialogFunction([&](QWidget*, bool save, const QString& title, const QString&, const QString&,
                                  const QString& filter) {
            [&] {
                QVERIFY(!save);
                QCOMPARE(title, QStringLiteral("設定読込み"));
                QVERIFY(filter.contains(QStringLiteral("*.VTF")));
            }();
            return path;
        });
        const QByteArray before = recordBytes(f.state->style);
        loadSettingsCommand(*f.state, nullptr);
        QCOMPARE(f.messages, QStringList{QStringLiteral("設定ファイル読込み|設定ファイルに異常があります")});
        QCOMPARE(f.icons.value(0), QMessageBox::Warning);
        QCOMPARE(recordBytes(f.state->style), before);
        QCOMPARE(f.draws, 0);
    }

    void shortFileIsRefusedNotReadPastItsEnd() {
        FilesFixture f;
        PavrexStyle record{};
        PavrexStyleDefaults(&record);
        setStyleSignature(record);
        const QString path = f.home.path() + QStringLiteral("/short.VTF");
        for (int size : {0, 10, 24, 600, 4147}) {
            writeAll(path, recordBytes(record).left(size));
            const QByteArray before = recordBytes(f.state->style);
            QCOMPARE(loadSettingsFile(*f.state, path), SettingsLoad::Refused);
            QCOMPARE(recordBytes(f.state->style), before);
        }
        // Longer files are read for their first 4148 bytes.
        record.FillType = 2;
        writeAll(path, recordBytes(record) + QByteArray(100, 'x'));
        QCOMPARE(loadSettingsFile(*f.state, path), SettingsLoad::Loaded);
        QCOMPARE(f.state->style.FillType, 2);
    }

    void missingFileAndCancelDoNothing() {
        FilesFixture f;
        QCOMPARE(loadSettingsFile(*f.state, f.home.path() + QStringLiteral("/none.VTF")), SettingsLoad::Missing);
        setFileDialogFunction([](QWidget*, bool, const QString&, const QString&, const QString&, const QString&) {
            return QString();
        });
        loadSettingsCommand(*f.state, nullptr);
        saveSettingsCommand(*f.state, nullptr);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.draws, 0);
        QVERIFY(QDir(templateFolder()).entryList(QDir::Files).isEmpty());
    }

    void versionZeroIsAcceptedAndScalesAreCompleted() {
        FilesFixture f;
        PavrexStyle record{};
        PavrexStyleDefaults(&record);
        setStyleSignature(record);
        record.FormatVersion = 0;
        record.CharScaleSet = 0;
        record.CharWidth[3] = 250;
        record.CharWidth[25] = 0;
        record.Vertical = 1;
        setFixedField(record.FontName, 40, QStringLiteral("IPAGothic"), true);
        const QString path = f.home.path() + QStringLiteral("/v0.VTF");
        writeAll(path, recordBytes(record));
        QCOMPARE(loadSettingsFile(*f.state, path), SettingsLoad::Loaded);
        QCOMPARE(f.state->style.FormatVersion, 0);
        QCOMPARE(f.state->style.CharScaleSet, 1);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(f.state->style.CharWidth[i], 100);
            QCOMPARE(f.state->style.CharHeight[i], 100);
        }
        QCOMPARE(f.state->style.CharWidth[25], 0);
        // The font selected without drawing, then exactly one draw with the
        // whole record in place, the layout and the reload.
        QCOMPARE(f.host->selectCalls, QStringList{QStringLiteral("IPAGothic")});
        QCOMPARE(f.host->fontName(), QStringLiteral("IPAGothic"));
        QCOMPARE(f.draws, 1);
        QCOMPARE(f.drawnStyles.at(0).CharScaleSet, 1);
        QCOMPARE(f.layouts, QList<int>{1});
        QCOMPARE(f.reloads, 1);
        QCOMPARE(f.state->redrawGuard, 0);
    }

    void unknownFontLeavesNoSelection() {
        FilesFixture f;
        f.host->selected_ = QStringLiteral("IPAGothic");
        PavrexStyle record{};
        PavrexStyleDefaults(&record);
        setStyleSignature(record);
        record.CharScaleSet = 1;
        setFixedField(record.FontName, 40, QStringLiteral("存在しない書体"), true);
        const QString path = f.home.path() + QStringLiteral("/u.VTF");
        writeAll(path, recordBytes(record));
        QCOMPARE(loadSettingsFile(*f.state, path), SettingsLoad::Loaded);
        QCOMPARE(f.host->fontName(), QString());
        QCOMPARE(f.draws, 1);
    }

    void saveCommandOffersTheTemplateFolder() {
        FilesFixture f;
        f.host->setText(QStringLiteral("ABC"));
        QString offeredFolder, offeredName;
        setFileDialogFunction([&](QWidget*, bool save, const QString& title, const QString& folder,
                                  const QString& name, const QString&) {
            [&] {
                QVERIFY(save);
                QCOMPARE(title, QStringLiteral("設定保存"));
            }();
            offeredFolder = folder;
            offeredName = name;
            return folder + name;
        });
        saveSettingsCommand(*f.state, nullptr);
        QCOMPARE(offeredFolder, DataFolder() + QStringLiteral("Template/"));
        QCOMPARE(offeredName, QStringLiteral("VFmt_000.VTF"));
        QVERIFY(QFileInfo(offeredFolder).isDir());
        QCOMPARE(QFileInfo(offeredFolder + offeredName).size(), 4148);
        QVERIFY(f.messages.isEmpty());
    }

    void failedSaveIsToldAndKeepsThePreviousFile() {
        FilesFixture f;
        // A folder that does not exist.
        const QString missing = f.home.path() + QStringLiteral("/no/such/dir/x.VTF");
        setFileDialogFunction([&](QWidget*, bool, const QString&, const QString&, const QString&, const QString&) {
            return missing;
        });
        saveSettingsCommand(*f.state, nullptr);
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages.at(0).startsWith(QStringLiteral("設定保存|設定ファイルを保存できませんでした")));

        // A target that cannot be replaced (a folder of that name): what is
        // there stays.
        const QString blocked = f.home.path() + QStringLiteral("/blocked.VTF");
        QDir().mkpath(blocked);
        writeAll(blocked + QStringLiteral("/inside"), QByteArray("kept"));
        QVERIFY(!saveSettingsFile(*f.state, blocked));
        QCOMPARE(readAll(blocked + QStringLiteral("/inside")), QByteArray("kept"));

        // A read-only folder: the old file stays as it was.
        const QString dir = f.home.path() + QStringLiteral("/ro");
        QDir().mkpath(dir);
        const QString path = dir + QStringLiteral("/old.VTF");
        writeAll(path, QByteArray("previous"));
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(dir).isWritable()) QSKIP("running with rights that ignore permissions");
        QVERIFY(!saveSettingsFile(*f.state, path));
        QCOMPARE(readAll(path), QByteArray("previous"));
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "settings_files_test.moc"
