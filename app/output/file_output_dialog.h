// The file output dialog: writes the current text, rendered with the
// current style, to a BMP, GIF, JPEG or PNG file of a chosen size,
// optionally warped, placed on a web button and previewed first. PNG keeps
// real alpha; a GIF can be flattened onto a matte colour.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

#include "settings_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vakuro {

class ColourSwatch;
class ProgramState;

class FileOutputDialog : public QDialog {
    Q_OBJECT
public:
    FileOutputDialog(ProgramState& state, QWidget* owner);

    // The opening steps: position, theme, Draw, fields from the settings,
    // size restore, format and file name.
    void load();

    // Recomputes the height after the transform and shows it in Label18.
    void calcTranSize();
    int transformedHeight() const { return transformedHeight_; }
    // Validates the fields; false when the run must not go on.
    bool check();
    // Stores every dialog setting (and the further entries of section
    // "Setting" given), in one write of the settings file.
    void saveSet(const QList<IniEntry>& alsoStore = {});
    // The output run; true when the file was written (the dialog closes).
    bool runOutput();
    // Command-line output, where the dialog is never shown: the output run
    // shows no preview whatever "FileOutPreView" says (the settings file may
    // be read-only), and the dialog neither restores nor stores a position
    // nor paints a theme. Call before load().
    void setCommandLine() { commandLine_ = true; }
    // Fits the button to the text (margin factor, minimum margins).
    void fitButton(double factor, int minX, int minY, int height);

    // The file name the numbering rule proposes for a stored name and the
    // extension of a format (".BMP", ".GIF", ".JPG", ".PNG").
    static QString numberedName(const QString& path, const QString& extension);
    // The name after a format change to format index 0..3.
    static QString nameForFormat(const QString& name, int format);

    QLineEdit* nameField() const { return text1_; }
    QLineEdit* widthField() const { return text2_; }
    QLineEdit* heightField() const { return text3_; }
    QLineEdit* buttonWidthField() const { return text4_; }
    QLineEdit* buttonHeightField() const { return text5_; }
    QCheckBox* keepAspectBox() const { return check1_; }
    QCheckBox* smoothingBox() const { return check2_; }
    QCheckBox* transparencyBox() const { return check3_; }
    QCheckBox* buttonBox() const { return check4_; }
    QCheckBox* centringBox() const { return check5_; }
    QCheckBox* matteBox() const { return check6_; }
    ColourSwatch* matteColour() const { return picture7_; }
    QComboBox* formatList() const { return combo1_; }
    QComboBox* outlineList() const { return combo2_; }
    QComboBox* shadingList() const { return combo3_; }
    QComboBox* shapeList() const { return combo4_; }
    QScrollBar* outlineWidthBar() const { return hscroll1_; }
    ColourSwatch* outlineColour1() const { return picture3_; }
    ColourSwatch* outlineColour2() const { return picture4_; }
    ColourSwatch* outsideColour() const { return picture5_; }
    QLabel* sizeLabel() const { return label18_; }

protected:
    void done(int r) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void applyButtonRules();
    void formatChanged(int index);
    void widthChanged();
    void heightChanged();
    void chooseFile();
    void chooseTransform();
    void showTransformIcon();
    void refresh();
    QWidget* messageOwner();
    int fieldValue(const QLineEdit* field) const;
    int currentWidth() const;
    int currentHeight() const;
    bool previewAccepted();
    bool writeOutput(const QString& temp, const QString& path, bool squareButton, const QImage& rgba);
    void applyMatteRules();

    ProgramState& state_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QCheckBox* check4_ = nullptr;
    QCheckBox* check5_ = nullptr;
    QCheckBox* check6_ = nullptr;
    ColourSwatch* picture7_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QComboBox* combo4_ = nullptr;
    QScrollBar* hscroll1_ = nullptr;
    QLabel* label15_ = nullptr;
    QLabel* label17_ = nullptr;
    QLabel* label18_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* picture6_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QList<QWidget*> buttonControls_;
    QLabel* shapeLabel_ = nullptr;
    QLabel* shadingLabel_ = nullptr;
    QLabel* outlineLabel_ = nullptr;
    QLabel* colourLabel_ = nullptr;
    QLabel* outsideLabel_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLabel* timesLabel_ = nullptr;
    ColourSwatch* picture3_ = nullptr;
    ColourSwatch* picture4_ = nullptr;
    ColourSwatch* picture5_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    int transformedHeight_ = 0;
    bool sizeGuard_ = false;
    bool loading_ = false;
    bool commandLine_ = false;
};

// Opens the dialog modally (the main window calls it only when its render
// holder holds a picture).
void showFileOutputDialog(ProgramState& state, QWidget* owner);

// Command-line output: opens the dialog without a modal loop, sets the file
// name (when not empty) and runs the output without the preview, leaving
// "FileOutPreView" as it was. True when a file was written.
bool runCommandLineOutput(ProgramState& state, const QString& file);

}  // namespace vakuro
