// The options dialog "ｱﾆﾒｰｼｮﾝ設定": smoothing, transparent background, loop
// count, the frame rate of new entries, the character-splitting method and
// the quality of WebP output.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vakuro {

class ProgramState;

class AnimationOptionsDialog : public QDialog {
    Q_OBJECT
public:
    AnimationOptionsDialog(ProgramState& state, QWidget* owner);

    QCheckBox* smoothBox() const { return smooth_; }
    QCheckBox* transparentBox() const { return transparent_; }
    QComboBox* loopCountList() const { return loops_; }
    QComboBox* frameRateList() const { return frameRate_; }
    QComboBox* splitTypeList() const { return splitType_; }
    QSpinBox* webpQualityBox() const { return webpQuality_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // "OK": writes the six keys of section "Anime" and the in-memory
    // splitting method.
    void Ok();

private:
    ProgramState& state_;
    QCheckBox* smooth_ = nullptr;
    QCheckBox* transparent_ = nullptr;
    QComboBox* loops_ = nullptr;
    QComboBox* frameRate_ = nullptr;
    QComboBox* splitType_ = nullptr;
    QSpinBox* webpQuality_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Opens the dialog modally, centred on the screen.
void showAnimationOptions(ProgramState& state, QWidget* owner);

}  // namespace vakuro
