// The file dialogs and message boxes of the style-file commands, routed
// through replaceable functions so that tests answer them without a user.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace vakuro {

// Asks for a file name. save selects the save dialog; the result is the
// chosen path, or an empty text when the user cancelled.
using FileDialogFunction = std::function<QString(QWidget* owner, bool save, const QString& title,
                                                 const QString& folder, const QString& proposedName,
                                                 const QString& filter)>;
// Shows a message and waits for the user.
using MessageFunction =
    std::function<void(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text)>;

// Replace the functions; an empty function restores Qt's dialogs.
void setFileDialogFunction(FileDialogFunction f);
void setMessageFunction(MessageFunction f);

QString askFileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                    const QString& proposedName, const QString& filter);
void showFilesMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text);

}  // namespace vakuro
