// The start routine: everything that happens before the main window opens.
#pragma once

#include <memory>

#include <QLockFile>

#include "command_line.h"
#include "program_state.h"

namespace vakuro {

struct StartupResult {
    enum class Next { Quit, OpenMainWindow, Batch };
    Next next = Next::Quit;
    int exitCode = 0;
    CommandLine commandLine;
};

// The lock that keeps a second instance from starting; a crashed instance's
// lock is recognised as stale and taken over.
std::unique_ptr<QLockFile> lockSingleInstance(const QString& folder);

// Main-window height limit in twips for a screen height in twips.
int mainWindowHeightLimit(int screenHeightTwips);

// Checks the library versions; on a library that is too old shows the fixed
// message and returns false.
bool checkLibraryVersions(const Libraries& libraries);

// Reads the options of section "Setting" (and "Anime") with their defaults.
ProgramOptions readOptions(const QString& iniPath);

// Loads the last style from the style data file into the record: a missing
// or short file leaves the defaults; a wrong signature shows
// "Setting File Error!" and keeps what was read.
void loadLastStyle(const QString& path, PavrexStyle& style, bool showMessages);

// Steps after the library binding: title screen, options, style defaults,
// last style, command line.
StartupResult runStartRoutine(ProgramState& state, const QStringList& arguments);

}  // namespace vakuro
