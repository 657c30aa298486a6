// The animation window "ｱﾆﾒｰｼｮﾝ出力": builds the schedule of effect
// entries, previews it in a loop and writes it as an animated GIF.
#pragma once

#include <functional>

#include <QDialog>
#include <QImage>

#include "animation_driver.h"
#include "generation_context.h"
#include "schedule.h"

class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;

namespace vakuro {

class ProgramState;
class ProgressStrip;

class AnimationWindow : public QDialog {
    Q_OBJECT
public:
    // inputs: the text, the rendering made when the window was opened, the
    // output size and the width scale.
    AnimationWindow(ProgramState& state, AnimationRunInputs inputs, QWidget* owner);
    ~AnimationWindow() override;

    // OpenWindow: position, kind selector, "AniSet.Dat", list, selectors,
    // splash tables.
    void open();

    // ---- Operations (the buttons and menu commands call these) --------------
    // Add: shows the add dialog (unless kind is given) and inserts the new
    // entry after the selection, or before it when before is set.
    void addEntry(bool before);
    void addEntryOfKind(int kind, bool before);
    void deleteEntry();      // the button "削除"
    void deleteEntryMenu();  // the menu command "削除"
    void deleteAll();        // "全削除", after the question
    void moveUp();
    void moveDown();
    void selectRow(int row);  // SelectRow
    void editDetails();
    void editOptions();
    void addAllKinds();       // maintenance "ALL"
    void changeOutputSize();  // "変更"
    // "ﾌﾟﾚﾋﾞｭｰ"; timing shows the time of the generation in the caption.
    void preview(bool timing);
    // "出力": asks for the file, then writes it.
    void output();
    // Maintenance commands "DB", "DB2", "Play".
    void showCutouts();
    void showWorkingPictures();
    void playOutput();
    // Sets the enabled state of the pop-up menu's items for the selection.
    void updatePopupMenu();
    // Reveals the maintenance buttons (Shift+Ctrl on "閉じる").
    void revealMaintenance();

    // ProgressStep: reset clears the strip; otherwise advances it by amount
    // of total.
    void progressStep(int amount, bool reset, int64_t total);

    // ---- State ------------------------------------------------------------------
    AnimationSchedule& schedule() { return schedule_; }
    const AnimationRunInputs& inputs() const { return inputs_; }
    EffectState& effectState() { return effects_; }
    const DriverOutcome& lastOutcome() const { return lastOutcome_; }
    int selectedRow() const;

    // ---- Controls -----------------------------------------------------------------
    QListWidget* scheduleList() const { return list_; }
    QComboBox* kindSelector() const { return kind_; }
    QComboBox* durationSelector() const { return duration_; }
    QComboBox* frameRateSelector() const { return frameRate_; }
    QLabel* descriptionLabel() const { return description_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* detailButton() const { return detail_; }
    QPushButton* optionsButton() const { return options_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* outputButton() const { return output_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* sizeButton() const { return size_; }
    QPushButton* allButton() const { return all_; }
    QPushButton* dbButton() const { return db_; }
    QPushButton* db2Button() const { return db2_; }
    QPushButton* playButton() const { return play_; }
    QMenu* popupMenu() const { return menu_; }
    QAction* upAction() const { return up_; }
    QAction* downAction() const { return down_; }
    QAction* deleteAction() const { return deleteMenu_; }
    QAction* deleteAllAction() const { return deleteAllMenu_; }
    ProgressStrip* progressStrip() const { return progress_; }
    QLabel* canvasPicture() const { return canvasPicture_; }
    QLabel* holderPicture() const { return holderPicture_; }
    QLabel* copyPicture() const { return copyPicture_; }

    // ---- Seams for tests and for the generator issues ------------------------
    // Chooses the output file (default: the save dialog "Gifファイル出力");
    // an empty result cancels.
    std::function<QString(const QString& initialPath)> chooseOutputFile;
    // Chooses a kind in the add dialog (default: the dialog); 0 cancels.
    std::function<int()> chooseKind;
    // Opens the detail dialog of an entry (default: editEntryDetails);
    // true when the entry was changed.
    std::function<bool(ScheduleEntry& entry)> editEntry;
    // Shows the frames of a preview run (default: the preview window).
    std::function<void(FrameTable& frames)> showPreview;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void refillList();
    void setKind(int row, int kindIndex, bool selecting);
    void kindChosen(int index);
    void durationChosen(int index);
    void frameRateChosen(int index);
    void clearSelectors();
    void showSize();
    void runDriver(DriverMode mode, const QString& path, bool timing);
    void refresh();
    bool closeWindow();

    ProgramState& state_;
    AnimationRunInputs inputs_;
    AnimationSchedule schedule_;
    EffectState effects_;
    DriverOutcome lastOutcome_;
    bool running_ = false;
    bool closed_ = false;
    Qt::KeyboardModifiers addModifiers_;
    Qt::KeyboardModifiers previewModifiers_;
    Qt::KeyboardModifiers closeModifiers_;

    QListWidget* list_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* duration_ = nullptr;
    QComboBox* frameRate_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* title_ = nullptr;
    QList<QLabel*> captions_;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* detail_ = nullptr;
    QPushButton* options_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* output_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* size_ = nullptr;
    QPushButton* all_ = nullptr;
    QPushButton* db_ = nullptr;
    QPushButton* db2_ = nullptr;
    QPushButton* play_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* up_ = nullptr;
    QAction* down_ = nullptr;
    QAction* deleteMenu_ = nullptr;
    QAction* deleteAllMenu_ = nullptr;
    ProgressStrip* progress_ = nullptr;
    QLabel* canvasPicture_ = nullptr;
    QLabel* holderPicture_ = nullptr;
    QLabel* copyPicture_ = nullptr;
};

// The progress bar of the animation window: a strip 10 pixels high.
class ProgressStrip : public QWidget {
    Q_OBJECT
public:
    explicit ProgressStrip(QWidget* parent);
    void step(int amount, bool reset, int64_t total);
    const QImage& picture() const { return picture_; }
    QSize sizeHint() const override { return {200, 10}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    int64_t done_ = 0;
};

// The animation command of the main window: the window for the text and the
// rendering made for it (the output size is half the rendering's size minus
// 4, the width scale 0.5), modal over owner.
void showAnimationWindow(ProgramState& state, QWidget* owner, const QString& text, const QImage& baseRendering,
                         int outputWidth, int outputHeight);

}  // namespace vakuro
