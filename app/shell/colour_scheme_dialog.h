// The window colour scheme dialog "カラーオプション": the colour family and
// brightness of the program's window backgrounds ("BackPaint") and the
// colour of their buttons ("ButtonPaint"). Every choice is written at once and
// applied at once to every open window; "OK" keeps it, "ｷｬﾝｾﾙ" (and Escape or
// the close button) writes back the two values found at opening and repaints
// the windows as they were. The version dialog opens it with an access code.
#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QPushButton;
class QRadioButton;
class QSlider;

namespace vakuro {

inline constexpr int kBackgroundFamilies = 6;  // 標準, Red, Green, Blue, Gold, Purple
inline constexpr int kButtonColours = 6;       // 標準, Gold, Silver, Blue, Green, Red
inline constexpr int kBrightnessSteps = 5;     // the slider runs 0..5

// "BackPaint" for a family and a brightness: 256 * family + 20 * brightness + 100.
int BackPaintValue(int family, int brightness);

// The slider position a "BackPaint" value shows: ((value - 100) & 0xFF) / 20,
// limited to 0..5.
int BrightnessOfBackPaint(int backPaint);

// Applies the theme in the settings file to every window that paints it
// (PaintWindowBackground), open or hidden.
void RepaintThemedWindows(const QString& iniPath);

class ColourSchemeDialog : public QDialog {
    Q_OBJECT
public:
    ColourSchemeDialog(QString settingsPath, QWidget* owner);

    // Centres the dialog, reads both keys, sets the controls and paints the
    // dialog. Writes nothing: the windows keep their look until the user
    // chooses.
    void prepareOpening();

    QRadioButton* backgroundOption(int family) const { return background_[static_cast<size_t>(family)]; }
    QRadioButton* buttonOption(int colour) const { return buttons_[static_cast<size_t>(colour)]; }
    QSlider* brightness() const { return brightness_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void Ok();
    void Cancel();
    void reject() override;

private:
    void buildControls();
    void backgroundChanged();
    void buttonColourChosen(int colour);
    void applyScheme();

    QString settingsPath_;
    std::array<QRadioButton*, kBackgroundFamilies> background_{};
    std::array<QRadioButton*, kButtonColours> buttons_{};
    QSlider* brightness_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int openingBackPaint_ = 0;
    int openingButtonPaint_ = 0;
    bool loading_ = false;
    bool closing_ = false;
};

// Opens the dialog modally over owner.
void showColourSchemeDialog(const QString& settingsPath, QWidget* owner);

}  // namespace vakuro
