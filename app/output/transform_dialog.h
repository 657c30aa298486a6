// The transform settings dialog "変形設定": the transform type (a scrolling
// list of ten icons), an illustration of the chosen type, the parameters A, B
// and C (TranslateP1..P3) on three sliders, and a live preview of the
// transform applied to a black sample rectangle. OK stores the choice in the
// settings (section "Setting", TranslateType and TranslateP1..P3); Cancel
// keeps the stored one.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

namespace vakuro {

class ProgramState;
class ClickableLabel;

// Shows the dialog modally, owned by owner.
void showTransformDialog(ProgramState& state, QWidget* owner);

class TransformDialog : public QDialog {
    Q_OBJECT
public:
    TransformDialog(ProgramState& state, QWidget* owner);

    // Opens as the dialog's opening steps say (without showing it).
    void prepareOpening();

    int selectedType() const { return type_; }
    // The picture the preview box shows, and the transformed sample.
    QImage previewPicture() const { return preview_; }
    QImage transformedSample() const { return work_; }
    // Which of the parameters A, B, C a type uses.
    static bool usesParameter(int type, int index);

    // Selects a type as a click on its icon does.
    void selectType(int type);
    void runPreview();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void sliderChanged(int index);
    void scrollChanged(int value);
    void ok();

    ProgramState& state_;
    int type_ = 0;
    bool loading_ = false;
    QWidget* viewport_ = nullptr;
    QWidget* panel_ = nullptr;
    ClickableLabel* icons_[10] = {};
    QScrollBar* scroll_ = nullptr;
    QLabel* figure_ = nullptr;
    QScrollBar* sliders_[3] = {};
    QLabel* letters_[3] = {};
    QLabel* values_[3] = {};
    QLabel* previewBox_ = nullptr;
    QImage sample_;
    QImage work_;
    QImage preview_;
};

}  // namespace vakuro
