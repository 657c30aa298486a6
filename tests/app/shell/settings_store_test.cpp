#include "settings_store.h"

#include "cp932_qstring.h"
#include "settings_keys.h"
#include "shared_routines.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace vakuro {
namespace {

using test::readBytes;
using test::writeBytes;

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name = QStringLiteral("Vakuro.ini")) const { return dir_.filePath(name); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QTemporaryDir dir_;
};

struct ReadCase {
    const char* name;
    QByteArray file;
    const char* section;
    const char* key;
    QString expected;
};

TEST_F(SettingsStore, ReadsValuesAsTheProfileFormatDefines) {
    const QString def = QStringLiteral("<default>");
    const QByteArray q200 = "Text='" + QByteArray(200, 'x') + "'\r\n";
    const ReadCase cases[] = {
        {"plain", "[Setting]\r\nText=abc\r\n", "Setting", "Text", QStringLiteral("abc")},
        {"LF line ends", "[Setting]\nText=abc\n", "Setting", "Text", QStringLiteral("abc")},
        {"last line without line end", "[Setting]\nText=abc", "Setting", "Text", QStringLiteral("abc")},
        {"section and key ignore case", "[setting]\nTEXT=abc\n", "SETTING", "text", QStringLiteral("abc")},
        {"F100_Left finds F100_LEFT", "[Window]\r\nF100_LEFT=1500\r\n", "Window", "F100_Left", QStringLiteral("1500")},
        {"blanks around names and value", "  [ Setting ]  \n  Text \t=  a b  \n", "Setting", "Text",
         QStringLiteral("a b")},
        {"apostrophes removed", "[S]\nK='abc'\n", "S", "K", QStringLiteral("abc")},
        {"double quotes removed", "[S]\nK=\"abc\"\n", "S", "K", QStringLiteral("abc")},
        {"quoted blanks kept", "[S]\nK=' a '\n", "S", "K", QStringLiteral(" a ")},
        {"only one pair removed", "[S]\nK=''a''\n", "S", "K", QStringLiteral("'a'")},
        {"unmatched quotes kept", "[S]\nK='abc\"\n", "S", "K", QStringLiteral("'abc\"")},
        {"single quote character kept", "[S]\nK='\n", "S", "K", QStringLiteral("'")},
        {"empty quotes", "[S]\nK=''\n", "S", "K", QString()},
        {"empty value is not the default", "[S]\nK=\n", "S", "K", QString()},
        {"cut at NUL", QByteArray("[S]\nK=ab\0cd\n", 12), "S", "K", QStringLiteral("ab")},
        {"equals sign inside the value", "[S]\nK=a=b\n", "S", "K", QStringLiteral("a=b")},
        {"code page 932 value", "[S]\nK=\x82\xa0\x83\x5c\n", "S", "K", QStringLiteral("あソ")},
        {"section name with trail byte ']'", "[\x83\x5d]\nK=v\n", "ゾ", "K", QStringLiteral("v")},
        {"first of two keys", "[S]\nK=1\nK=2\n", "S", "K", QStringLiteral("1")},
        {"first of two sections", "[S]\nK=1\n[s]\nK=2\n", "S", "K", QStringLiteral("1")},
        {"key of the first section only", "[S]\nA=1\n[S]\nK=2\n", "S", "K", def},
        {"key in another section", "[Other]\nText=x\n[Setting]\nTitleSkip=1\n", "Setting", "Text", def},
        {"key before any section", "Text=x\n[Setting]\n", "Setting", "Text", def},
        {"comment is not a key", "[S]\n;K=1\n", "S", "K", def},
        {"missing section", "[S]\nK=1\n", "T", "K", def},
        {"empty file", "", "S", "K", def},
        {"200 characters read as 119", "[S]\nK=" + QByteArray(200, 'x') + "\n", "S", "K", QString(119, u'x')},
        {"quoted 200 characters read as 119", "[Setting]\r\n" + q200, "Setting", "Text", QString(119, u'x')},
        {"cut never splits a double-byte character",
         "[S]\nK=" + QByteArray(118, 'x') + "\x82\xa0" + "y\n", "S", "K", QString(118, u'x')},
        {"double-byte character ending at byte 119",
         "[S]\nK=" + QByteArray(117, 'x') + "\x82\xa0" + "y\n", "S", "K", QString(117, u'x') + QStringLiteral("あ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), c.file);
        EXPECT_EQ(IniRead(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key), def), c.expected);
    }
}

TEST_F(SettingsStore, MissingFileGivesTheDefaultUncut) {
    const QString longDefault(300, u'd');
    EXPECT_EQ(IniRead(path(), QStringLiteral("S"), QStringLiteral("K"), longDefault), longDefault);
    EXPECT_EQ(IniReadValue(path(), QStringLiteral("S"), QStringLiteral("K")), std::nullopt);
    EXPECT_EQ(IniReadInt(path(), QStringLiteral("S"), QStringLiteral("K"), 42), 42);
}

TEST_F(SettingsStore, ReadsNumbers) {
    writeBytes(path(), "[S]\nAmp=12&\nWord=abc\nEmpty=\nNeg=-15\nBlank= 7 \n");
    const struct {
        const char* key;
        int expected;
    } cases[] = {{"Amp", 12}, {"Word", 0}, {"Empty", 0}, {"Neg", -15}, {"Blank", 7}, {"Missing", 99}};
    for (const auto& c : cases)
        EXPECT_EQ(IniReadInt(path(), QStringLiteral("S"), QString::fromUtf8(c.key), 99), c.expected) << c.key;
}

TEST_F(SettingsStore, WritesANewFileWithCrLf) {
    IniWrite(path(), QStringLiteral("Setting"), QStringLiteral("Text"), Quote(QStringLiteral("文字")));
    EXPECT_EQ(readBytes(path()), QByteArray("[Setting]\r\nText='\x95\xb6\x8e\x9a'\r\n"));
    EXPECT_EQ(IniRead(path(), QStringLiteral("Setting"), QStringLiteral("Text"), QString()), QStringLiteral("文字"));
}

TEST_F(SettingsStore, TwoHundredCharactersReadBackAs119) {
    const QString text(200, u'a');
    IniWrite(path(), QStringLiteral("Setting"), QStringLiteral("Text"), Quote(text));
    EXPECT_EQ(IniRead(path(), QStringLiteral("Setting"), QStringLiteral("Text"), QString()), text.left(119));
    IniWrite(path(), QStringLiteral("Setting"), QStringLiteral("Plain"), text);
    EXPECT_EQ(IniRead(path(), QStringLiteral("Setting"), QStringLiteral("Plain"), QString()), text.left(119));
}

struct UpdateCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
};

