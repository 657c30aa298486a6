// The add dialog "アニメーションの追加": the 19 effect kinds, each with its
// description and a small sample picture of the effect.
#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vakuro {

class AnimationAddDialog : public QDialog {
    Q_OBJECT
public:
    explicit AnimationAddDialog(QWidget* owner);

    // The kind chosen (1 .. 19), or 0 when the dialog was cancelled.
    int chosenKind() const { return chosen_; }

    QListWidget* kindList() const { return list_; }
    QLabel* descriptionLabel() const { return description_; }
    QLabel* samplePicture() const { return sample_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // "OK": returns the selected kind; without a selection nothing happens.
    void Ok();

private:
    void rowChanged(int row);

    QListWidget* list_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* sample_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int chosen_ = 0;
};

// The resource path of kind's sample picture.
QString animationSamplePath(int kind);

// Shows the dialog centred over owner; the chosen kind or 0.
int chooseAnimationKind(QWidget* owner);

}  // namespace vakuro
