// A style dialog that stays open beside the main window (the colour
// settings, the special effects, the spacing editor): one open at a time per
// program state, its flag in ProgramState::openDialogs set while it is open,
// and its position stored once however it closes (its buttons, the close
// box, or deletion with its owner when the program ends).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QString>

#include "program_state.h"

namespace vakuro {

class ModelessDialog : public QDialog {
    Q_OBJECT
public:
    ProgramState& state() const { return state_; }
    // True from markOpen() until the dialog closes (it may still await
    // deletion then).
    bool isOpen() const { return open_; }

protected:
    // windowNumber names the position keys ("020": "F020_TOP"); openFlag is
    // the dialog's entry in ProgramState::openDialogs.
    ModelessDialog(ProgramState& state, QWidget* owner, QString windowNumber, bool OpenDialogs::*openFlag);
    ~ModelessDialog() override;

    // Marks the dialog open in the program state.
    void markOpen();
    void done(int result) override;

    ProgramState& state_;

private:
    // Stores the position and clears the open flag, once.
    void finish();

    const QString windowNumber_;
    bool OpenDialogs::*const openFlag_;
    bool open_ = false;
};

// Brings the open dialog of type Dialog that works on state to the front;
// false when none is open.
template <class Dialog>
bool raiseOpenDialog(ProgramState& state) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* open = qobject_cast<Dialog*>(w);
        if (open && &open->state() == &state && open->isOpen()) {
            open->show();
            open->raise();
            open->activateWindow();
            return true;
        }
    }
    return false;
}

}  // namespace vakuro
