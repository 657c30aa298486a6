#include "edit_menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "style_history.h"

namespace vakuro {
namespace {

const QKeySequence kUndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedoKey(Qt::CTRL | Qt::Key_Y);
const QKeySequence kRedoKeyAlternative(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

QKeySequence sequenceOf(const QKeyEvent* key) { return QKeySequence(key->keyCombination()); }

bool isUndoKey(const QKeyEvent* key) { return sequenceOf(key) == kUndoKey; }

bool isRedoKey(const QKeyEvent* key) {
    const QKeySequence pressed = sequenceOf(key);
    return pressed == kRedoKey || pressed == kRedoKeyAlternative;
}

}  // namespace

EditMenu::EditMenu(QMenuBar* menuBar, StyleHistory& history) : QObject(menuBar) {
    menu_ = menuBar->addMenu(QStringLiteral("編集(&E)"));
    menu_->setObjectName(QStringLiteral("M_Edit"));
    QUndoStack& stack = history.stack();

    undo_ = menu_->addAction(QStringLiteral("元に戻す"));
    undo_->setObjectName(QStringLiteral("M_Undo"));
    undo_->setShortcut(kUndoKey);
    redo_ = menu_->addAction(QStringLiteral("やり直し"));
    redo_->setObjectName(QStringLiteral("M_Redo"));
    redo_->setShortcuts({kRedoKey, kRedoKeyAlternative});
    for (QAction* a : {undo_, redo_}) {
        // Also from the style dialogs beside the main window; a modal
        // dialog blocks them as it blocks the menu.
        a->setShortcutContext(Qt::ApplicationShortcut);
    }
    undo_->setEnabled(stack.canUndo());
    redo_->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
    connect(undo_, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(redo_, &QAction::triggered, &stack, &QUndoStack::redo);

    qApp->installEventFilter(this);
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || box->isReadOnly()) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = isUndoKey(key);
    const bool redo = isRedoKey(key);
    if (!undo && !redo) return QObject::eventFilter(watched, event);

    const bool boxCan = undo ? box->isUndoAvailable() : box->isRedoAvailable();
    if (type == QEvent::ShortcutOverride) {
        // Accepted, the key goes to the box; ignored, to the menu's shortcut.
        key->setAccepted(boxCan);
        return true;
    }
    if (!boxCan) return QObject::eventFilter(watched, event);
    // Every redo key redoes the box's typing, whatever the platform's own
    // redo key is.
    if (undo)
        box->undo();
    else
        box->redo();
    return true;
}

}  // namespace vakuro
