// The special effects dialog: the relief and the shadow of the current style.
//
// It stays open beside the main window, writes every change into the style
// record at once and asks for a new preview; it has only a close button.
#pragma once


#include <array>

#include "modeless_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace vakuro {

class ColourSwatch;

class TextEffectsDialog : public ModelessDialog {
    Q_OBJECT
public:
    TextEffectsDialog(ProgramState& state, QWidget* owner);

    // Positions the window, paints its background, loads the controls and
    // marks the dialog open. Run once before showing it.
    void prepareOpening();

    // Sets every control from the style record without drawing; fields out
    // of a slider's range are written back clamped. Also run when the whole
    // style was replaced.
    void Load();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void reliefSliderChanged(int index);
    void valueBoxChanged(int index);
    void reliefBoxClicked();
    void shadowListChanged(int index);
    void shadowSliderChanged(QScrollBar* slider, QLabel* label, int* field);
    void shadowColourChosen(int colour);
    // Draws now or on the next turn of the event loop, unless the redraw
    // guard is set.
    void requestDraw(bool soon);
    int* reliefField(int index) const;

    QCheckBox* reliefBox_ = nullptr;
    std::array<QScrollBar*, 4> reliefSliders_{};
    std::array<QLineEdit*, 4> valueBoxes_{};
    QComboBox* shadowList_ = nullptr;
    ColourSwatch* shadowColour_ = nullptr;
    QScrollBar* distance_ = nullptr;
    QScrollBar* blur_ = nullptr;
    QScrollBar* spread_ = nullptr;
    QLabel* distanceValue_ = nullptr;
    QLabel* blurValue_ = nullptr;
    QLabel* spreadValue_ = nullptr;
};

// Opens the special effects dialog beside owner (non-modal, owned by it), or
// raises it when it is already open.
void showTextEffectsDialog(ProgramState& state, QWidget* owner);

}  // namespace vakuro
