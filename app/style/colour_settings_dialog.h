// The colour settings dialog (window Form010): fill, outline, thickening, slant,
// spacing, writing direction and background colour of the current style.
// Every change goes into the style record at once and redraws the preview;
// there is no OK or Cancel. It stays open beside the main window and reloads
// its controls whenever the style record is replaced. From it the texture
// selection, the extended colour and the per-character spacing dialogs open.
#pragma once

#include <array>

#include "modeless_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace vakuro {

class ClickableLabel;
class ColourSwatch;

class ColourSettingsDialog : public ModelessDialog {
    Q_OBJECT
public:
    ColourSettingsDialog(ProgramState& state, QWidget* owner);

public slots:
    // Sets every control from the style record. The handlers of the controls
    // run, so the value labels and the shown controls follow, but nothing is
    // drawn. Also run by the hidden button "Load" and whenever the program
    // replaces the style record.
    void Load();

private:
    void buildControls();

    void fillStyleChanged(int index);
    void showFillControls(int index);
    void showTexturePreview();
    void showPatternPreview();
    void previewDoubleClicked();
    void swapColours(int first);
    void fillColourChosen(int swatch, int colour);

    void outlineStyleChanged(int index);
    void outlineWidthChanged(int index);

    void thickenXChanged(int value);
    void thickenYChanged(int value);
    void slantChanged(int value);
    void spacingChanged(int value);
    void verticalClicked(bool checked);

    // Draws and reports the change to the undo history; control, when given,
    // merges its consecutive changes into one step.
    void redraw(const QObject* control = nullptr);
    void redrawSoon(const QObject* slider);
    void layoutSoon();

    bool loading_ = false;
    bool layoutPending_ = false;

    QComboBox* fillStyle_ = nullptr;                 // Combo1
    std::array<ColourSwatch*, 3> fillColours_{};     // Picture1(0..2)
    ClickableLabel* preview_ = nullptr;              // Image1
    std::array<ClickableLabel*, 2> swaps_{};         // Image2, Image3
    QComboBox* outlineStyle_ = nullptr;              // Combo2
    QComboBox* outlineWidth_ = nullptr;              // Combo3
    QLabel* outlineColourCaption_ = nullptr;         // "ｶﾗｰ" of the outline
    std::array<ColourSwatch*, 2> outlineColours_{};  // Picture2(0..1)
    QScrollBar* thickenX_ = nullptr;                 // HScroll1
    QScrollBar* slant_ = nullptr;                    // HScroll2
    QScrollBar* spacing_ = nullptr;                  // HScroll3
    QScrollBar* thickenY_ = nullptr;                 // HScroll4
    QLabel* thickenXValue_ = nullptr;
    QLabel* slantValue_ = nullptr;
    QLabel* spacingValue_ = nullptr;
    QLabel* thickenYValue_ = nullptr;
    QCheckBox* vertical_ = nullptr;                  // Check1
    ColourSwatch* backColour_ = nullptr;             // Picture3
};

// Opens the colour settings dialog without blocking, owned by owner (the main
// window), or brings the open one to the front.
void showColourSettingsDialog(ProgramState& state, QWidget* owner);

}  // namespace vakuro
