// The option dialog "オプション設定": program-wide options that are not part
// of a style (start-up, preview quality, font list filter, clipboard and JPEG
// output, dashes in vertical writing).
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vakuro {

class ProgramState;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(ProgramState& state, QWidget* owner);

    // Centres the dialog, paints its background and sets every control from
    // the settings file and the in-memory options. Run once before showing.
    void prepareOpening();

    QCheckBox* titleSkip() const { return checks_[0]; }
    QCheckBox* hiPreview() const { return checks_[1]; }
    QCheckBox* japaneseOnly() const { return checks_[2]; }
    QCheckBox* clipSmooth() const { return checks_[3]; }
    QCheckBox* fileOutPreview() const { return checks_[4]; }
    QCheckBox* clipWithDialog() const { return checks_[5]; }
    QCheckBox* rotateDashes() const { return checks_[6]; }
    QCheckBox* clipMetaFile() const { return checks_[7]; }
    QCheckBox* jpegProgressive() const { return jpegProgressive_; }
    QComboBox* clipScale() const { return clipScale_; }
    QComboBox* jpegQuality() const { return jpegQuality_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The OK and cancel commands.
    void Ok();
    void Cancel();
    // Escape and the window's close button cancel.
    void reject() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    ProgramState& state_;
    QCheckBox* checks_[8] = {};
    QCheckBox* jpegProgressive_ = nullptr;
    QComboBox* clipScale_ = nullptr;
    QComboBox* jpegQuality_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int openingJapaneseOnly_ = 0;
    int openingHiPreview_ = 0;
    bool closing_ = false;
};

// The JPEG quality list's index for a stored quality: clamp(q - 1, 0, 99).
int jpegQualityIndex(int storedQuality);

// Opens the dialog modally (menu item "ｵﾌﾟｼｮﾝ設定").
void showOptionsDialog(ProgramState& state, QWidget* owner);

}  // namespace vakuro
