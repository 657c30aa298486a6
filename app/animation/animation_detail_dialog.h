// The common detail dialog "アニメーション詳細設定" (Form073) of the effect
// kinds 5 to 18: up to three labelled sliders, one labelled choice list, one
// check box and, for the illumination, the star colour box. The entry's kind
// decides which rows are shown and which slots they edit; unused rows are
// hidden and the dialog shrinks to the rows in use. It edits a copy: OK
// writes the controls into the entry, "ｷｬﾝｾﾙ" leaves it alone.
#pragma once

#include <array>
#include <functional>

#include <QColor>
#include <QDialog>

#include "schedule.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace vakuro {

class ProgramState;

// One slider row of a kind: label, slider range, the slot it edits, what is
// added to the slider value to store it (1 for the "+1" rows), and what is
// added to the slider value to show the number beside it.
struct DetailSliderRow {
    const char* label = nullptr;  // nullptr: the row is not used
    int minimum = 0;
    int maximum = 9;
    int slot = 0;
    int storedOffset = 0;
    int shownOffset = 1;
};

struct DetailLayout {
    std::array<DetailSliderRow, 3> sliders{};
    const char* choiceLabel = nullptr;  // nullptr: no choice list
    std::array<const char*, 12> choices{};  // up to the first nullptr
    int choiceSlot = 0;
    const char* checkLabel = nullptr;  // nullptr: no check box
    int checkSlot = 0;
    bool starColour = false;  // the "基準色" box (slot StarColour)
};

// The rows of kind 5 .. 18; nullptr for any other kind.
const DetailLayout* detailLayout(int kind);

class AnimationDetailDialog : public QDialog {
    Q_OBJECT
public:
    AnimationDetailDialog(ProgramState& state, const ScheduleEntry& entry, QWidget* owner);

    QSlider* slider(int i) const { return sliders_[size_t(i)]; }          // 0 .. 2
    QLabel* sliderLabel(int i) const { return sliderLabels_[size_t(i)]; }
    QLabel* sliderValue(int i) const { return sliderValues_[size_t(i)]; }
    QComboBox* choice() const { return choice_; }
    QLabel* choiceLabel() const { return choiceLabel_; }
    QCheckBox* checkBox() const { return check_; }
    QLabel* colourBox() const { return colourBox_; }
    int starColour() const { return colour_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The entry with the controls written into it (what OK stores).
    ScheduleEntry edited() const;

    // The colour dialog the colour box opens on a double-click: returns the
    // chosen colour, or an invalid colour when cancelled. Tests replace it.
    std::function<QColor(const QColor& initial)> chooseColour;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSliderValue(int i);
    void applyTrumpTypeRule();
    void setColour(int colour);

    const DetailLayout* layout_ = nullptr;
    ScheduleEntry entry_;
    int colour_ = 0;
    std::array<QWidget*, 3> sliderRows_{};
    std::array<QSlider*, 3> sliders_{};
    std::array<QLabel*, 3> sliderLabels_{};
    std::array<QLabel*, 3> sliderValues_{};
    QWidget* choiceRow_ = nullptr;
    QLabel* choiceLabel_ = nullptr;
    QComboBox* choice_ = nullptr;
    QCheckBox* check_ = nullptr;
    QWidget* colourRow_ = nullptr;
    QLabel* colourBox_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vakuro
