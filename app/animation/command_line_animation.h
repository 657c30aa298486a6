// Command-line animation output: "vakuro /T text /A out.gif" (or "/S" with
// "/A" for the stored text) writes the animated GIF of the stored schedule
// without opening any window.
#pragma once

#include <QString>

#include "command_line.h"

namespace vakuro {

class ProgramState;

// Runs the driver in output mode with the stored style, the schedule in
// "AniSet.Dat" of the data folder, the "Anime" settings and the output size
// the animation command sets (half the rendered size minus 4). A relative
// output file lies in startFolder. Messages go to standard error. Returns
// the exit status: 0 when the file was written, 1 otherwise (then no file
// was written).
int runAnimationCommandLine(ProgramState& state, const CommandLine& commandLine, const QString& startFolder);

}  // namespace vakuro
