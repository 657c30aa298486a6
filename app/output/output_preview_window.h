// The file output preview window: shows the finished temporary bitmap at its
// pixel size; "保存" confirms the write, "中止" or closing abandons it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vakuro {

class ProgramState;

class OutputPreviewWindow : public QDialog {
    Q_OBJECT
public:
    OutputPreviewWindow(ProgramState& state, QWidget* owner);

    // 1 save, -1 abort (the value while the window is open).
    int result() const { return result_; }

    QLabel* holder() const { return picture_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* abortButton() const { return abort_; }

    // Designed width of the window in twips, and the holder's place.
    static constexpr int kDesignWidthTwips = 5400;
    static constexpr int kHolderLeftTwips = 120;
    static constexpr int kHolderTopTwips = 720;

protected:
    void done(int r) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    ProgramState& state_;
    QLabel* picture_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* abort_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    int result_ = -1;
};

// Shows the preview modally; true when the user chose to save.
bool showOutputPreview(ProgramState& state, QWidget* owner);

}  // namespace vakuro
