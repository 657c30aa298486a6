// The per-character spacing editor: width, height, horizontal and vertical
// displacement and extra spacing of each of the first 20 characters.
//
// The five lists of each row are the editing state; every selection is
// written into the style record at once and the preview redrawn. Right-click
// menus on the row numbers and the column headers reset, copy, paste and
// propagate rows and columns.
#pragma once

#include <array>

#include "modeless_dialog.h"

class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QScrollBar;

namespace vakuro {

class SpacingEditor : public ModelessDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 20;
    static constexpr int kColumns = 5;

    SpacingEditor(ProgramState& state, QWidget* owner);

    // Positions the window, paints its background, selects every list from
    // the style record and marks the editor open. Run once before showing it.
    void prepareOpening();

    // The list of a row (0..19) and column (1 width, 2 height, 3 X position,
    // 4 Y position, 5 spacing).
    QComboBox* list(int row, int column) const { return lists_[row][column - 1]; }
    // The row of the list that last had the focus or of the row number last
    // right-clicked, -1 before any; the column whose header was last
    // right-clicked (1..5), -1 before any.
    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }

    // Writes the selection of every list into the record (a list without a
    // selection keeps the record's value) and draws.
    void Apply();

protected:
    // Asks a Yes/No question (No the default); true for Yes.
    virtual bool confirm(const QString& title, const QString& text);

    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void selectFromRecord();
    void listSelected();
    void writeRecord();
    void scrollRows(int value);
    void showRow(int row);
    void openCharacterMenu(int row, const QPoint& globalPos);
    void openItemMenu(int column, const QPoint& globalPos);

    // The multi-row commands: the selections change under the apply guard,
    // then the record is written and drawn once.
    void resetAll();
    void resetRow();
    void copyRowToNext();
    void copyRowToFollowing();
    void copyRowToClipboard();
    void pasteRow();
    void resetColumn();
    void copyColumnToNext();
    void copyColumnToFollowing();

    // Selects the reset entry of a cell; copies a cell's selection (and, for
    // a list without a selection, the record's value) to another row.
    void resetCell(int row, int column);
    void copyCell(int fromRow, int toRow, int column);
    int* field(int column) const;
    QString itemName(int column) const;

    bool applyGuard_ = false;
    bool pasting_ = false;
    int currentRow_ = -1;
    int currentColumn_ = -1;
    std::array<std::array<QComboBox*, kColumns>, kRows> lists_{};
    std::array<QLabel*, kRows> rowLabels_{};
    std::array<QLabel*, kColumns + 1> headers_{};
    QWidget* rows_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QMenu* characterMenu_ = nullptr;
    QMenu* itemMenu_ = nullptr;
    QAction* rowCopyNext_ = nullptr;
    QAction* rowCopyFollowing_ = nullptr;
    QAction* rowPaste_ = nullptr;
    QAction* columnReset_ = nullptr;
    QAction* columnCopyNext_ = nullptr;
    QAction* columnCopyFollowing_ = nullptr;
};

// Opens the per-character spacing editor owned by owner: non-modal (from the
// main window's menu) or modal, returning when it closes (from the colour
// settings dialog). An editor that is already open is raised instead.
void showSpacingEditor(ProgramState& state, QWidget* owner, bool modal);

}  // namespace vakuro
