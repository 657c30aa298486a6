// Labels shared by the dialogs.
#pragma once

#include <QLabel>

namespace vakuro {

// A caption label with the given object name.
QLabel* caption(const QString& text, const QString& name, QWidget* parent);

// A right-aligned label that shows a slider's value, wide enough for widest.
QLabel* valueLabel(const char* name, QWidget* parent, const QString& widest);

}  // namespace vakuro
