// The start routine: everything that happens before the main window opens.
#pragma once

#include <memory>

#include <QMessageBox>

#include "command_line.h"
#include "program_state.h"

namespace vakuro {

struct StartupResult {
    enum class Next { Quit, OpenMainWindow, Batch };
    Next next = Next::Quit;
    int exitCode = 0;
    CommandLine commandLine;
};

// The lock that keeps a second instance from starting: an advisory lock
// (flock) on "Vakuro.lock" in the folder, held while the object lives. The
// system releases it when the process ends however it ends, so a crashed
// instance leaves no stale lock; taking it writes nothing and waits for no
// disk.
class InstanceLock {
public:
    explicit InstanceLock(int fd) : fd_(fd) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    int fd_;
};

// The lock, or null when another instance (or another holder in this
// process) has it, or the lock file cannot be opened.
std::unique_ptr<InstanceLock> lockSingleInstance(const QString& folder);

// Main-window height limit in twips for a screen height in twips.
int mainWindowHeightLimit(int screenHeightTwips);

// Where the start routine's messages go: message boxes in a window session,
// lines on standard error in command-line mode (which waits for nothing),
// or nowhere.
enum class MessageChannel { Box, StandardError, Silent };

// Shows a start-up message with its title through the channel.
void startupMessage(MessageChannel channel, QMessageBox::Icon icon, const QString& title, const QString& text);

// Checks the library versions; on a library that is too old shows the fixed
// message and returns false.
bool checkLibraryVersions(const Libraries& libraries, MessageChannel channel = MessageChannel::Box);

// Reads the options of section "Setting" (and "Anime") with their defaults.
ProgramOptions readOptions(const QString& iniPath);

// Loads the last style from the style data file into the record: a missing
// or short file leaves the defaults; a wrong signature shows
// "Setting File Error!" (through the channel) and keeps what was read.
void loadLastStyle(const QString& path, PavrexStyle& style, MessageChannel channel);
inline void loadLastStyle(const QString& path, PavrexStyle& style, bool showMessages) {
    loadLastStyle(path, style, showMessages ? MessageChannel::Box : MessageChannel::Silent);
}

// Steps after the library binding: title screen, options, style defaults,
// last style, command line. Command-line output shows no title screen, and
// its messages go to standard error.
StartupResult runStartRoutine(ProgramState& state, const QStringList& arguments);

}  // namespace vakuro
