#include "program_paths.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
