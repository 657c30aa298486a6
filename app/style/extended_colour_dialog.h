// The extended colour dialog (window Form012): the two base colours, the repetitions
// and the angle of the striped pattern of fill style 6, with a live 40 x 40
// preview. Opened modally by the colour settings dialog; "OK" stores the four
// values into the style record, "ｷｬﾝｾﾙ" leaves the record alone.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollBar;

namespace vakuro {

class AngleDial;
class ColourSwatch;
class ProgramState;

class ExtendedColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExtendedColourDialog(ProgramState& state, QWidget* parent = nullptr);

    // "OK": stores the colours, the repetitions and the angle, and closes.
    void accept() override;

private:
    void buildControls();
    void repeatChanged(int value);
    void angleChanged(int value);
    void updatePreview();

    ProgramState& state_;
    ColourSwatch* colour1_ = nullptr;   // Picture3, "基準色1"
    ColourSwatch* colour2_ = nullptr;   // Picture4, "基準色2"
    QScrollBar* repeat_ = nullptr;      // HScroll1, "繰返し"
    QScrollBar* angle_ = nullptr;       // HScroll2, "角度"
    QLabel* repeatValue_ = nullptr;
    QLabel* angleValue_ = nullptr;
    AngleDial* dial_ = nullptr;         // Picture1
    QLabel* preview_ = nullptr;         // Picture5
};

}  // namespace vakuro
