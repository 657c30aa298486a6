// The undo history of the style record: every change the user makes to the
// record (a dialog edit, a template or settings-file load, a per-character
// edit, a font choice, a writing-direction switch) is one step on a
// QUndoStack, holding the whole record before and after. Undoing or redoing a
// step puts its record back, selects its font, draws, lays the main window
// out for its writing direction and has the open dialogs reload their
// controls.
#pragma once

#include <QObject>
#include <QUndoStack>

#include "program_state.h"

namespace vakuro {

class StyleHistory : public QObject {
    Q_OBJECT
public:
    explicit StyleHistory(ProgramState& state, QObject* parent = nullptr);
    ~StyleHistory() override;

    QUndoStack& stack() { return stack_; }
    const QUndoStack& stack() const { return stack_; }

    // Takes the current record as the starting point and forgets all steps.
    // Changes reported before the first start are not recorded (the opening
    // steps of the main window select a font and draw).
    void start();

    // Makes the change of the record since the last step one step, or adds it
    // to the last step while the run of mergeKey goes on.
    void recordEdit(const void* mergeKey);
    // Ends the run of merged changes: the next change is a step of its own.
    void endRun();

protected:
    // A mouse press or release anywhere ends the run: one slider drag is one
    // step, and the next drag of the same slider is another.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class StyleStep;
    // Puts record back as the current style and brings the program in line.
    void restore(const PavrexStyle& record);

    ProgramState& state_;
    QUndoStack stack_;
    // The record as of the last step (or the start).
    PavrexStyle last_{};
    bool started_ = false;
    bool restoring_ = false;
    const void* runKey_ = nullptr;
    int run_ = 0;
    int nextRun_ = 1;
};

}  // namespace vakuro
