#include "program_paths.h"

#include "shared_routines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vakuro {

QString ProgramFolder() {
    if (QCoreApplication::instance()) return WithBackslash(QCoreApplication::applicationDirPath());
    // Before the application object exists: the link the kernel keeps to the
    // executable.
    return WithBackslash(QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath());
}

QString DataFolder() {
    const QString home = qEnvironmentVariable("VAKURO_HOME");
    if (home.isEmpty()) return ProgramFolder();
    const QString folder = WithBackslash(QDir::cleanPath(QDir(home).absolutePath()));
    EnsureFolder(folder);
    return folder;
}

QString SettingsPath() { return DataFolder() + QStringLiteral("Vakuro.ini"); }

QString StyleDataPath() { return DataFolder() + QStringLiteral("Vakuro.Dat"); }

QString TempFolder() { return WithBackslash(QDir::tempPath()); }

}  // namespace vakuro
