// The free-move dialog "ｱﾆﾒｰｼｮﾝ詳細設定" (Form076): the start and end states
// of a free-move entry, each with six scroll bars (position, size, angle,
// transparency) and a live preview of a sample picture moved, sized and
// turned as the state says, over guide lines that mark the frame.
#pragma once

#include <array>

#include <QDialog>
#include <QImage>

#include "schedule.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace vakuro {

class ProgramState;

class FreeMoveDialog : public QDialog {
    Q_OBJECT
public:
    // The six quantities of a state, in the order of the scroll bars.
    enum Quantity { X = 0, Y, Width, Height, Angle, Transparency, QuantityCount };
    static constexpr int kStates = 2;  // 0: start ("開始位置"), 1: end ("終了位置")
    // The preview area of a state and the sample picture.
    static constexpr int kAreaWidth = 240;
    static constexpr int kAreaHeight = 75;
    static constexpr int kSampleWidth = 80;
    static constexpr int kSampleHeight = 25;

    // Takes the entry's values: X and Y as stored (within the bars' range),
    // sizes raised to at least 10, angles and transparencies clamped.
    FreeMoveDialog(ProgramState& state, const ScheduleEntry& entry, QWidget* owner);

    // Writes the twelve values into the entry's start and end slots.
    void writeInto(ScheduleEntry& entry) const;

    // Redraws the preview of state s (0 or 1) from its scroll bars.
    void fMovePic(int s);

    QScrollBar* scrollBar(int s, Quantity q) const { return bars_[s][q]; }
    QLabel* valueLabel(int s, Quantity q) const { return values_[s][q]; }
    QWidget* previewArea(int s) const { return areas_[s]; }
    QLabel* movedSample(int s) const { return moved_[s]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The sample picture, 80 x 25, the same in both states.
    static QImage samplePicture();

    void done(int result) override;

private:
    void showValue(int s, Quantity q);

    ProgramState& state_;
    std::array<std::array<QScrollBar*, QuantityCount>, kStates> bars_{};
    std::array<std::array<QLabel*, QuantityCount>, kStates> values_{};
    std::array<QWidget*, kStates> areas_{};
    std::array<QLabel*, kStates> moved_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vakuro
