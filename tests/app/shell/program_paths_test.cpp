#include "program_paths.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vakuro {
namespace {

using test::ScopedEnv;

TEST(ProgramPaths, ProgramFolderIsTheExecutablesFolder) {
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath() + u'/');
    EXPECT_TRUE(QFileInfo::exists(ProgramFolder() + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

TEST(ProgramPaths, DataFolderFollowsVakuroHome) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath(QStringLiteral("data/sub"));
    const struct {
        const char* name;
        QByteArray value;
        QString folder;
    } cases[] = {
        {"unset", QByteArray(), ProgramFolder()},
        {"missing folder is created", home.toLocal8Bit(), home + u'/'},
        {"trailing slash not doubled", (home + u'/').toLocal8Bit(), home + u'/'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv env("VAKURO_HOME", c.value);
        EXPECT_EQ(DataFolder(), c.folder);
        EXPECT_TRUE(QFileInfo(DataFolder()).isDir());
        EXPECT_EQ(SettingsPath(), c.folder + QStringLiteral("Vakuro.ini"));
        EXPECT_EQ(StyleDataPath(), c.folder + QStringLiteral("Vakuro.Dat"));
    }
}

TEST(ProgramPaths, RelativeVakuroHomeIsMadeAbsolute) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    {
        ScopedEnv env("VAKURO_HOME", "rel");
        EXPECT_EQ(DataFolder(), QDir(dir.path()).canonicalPath() + QStringLiteral("/rel/"));
    }
    QDir::setCurrent(oldCurrent);
}

TEST(ProgramPaths, ABuildRunFindsEverythingInTheProgramFolder) {
    // The tests run from the build's program folder, beside the libraries.
    EXPECT_TRUE(RunsFromOwnFolder());
    EXPECT_EQ(LibraryFolder(), ProgramFolder());
    EXPECT_EQ(ShippedFolder(), ProgramFolder());
    ScopedEnv env("VAKURO_HOME", QByteArray());
    EXPECT_EQ(DataFolder(), ProgramFolder());
    EXPECT_EQ(ShippedPath(QStringLiteral("help/index.html")), ProgramFolder() + QStringLiteral("help/index.html"));
}

TEST(ProgramPaths, UserDataFolderFollowsXdgDataHome) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScopedEnv env("XDG_DATA_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(UserDataFolder(), dir.path() + QStringLiteral("/Korvel/Vakuro/"));
}

TEST(ProgramPaths, ShippedFilesComeFromTheDataFolderOnlyWhenItHasItsOwn) {
    QTemporaryDir data, shipped;
    ASSERT_TRUE(data.isValid() && shipped.isValid());
    const QString d = data.path() + u'/', s = shipped.path() + u'/';
    ASSERT_TRUE(QDir(d).mkpath(QStringLiteral("Template")));
    ASSERT_TRUE(QDir(s).mkpath(QStringLiteral("help")));
    for (const QString& file : {d + QStringLiteral("Template.Dat"), s + QStringLiteral("Template.Dat"),
                                s + QStringLiteral("help/index.html")}) {
        test::writeBytes(file, "x");
    }
    const struct {
        const char* name;
        QString path;
    } cases[] = {
        {"Template.Dat", d + QStringLiteral("Template.Dat")},       // the user's own takes precedence
        {"Template/", d + QStringLiteral("Template/")},             // folders too
        {"help/index.html", s + QStringLiteral("help/index.html")},  // no copy of its own
        {"help/none.html", s + QStringLiteral("help/none.html")},    // nowhere: the shipped path
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShippedPath(QString::fromLatin1(c.name), d, s), c.path);
    }
}

TEST(ProgramPaths, UserSettingsStayInsideVakuroHome) {
    QTemporaryDir home, config;
    ASSERT_TRUE(home.isValid() && config.isValid());
    ScopedEnv configEnv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const auto fileName = [] {
        PlaceUserSettings();
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("Vakuro"))
            .fileName();
    };
    {
        ScopedEnv env("VAKURO_HOME", home.path().toLocal8Bit());
        EXPECT_EQ(fileName(), home.path() + QStringLiteral("/Korvel/Vakuro.conf"));
        // Qt's own user settings (the file dialog's) stay there as well.
        EXPECT_TRUE(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName().startsWith(home.path()));
    }
    {
        ScopedEnv env("VAKURO_HOME", QByteArray());
        EXPECT_EQ(fileName(), config.path() + QStringLiteral("/Korvel/Vakuro.conf"));
    }
}

TEST(ProgramPaths, TempFolderFollowsTmpdir) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        ScopedEnv env("TMPDIR", dir.path().toLocal8Bit());
        EXPECT_EQ(TempFolder(), dir.path() + u'/');
    }
    {
        ScopedEnv env("TMPDIR", (dir.path() + u'/').toLocal8Bit());
        EXPECT_EQ(TempFolder(), dir.path() + u'/');
    }
}

}  // namespace
}  // namespace vakuro
