// The template library's commands: the maintainer's builder ("ﾃﾝﾌﾟﾚ") and
// loading a template into the current style.
#pragma once

#include <QString>

class QWidget;

namespace vakuro {

class ProgramState;

// DataFolder() + "Template.Dat", where the template builder writes.
QString templateLibraryPath();

// The library the browser shows and templates are loaded from: the data
// folder's own "Template.Dat" when there is one, otherwise the shipped one.
QString templateLibraryInUse();

// Builds templateLibraryPath() from templateFilesInUse(), rendering
// the thumbnails through the main window's render pipeline, and ends with the
// message "OK" (or the error). The current style is left as it was.
void buildTemplateLibraryCommand(ProgramState& state, QWidget* owner);

// Loads record index of templateLibraryInUse() into the current style: completes the
// per-character scales, draws once, lays out the main window and makes the
// open style dialogs reload. The text and the font list stay as they are.
// False (nothing changed) when the library does not hold the record.
bool loadTemplate(ProgramState& state, int index);

}  // namespace vakuro
