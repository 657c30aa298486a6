// Message boxes of the file output. In a window session they are shown; in
// command-line output they go to standard error and a question takes its
// safe answer; tests install their own handler.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace vakuro {

struct OutputMessage {
    QMessageBox::Icon icon = QMessageBox::Information;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    // The default answer only adjusts the output (it never overwrites or
    // drops anything): command-line output takes it instead of refusing.
    bool defaultIsHarmless = false;
};

// Returns the button pressed.
using OutputMessageHandler = std::function<QMessageBox::StandardButton(const OutputMessage&, QWidget* owner)>;

// Shows a message through the current handler.
QMessageBox::StandardButton showOutputMessage(const OutputMessage& message, QWidget* owner);

// Replaces the handler; an empty function restores the message boxes.
void setOutputMessageHandler(OutputMessageHandler handler);

// The command-line handler: writes the text to standard error and answers
// No, or Cancel when there is no No button (Ok for a plain message); a
// question whose default is harmless takes its default.
QMessageBox::StandardButton commandLineMessage(const OutputMessage& message, QWidget* owner);

}  // namespace vakuro
