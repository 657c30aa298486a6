// Where the program finds its files.
//
// The program folder holds the program. It runs in one of two layouts:
//
// - its own folder (the build's build/bin/, or an unpacked copy): the three
//   libraries, the help pages and the templates lie beside the program;
// - an installation under a prefix: the program is prefix/bin/vakuro, the
//   libraries are in the private folder prefix/lib/vakuro/ (the program's
//   run path), and the shipped read-only files (help, templates) are in
//   prefix/share/vakuro/.
//
// The writable files (settings, style data, animation schedule, the lock,
// default output names, a user-built template library) live in the data
// folder: VAKURO_HOME when it is set, else the program folder when the
// program runs from its own folder and may write there, else the per-user
// data folder $XDG_DATA_HOME/Korvel/Vakuro/ (QStandardPaths'
// AppDataLocation for the program), created at the first start.
//
// Shipped read-only files come from the data folder when it has its own
// copy, otherwise from the installation (ShippedFolder()).
//
// Every folder path ends in '/'. Nothing is cached: the environment and the
// file system are looked at on every call.
#pragma once

#include <QString>

namespace vakuro {

// The folder of the running executable, ending in '/'.
QString ProgramFolder();

// True when the program runs from its own folder: the engine library lies
// beside the program.
bool RunsFromOwnFolder();

// The folder the three libraries are loaded from: the program folder when the
// program runs from its own folder, else the installation's private library
// folder (prefix/lib/vakuro/).
QString LibraryFolder();

// The folder of the shipped read-only files: the program folder when the
// program runs from its own folder, else prefix/share/vakuro/.
QString ShippedFolder();

// VAKURO_HOME (made absolute, ending in '/', created when missing) when it is
// set and not empty; otherwise the program folder when the program runs from
// its own folder and the folder is writable; otherwise the per-user data
// folder (created when missing).
QString DataFolder();

// The per-user data folder: $XDG_DATA_HOME/Korvel/Vakuro/ (by default
// ~/.local/share/Korvel/Vakuro/). Not created here.
QString UserDataFolder();

// A shipped file or folder, named relative to the top ("Template.Dat",
// "help/index.html", "Template/"): dataFolder + name when that exists,
// otherwise shippedFolder + name (whether or not it exists).
QString ShippedPath(const QString& name, const QString& dataFolder, const QString& shippedFolder);
// The same with DataFolder() and ShippedFolder().
QString ShippedPath(const QString& name);

// DataFolder() + "Vakuro.ini".
QString SettingsPath();

// DataFolder() + "Vakuro.Dat".
QString StyleDataPath();

// With VAKURO_HOME set, Qt's user-scope settings (the program's own,
// organisation "Korvel", and Qt's, such as the file dialog's) are kept in it,
// so that nothing is written to the user's configuration folder; without it
// they go back to the configuration folder ($XDG_CONFIG_HOME). Called at
// start and before every use of the user-scope settings.
void PlaceUserSettings();

// The temporary folder, QDir::tempPath() (which honours TMPDIR), ending in
// '/'. Temporary files use fixed names in it.
QString TempFolder();

}  // namespace vakuro
