#include "modeless_dialog.h"

#include "window_position.h"

namespace vakuro {

ModelessDialog::ModelessDialog(ProgramState& state, QWidget* owner, QString windowNumber,
                               bool OpenDialogs::*openFlag)
    : QDialog(owner), state_(state), windowNumber_(std::move(windowNumber)), openFlag_(openFlag) {}

// A dialog still open when its owner goes (the program ends) stores its
// position as closing does.
ModelessDialog::~ModelessDialog() { finish(); }

void ModelessDialog::markOpen() {
    state_.openDialogs.*openFlag_ = true;
    open_ = true;
}

void ModelessDialog::done(int result) {
    finish();
    QDialog::done(result);
}

void ModelessDialog::finish() {
    if (!open_) return;
    open_ = false;
    StoreWindowPosition(this, state_.settingsPath(), windowNumber_);
    state_.openDialogs.*openFlag_ = false;
}

}  // namespace vakuro
