// The output-size dialog "出力サイズ": width and height of the animation,
// each box following the other so that the size keeps the aspect ratio of
// the rendered text.
#pragma once

#include <QDialog>
#include <QSize>

class QLineEdit;
class QPushButton;

namespace vakuro {

class ProgramState;

class OutputSizeDialog : public QDialog {
    Q_OBJECT
public:
    // size: W x H when the dialog opens; holder: the rendering's size, whose
    // aspect ratio the boxes keep.
    OutputSizeDialog(ProgramState& state, QSize size, QSize holder, QWidget* owner);

    // The size after OK (unchanged after cancel).
    QSize size() const { return size_; }

    QLineEdit* widthBox() const { return width_; }
    QLineEdit* heightBox() const { return height_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // "OK": with both boxes filled, checks the height (20 .. 300) before the
    // width (20 .. 999); a size out of range is reported and the dialog
    // stays open.
    void Ok();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ProgramState& state_;
    QSize size_;
    QSize holder_;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// The whole part of a x b / c, 0 when c is 0 (no aspect to keep).
int scaledSide(int a, int b, int c);

}  // namespace vakuro
