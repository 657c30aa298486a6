// The transform settings dialog: the transform type (ten icons), an
// illustration of the chosen type, three parameter sliders and a live preview.
// It reads and writes the transform state (TranslateType, TranslateP1..P3).
#pragma once

class QWidget;

namespace vakuro {

class ProgramState;

// Shows the dialog modally, owned by owner; OK stores the settings, Cancel
// keeps the stored ones.
void showForm032(ProgramState& state, QWidget* owner);

}  // namespace vakuro
