// Where the program finds its files.
//
// The program folder holds the program and its three libraries. The writable
// files (settings, style data, templates, animation schedule) live in the
// data folder: the folder named by the environment variable VAKURO_HOME when
// it is set, else the program folder. Every folder path ends in '/'.
// Nothing is cached: the environment is read on every call.
#pragma once

#include <QString>

namespace vakuro {

// The folder of the running executable, ending in '/'.
QString ProgramFolder();

// VAKURO_HOME (made absolute, ending in '/', created when missing) when it is
// set and not empty; otherwise ProgramFolder().
QString DataFolder();

// DataFolder() + "Vakuro.ini".
QString SettingsPath();

// DataFolder() + "Vakuro.Dat".
QString StyleDataPath();

// The temporary folder, QDir::tempPath() (which honours TMPDIR), ending in
// '/'. Temporary files use fixed names in it.
QString TempFolder();

}  // namespace vakuro