TEST_F(SettingsStore, UpdatesInPlaceKeepingEverythingElse) {
    const QByteArray file =
        "; settings\r\n"
        "[Setting]\r\n"
        "TitleSkip=0\r\n"
        "; comment in a section\r\n"
        "Text='abc'\r\n"
        "\r\n"
        "[Window]\n"
        "F100_TOP = 1500\n"
        "f100_left=300\n"
        "\n";
    const UpdateCase cases[] = {
        {"existing key: only its line changes", file, "Setting", "TitleSkip", "1",
         "; settings\r\n[Setting]\r\nTitleSkip=1\r\n; comment in a section\r\nText='abc'\r\n\r\n"
         "[Window]\nF100_TOP = 1500\nf100_left=300\n\n"},
        {"key spelling in the file is kept", file, "Window", "F100_LEFT", "450",
         "; settings\r\n[Setting]\r\nTitleSkip=0\r\n; comment in a section\r\nText='abc'\r\n\r\n"
         "[Window]\nF100_TOP = 1500\nf100_left=450\n\n"},
        {"blanks around the name are dropped", file, "window", "f100_top", "0",
         "; settings\r\n[Setting]\r\nTitleSkip=0\r\n; comment in a section\r\nText='abc'\r\n\r\n"
         "[Window]\nF100_TOP=0\nf100_left=300\n\n"},
        {"new key after the section's last line", file, "Setting", "HiPreView", "1",
         "; settings\r\n[Setting]\r\nTitleSkip=0\r\n; comment in a section\r\nText='abc'\r\nHiPreView=1\r\n\r\n"
         "[Window]\nF100_TOP = 1500\nf100_left=300\n\n"},
        {"new key in the last section", file, "Window", "F030_TOP", "15",
         "; settings\r\n[Setting]\r\nTitleSkip=0\r\n; comment in a section\r\nText='abc'\r\n\r\n"
         "[Window]\nF100_TOP = 1500\nf100_left=300\nF030_TOP=15\r\n\n"},
        {"new section at the end", file, "Anime", "LoopCount", "3",
         "; settings\r\n[Setting]\r\nTitleSkip=0\r\n; comment in a section\r\nText='abc'\r\n\r\n"
         "[Window]\nF100_TOP = 1500\nf100_left=300\n\n[Anime]\r\nLoopCount=3\r\n"},
        {"last line without line end", "[S]\r\nA=1", "S", "B", "2", "[S]\r\nA=1\r\nB=2\r\n"},
        {"new section after a last line without line end", "[S]\r\nA=1", "T", "B", "2",
         "[S]\r\nA=1\r\n[T]\r\nB=2\r\n"},
        {"empty section header", "[S]\r\n[T]\r\n", "S", "A", "1", "[S]\r\nA=1\r\n[T]\r\n"},
        {"first of duplicate keys", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "9", "[S]\r\nK=9\r\nK=2\r\n"},
        {"equal value leaves the file as it is", "[S]\nK=1", "S", "K", "1", "[S]\nK=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), c.before);
        EXPECT_TRUE(IniWriteChecked(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                    QString::fromUtf8(c.value)));
        EXPECT_EQ(readBytes(path()), c.after);
        EXPECT_EQ(IniRead(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString()),
                  QString::fromUtf8(c.value));
    }
}

TEST_F(SettingsStore, ReadsBackUnderAnotherSpelling) {
    IniWriteInt(path(), QStringLiteral("Window"), QStringLiteral("F100_LEFT"), 1500);
    IniWriteInt(path(), QStringLiteral("Window"), QStringLiteral("F100_Left"), -30);
    EXPECT_EQ(IniReadInt(path(), QStringLiteral("Window"), QStringLiteral("F100_Left"), 0), -30);
    EXPECT_EQ(readBytes(path()), QByteArray("[Window]\r\nF100_LEFT=-30\r\n"));
}

TEST_F(SettingsStore, RefusesWritesThatWouldCorruptTheFile) {
    const QByteArray before = "[S]\r\nK=1\r\n";
    const struct {
        const char* name;
        QString section, key, value;
    } cases[] = {
        {"value not in code page 932", QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("café")},
        {"key not in code page 932", QStringLiteral("S"), QStringLiteral("K😀"), QStringLiteral("1")},
        {"section not in code page 932", QStringLiteral("S€"), QStringLiteral("K"), QStringLiteral("1")},
        {"line break in the value", QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\r\nX=1")},
        {"LF in the value", QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\nb")},
        {"NUL in the value", QStringLiteral("S"), QStringLiteral("K"), QString(u'a') + QChar(u'\0')},
        {"equals sign in the key", QStringLiteral("S"), QStringLiteral("K=1"), QStringLiteral("1")},
        {"key looks like a section", QStringLiteral("S"), QStringLiteral("[T]"), QStringLiteral("1")},
        {"key looks like a comment", QStringLiteral("S"), QStringLiteral(";K"), QStringLiteral("1")},
        {"bracket in the section", QStringLiteral("S]x"), QStringLiteral("K"), QStringLiteral("1")},
        {"empty key", QStringLiteral("S"), QStringLiteral("  "), QStringLiteral("1")},
        {"empty section", QString(), QStringLiteral("K"), QStringLiteral("1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), before);
        EXPECT_FALSE(IniWriteChecked(path(), c.section, c.key, c.value));
        IniWrite(path(), c.section, c.key, c.value);
        EXPECT_EQ(readBytes(path()), before);
    }
    EXPECT_EQ(unencodableCharacters(QStringLiteral("café")), QStringLiteral("é"));
}

// Several keys in one write give the file a series of single writes gives;
// an entry a single write would refuse is left out and reported.
TEST_F(SettingsStore, WriteAllEqualsASeriesOfWrites) {
    const QByteArray start = "; comment\r\n[Setting]\r\nB=old\r\n\r\n[Window]\r\nX=1\r\n";
    writeBytes(path(QStringLiteral("a.ini")), start);
    writeBytes(path(QStringLiteral("b.ini")), start);
    const QList<IniEntry> entries = {{QStringLiteral("A"), QStringLiteral("1")},
                                     {QStringLiteral("b"), QStringLiteral("new")},
                                     {QStringLiteral("C"), QStringLiteral("'x y'")}};
    for (const IniEntry& e : entries) IniWrite(path(QStringLiteral("a.ini")), QStringLiteral("Setting"), e.key, e.value);
    EXPECT_TRUE(IniWriteAll(path(QStringLiteral("b.ini")), QStringLiteral("Setting"), entries));
    EXPECT_EQ(readBytes(path(QStringLiteral("b.ini"))), readBytes(path(QStringLiteral("a.ini"))));

    EXPECT_FALSE(IniWriteAll(path(QStringLiteral("b.ini")), QStringLiteral("Setting"),
                             {{QStringLiteral("D"), QStringLiteral("4")}, {QStringLiteral("E=F"), QStringLiteral("5")}}));
    EXPECT_EQ(IniRead(path(QStringLiteral("b.ini")), QStringLiteral("Setting"), QStringLiteral("D"), QString()),
              QStringLiteral("4"));
    EXPECT_FALSE(IniReadValue(path(QStringLiteral("b.ini")), QStringLiteral("Setting"), QStringLiteral("E")));

    // Nothing that can be written: no file is made.
    EXPECT_FALSE(IniWriteAll(path(QStringLiteral("c.ini")), QStringLiteral("Setting"),
                             {{QStringLiteral("[K"), QStringLiteral("1")}}));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("c.ini"))));
}

TEST_F(SettingsStore, MissingFolderFailsWithoutCreatingIt) {
    const QString missing = dir_.filePath(QStringLiteral("missing/Vakuro.ini"));
    EXPECT_FALSE(IniWriteChecked(missing, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1")));
    IniWrite(missing, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(IniRead(missing, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(SettingsStore, PathThatIsAFolderFails) {
    EXPECT_FALSE(IniWriteChecked(dir_.path(), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(dir_.path()).isDir());
}

TEST_F(SettingsStore, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    writeBytes(path(), "[S]\r\nK=old\r\n");
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(IniWriteChecked(path(), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new")));
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(IniRead(path(), QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("old"));
}

// A write that the system stops part way (here: the file size limit) leaves
// the previous file whole and no temporary file behind.
TEST_F(SettingsStore, InterruptedWriteKeepsTheOldFile) {
    const QByteArray before = "[S]\r\nK=old\r\nOther=kept\r\n";
    writeBytes(path(), before);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = IniWriteChecked(path(), QStringLiteral("S"), QStringLiteral("K"), QString(100000, u'n'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_EQ(files(), QStringList{QStringLiteral("Vakuro.ini")});
}

TEST_F(SettingsStore, ReplacingKeepsThePermissions) {
    writeBytes(path(), "[S]\r\nK=1\r\n");
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path(), permissions));
    ASSERT_TRUE(IniWriteChecked(path(), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2")));
    // Owner, group and others (the "user" flags repeat the owner's for root).
    EXPECT_EQ(QFileInfo(path()).permissions() & QFileDevice::Permissions(0x7077), permissions);
    EXPECT_EQ(files(), QStringList{QStringLiteral("Vakuro.ini")});
}

TEST_F(SettingsStore, WritingThroughALinkReplacesTheLinkedFile) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("real")));
    const QString real = dir_.filePath(QStringLiteral("real/Vakuro.ini"));
    writeBytes(real, "[S]\r\nK=1\r\n");
    ASSERT_TRUE(QFile::link(real, path()));
    ASSERT_TRUE(IniWriteChecked(path(), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2")));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readBytes(real), QByteArray("[S]\r\nK=2\r\n"));
}

TEST_F(SettingsStore, NothingIsCachedBetweenCalls) {
    IniWrite(path(), QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
    EXPECT_EQ(IniRead(path(), QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("1"));
    writeBytes(path(), "[S]\r\nK=2\r\n");
    EXPECT_EQ(IniRead(path(), QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("2"));
    IniWrite(path(), QStringLiteral("S"), QStringLiteral("J"), QStringLiteral("3"));
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nK=2\r\nJ=3\r\n"));
}

TEST_F(SettingsStore, KeyTableDefaultsAndSpelling) {
    EXPECT_EQ(settings::IniReadInt(path(), settings::kClipScaleIndex), 1);
    EXPECT_EQ(settings::IniReadInt(path(), settings::kJPEGQuality), 90);
    settings::IniWriteInt(path(), settings::kJPEGQuality, 75);
    EXPECT_EQ(readBytes(path()), QByteArray("[Setup]\r\nJPEGQuality=75\r\n"));
    EXPECT_EQ(settings::IniReadInt(path(), settings::kJPEGQuality), 75);
}

TEST_F(SettingsStore, InstallDirGoesToTheUserSettings) {
    // The test runner points the user configuration at a scratch folder;
    // without it this test would write into the real one, so the redirect
    // is checked before anything is written.
    const QString scratch = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(scratch.isEmpty()) << "XDG_CONFIG_HOME is not redirected";
    ASSERT_TRUE(QFileInfo(scratch).isDir()) << scratch.toStdString();
    ASSERT_NE(QFileInfo(scratch).canonicalFilePath(), QFileInfo(QDir::homePath() + QStringLiteral("/.config")).canonicalFilePath());
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Vakuro"));
    ASSERT_TRUE(settings.fileName().startsWith(scratch + QLatin1Char('/'))) << settings.fileName().toStdString();
    WriteInstallDir(QStringLiteral("/opt/vakuro/"));
    settings.sync();
    EXPECT_EQ(settings.value(QStringLiteral("Vakuro/InstallDir")).toString(), QStringLiteral("/opt/vakuro/"));
    EXPECT_TRUE(QFileInfo::exists(settings.fileName()));
}

}  // namespace
}  // namespace vakuro
