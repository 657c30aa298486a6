#include "program_paths.h"

#include "shared_routines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

// The installation's folders seen from the program's folder; the build sets
// them from its install directories.
#ifndef VAKURO_LIBRARIES_FROM_PROGRAM
#define VAKURO_LIBRARIES_FROM_PROGRAM "../lib/vakuro"
#endif
#ifndef VAKURO_SHIPPED_FROM_PROGRAM
#define VAKURO_SHIPPED_FROM_PROGRAM "../share/vakuro"
#endif

namespace vakuro {
namespace {

QString folderBeside(const char* relative) {
    return WithBackslash(QDir::cleanPath(ProgramFolder() + QString::fromUtf8(relative)));
}

}  // namespace

QString ProgramFolder() {
    if (QCoreApplication::instance()) return WithBackslash(QCoreApplication::applicationDirPath());
    // Before the application object exists: the link the kernel keeps to the
    // executable.
    return WithBackslash(QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath());
}

bool RunsFromOwnFolder() { return QFileInfo::exists(ProgramFolder() + QStringLiteral("libPavrex.so")); }

QString LibraryFolder() {
    return RunsFromOwnFolder() ? ProgramFolder() : folderBeside(VAKURO_LIBRARIES_FROM_PROGRAM);
}

QString ShippedFolder() {
    return RunsFromOwnFolder() ? ProgramFolder() : folderBeside(VAKURO_SHIPPED_FROM_PROGRAM);
}

QString UserDataFolder() {
    // Fixed names rather than the application object's, so that every caller
    // (tools and tests too) agrees with the program.
    return WithBackslash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("Korvel/Vakuro/");
}

QString DataFolder() {
    const QString home = qEnvironmentVariable("VAKURO_HOME");
    if (!home.isEmpty()) {
        const QString folder = WithBackslash(QDir::cleanPath(QDir(home).absolutePath()));
        EnsureFolder(folder);
        return folder;
    }
    // An installed program's folder (prefix/bin) is shared with other
    // programs: it is never the data folder, even where it may be written.
    if (RunsFromOwnFolder()) {
        const QString program = ProgramFolder();
        if (QFileInfo(program).isWritable()) return program;
    }
    const QString folder = UserDataFolder();
    QDir().mkpath(folder);
    return folder;
}

QString ShippedPath(const QString& name, const QString& dataFolder, const QString& shippedFolder) {
    const QString own = dataFolder + name;
    if (QFileInfo::exists(own)) return own;
    return shippedFolder + name;
}

QString ShippedPath(const QString& name) { return ShippedPath(name, DataFolder(), ShippedFolder()); }

QString SettingsPath() { return DataFolder() + QStringLiteral("Vakuro.ini"); }

QString StyleDataPath() { return DataFolder() + QStringLiteral("Vakuro.Dat"); }

void PlaceUserSettings() {
    const QString home = qEnvironmentVariable("VAKURO_HOME");
    const QString folder = home.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                               : QDir::cleanPath(QDir(home).absolutePath());
    // On Linux the native format is the INI format; both are set so that
    // either kind of user-scope settings object lands here.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

QString TempFolder() { return WithBackslash(QDir::tempPath()); }

}  // namespace vakuro
