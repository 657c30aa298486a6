#include "files_ui.h"

#include <QDir>
#include <QFileDialog>

namespace vakuro {
namespace {

FileDialogFunction& fileDialogFunction() {
    static FileDialogFunction f;
    return f;
}

MessageFunction& messageFunction() {
    static MessageFunction f;
    return f;
}

}  // namespace

void setFileDialogFunction(FileDialogFunction f) { fileDialogFunction() = std::move(f); }
void setMessageFunction(MessageFunction f) { messageFunction() = std::move(f); }

QString askFileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                    const QString& proposedName, const QString& filter) {
    if (fileDialogFunction()) return fileDialogFunction()(owner, save, title, folder, proposedName, filter);
    QFileDialog dialog(owner, title, folder, filter);
    dialog.setOption(QFileDialog::DontResolveSymlinks, true);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.selectFile(proposedName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void showFilesMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text) {
    if (messageFunction()) {
        messageFunction()(owner, icon, title, text);
        return;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace vakuro
