// The version dialog "バージョン情報" (menu item "ﾊﾞｰｼﾞｮﾝ情報", modal): the
// program's title as a logo with a moving shine, its version and a notice.
// Hidden functions:
// - Shift+double-click on the version label shows the versions and dates of
//   the program and its three libraries;
// - typing "61927340", or "274158" as the last six characters, opens the
//   window colour scheme dialog;
// - typing "4062" makes the OK button flee from the mouse until it has
//   rested for 8 seconds.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace vakuro {

class ProgramState;

class VersionDialog : public QDialog {
    Q_OBJECT
public:
    VersionDialog(ProgramState& state, QWidget* owner);

    // The opening steps: centres the dialog, paints its background, draws
    // the logo, sets the version label and the collapsed height. Run once
    // before showing.
    void prepareOpening();

    // The folder whose program and libraries the details describe (the
    // program folder and the library folder unless changed).
    void setProgramFolder(const QString& folder) {
        programFolder_ = folder;
        libraryFolder_ = folder;
    }

    QLabel* versionLabel() const { return versionLabel_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* detailsButton() const { return details_; }
    QListWidget* detailsList() const { return list_; }
    QTimer* shineTimer() const { return shineTimer_; }
    QTimer* fleeTimer() const { return fleeTimer_; }
    QWidget* logoPicture() const { return logo_; }
    int shineCounter() const { return counter_; }
    bool isFleeing() const { return fleeing_; }
    // The last eight characters typed.
    const QString& typed() const { return typed_; }

    // The picture the logo shows now.
    QImage logoImage() const;

    // The timers' handlers: one step of the shine (every 60 ms), and the end
    // of the fleeing button (8 seconds after it first moved).
    void shineTick();
    void fleeTimeout();

    // The hidden "詳細情報" command: the taller dialog with the details list.
    void showDetails();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void typedCharacters(const QString& text);
    void openColourScheme();
    void placeOkButton(QPointF centreTwips);

    ProgramState& state_;
    QString programFolder_;
    QString libraryFolder_;
    QFrame* logoFrame_ = nullptr;
    QWidget* logo_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* notice_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* details_ = nullptr;
    QListWidget* list_ = nullptr;
    QTimer* shineTimer_ = nullptr;
    QTimer* fleeTimer_ = nullptr;

    QImage logoPicture_;
    QImage letterMask_;
    QImage shine_;
    QImage work_;
    int counter_ = 0;
    QString typed_;
    bool shiftPress_ = false;
    bool fleeing_ = false;
};

// Opens the dialog modally over owner.
void showVersionDialog(ProgramState& state, QWidget* owner);

}  // namespace vakuro
