// The main window's menu "編集(&E)": "元に戻す" (Ctrl+Z) and "やり直し"
// (Ctrl+Y, Ctrl+Shift+Z) on the style history, enabled while there is a step
// to undo or redo. The keys work in the main window and in the style dialogs
// beside it (not under a modal dialog). In a text box the keys undo and redo
// its typing first; once the box has nothing to undo (or redo) they reach the
// style history.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace vakuro {

class StyleHistory;

class EditMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu at the end of menuBar.
    EditMenu(QMenuBar* menuBar, StyleHistory& history);

    QMenu* menu() const { return menu_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* menu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace vakuro
