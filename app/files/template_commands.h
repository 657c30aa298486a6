// The template library's commands: the maintainer's builder ("ﾃﾝﾌﾟﾚ") and
// loading a template into the current style.
#pragma once

#include <QString>

class QWidget;

namespace vakuro {

class ProgramState;

// DataFolder() + "Template.Dat".
QString templateLibraryPath();

// Builds "Template.Dat" from the template files of the data folder, rendering
// the thumbnails through the main window's render pipeline, and ends with the
// message "OK" (or the error). The current style is left as it was.
void buildTemplateLibraryCommand(ProgramState& state, QWidget* owner);

// Loads record index of "Template.Dat" into the current style: completes the
// per-character scales, draws once, lays out the main window and makes the
// open style dialogs reload. The text and the font list stay as they are.
// False (nothing changed) when the library does not hold the record.
bool loadTemplate(ProgramState& state, int index);

}  // namespace vakuro
