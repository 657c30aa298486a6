// PLACEHOLDER detail dialogs. The common detail dialog (Form073) and the
// free-move dialog (Form076) replace these functions, each in its own file;
// delete this file when both have landed.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "detail_dialogs.h"
#include "effect_kinds.h"
#include "program_state.h"
#include "window_position.h"

namespace vakuro {

namespace {

bool placeholder(ProgramState& state, QWidget* owner, const ScheduleEntry& entry, const char* number,
                 const char* caption) {
    QDialog dialog(owner);
    dialog.setObjectName(QString::fromLatin1("Form") + QString::fromLatin1(number));
    dialog.setWindowTitle(QString::fromUtf8(caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* note = new QLabel(kindListName(entry.kind()) + QStringLiteral("\nこの効果の詳細設定は準備中です。"), &dialog);
    note->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(note);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), &dialog);
    cancel->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const QString windowNumber = QString::fromLatin1(number);
    RestoreWindowPosition(&dialog, state.settingsPath(), windowNumber, true);
    dialog.exec();
    StoreWindowPosition(&dialog, state.settingsPath(), windowNumber);
    return false;
}

}  // namespace

bool showCommonDetailDialog(ProgramState& state, QWidget* owner, ScheduleEntry& entry) {
    return placeholder(state, owner, entry, "073", "アニメーション詳細設定");
}

}  // namespace vakuro
