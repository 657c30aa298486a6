// The template browser "テンプレート": the thumbnails of "Template.Dat" in a
// grid of three columns, four rows visible, a selection frame, a vertical
// scroll bar; "読込み" or a double-click loads the selected template into the
// current style, and the browser stays open so that several can be tried.
#pragma once

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace vakuro {

class ProgramState;

class TemplateBrowser : public QDialog {
    Q_OBJECT
public:
    TemplateBrowser(ProgramState& state, QWidget* owner);
    ~TemplateBrowser() override;

    // Reads the library, creates and places the thumbnails, sizes the
    // viewport, the scroll bar and the window, positions the window and
    // paints its background. Run once before showing.
    void prepareOpening();

    int count() const { return static_cast<int>(thumbs_.size()); }
    int rows() const { return (count() + 2) / 3; }
    QLabel* thumbnail(int i) const { return thumbs_.value(i); }
    QFrame* selectionFrame() const { return frame_; }
    QScrollBar* scrollBar() const { return scroll_; }
    QWidget* container() const { return container_; }
    QWidget* viewport() const { return viewport_; }
    QPushButton* loadButton() const { return load_; }
    QPushButton* closeButton() const { return close_; }
    int selectedIndex() const { return selected_; }
    // Size of one thumbnail in twips, from the first thumbnail.
    int thumbWidthTwips() const { return thumbW_; }
    int thumbHeightTwips() const { return thumbH_; }

    // The commands: select thumbnail i (moves the frame), load the selection.
    void selectTemplate(int i);
    void LoadSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    void closed();

    ProgramState& state_;
    QLabel* title_ = nullptr;
    QWidget* viewport_ = nullptr;
    QWidget* container_ = nullptr;
    QFrame* frame_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* close_ = nullptr;
    QList<QLabel*> thumbs_;
    int selected_ = 0;
    int thumbW_ = 0;
    int thumbH_ = 0;
    bool positionStored_ = false;
};

// Opens the browser modally when "Template.Dat" exists (menu "ﾃﾝﾌﾟﾚｰﾄ").
void showTemplateBrowser(ProgramState& state, QWidget* owner);

}  // namespace vakuro
