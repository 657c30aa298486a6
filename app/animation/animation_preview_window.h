// The preview window "プレビュー": plays the frames of a preview run in a
// loop, each for its own delay, with a counter "index/count".
#pragma once

#include <functional>
#include <span>

#include <QDialog>
#include <QImage>

#include "library_binding.h"

class QLabel;
class QPushButton;

namespace vakuro {

class ProgramState;

class AnimationPreviewWindow : public QDialog {
    Q_OBJECT
public:
    // frames: the records of the run (their bitmaps stay the driver's);
    // outputSize: W x H.
    AnimationPreviewWindow(ProgramState& state, std::span<const FrameRecord> frames, QSize outputSize,
                           QWidget* owner);

    // How the loop waits between frames: called with the delay in
    // milliseconds; it must let the window handle its events. The default
    // waits on a timer in a nested event loop that ends early when the
    // window closes. Tests put a stepping function here.
    using WaitFunction = std::function<void(int milliseconds)>;
    void setWaitFunction(WaitFunction wait) { wait_ = std::move(wait); }

    // The loop: runs until the window closes (started when it is shown).
    void play();

    int frameIndex() const { return index_; }
    bool stopped() const { return stop_; }
    // The picture drawn last (W x H).
    const QImage& shownFrame() const { return shown_; }

    QLabel* picture() const { return picture_; }
    QLabel* counterLabel() const { return counter_; }
    QPushButton* closeButton() const { return close_; }

    // Layout in twips: the picture's place, the design width.
    static constexpr int kPictureLeftTwips = 120;
    static constexpr int kPictureTopTwips = 720;
    static constexpr int kDesignWidthTwips = 5400;

    // The counter text: the last 9 characters of 8 blanks + index + "/" +
    // count.
    static QString counterText(int index, int count);

signals:
    void stopRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int r) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawFrame(int index);
    void waitOnTimer(int milliseconds);
    void refresh();

    ProgramState& state_;
    std::span<const FrameRecord> frames_;
    QSize outputSize_;
    WaitFunction wait_;
    QImage shown_;
    int index_ = 0;
    bool stop_ = false;
    bool playing_ = false;
    QLabel* picture_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* title_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace vakuro
