#include "animation_preview_window.h"

#include <algorithm>

#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "program_state.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {

namespace {

const QString kWindowNumber = QStringLiteral("071");

int px(int twips) { return TwipsToPixels(twips); }

}  // namespace

QString AnimationPreviewWindow::counterText(int index, int count) {
    return (QString(8, QLatin1Char(' ')) + QString::number(index) + QLatin1Char('/') + QString::number(count))
        .right(9);
}

AnimationPreviewWindow::AnimationPreviewWindow(ProgramState& state, std::span<const FrameRecord> frames,
                                               QSize outputSize, QWidget* owner)
    : QDialog(owner), state_(state), frames_(frames), outputSize_(outputSize) {
    setObjectName(QStringLiteral("Form071"));
    setWindowTitle(QStringLiteral("プレビュー"));
    setModal(true);
    wait_ = [this](int ms) { waitOnTimer(ms); };

    title_ = new QLabel(QStringLiteral("プレビュー"), this);
    title_->setObjectName(QStringLiteral("Label1"));
    QFont heading = title_->font();
    heading.setPointSize(heading.pointSize() + 4);
    heading.setBold(true);
    title_->setFont(heading);
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("Label2"));
    counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont fixed = counter_->font();
    fixed.setFamily(QStringLiteral("IPAGothic"));
    counter_->setFont(fixed);
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName(QStringLiteral("Command1"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setFrameShape(QFrame::Box);
    picture_->setLineWidth(2);
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // 1. The picture is W + 4 by H + 4 pixels with its border; a wide one
    // widens the window and moves the button and labels with its right edge.
    const int pictureW = outputSize.width() * 15 + 60;
    const int pictureH = outputSize.height() * 15 + 60;
    picture_->setGeometry(px(kPictureLeftTwips), px(kPictureTopTwips), px(pictureW), px(pictureH));
    int widthTwips = kDesignWidthTwips;
    if (pictureW > 5000) widthTwips = kPictureLeftTwips + pictureW + 300;
    const int heightTwips = kPictureTopTwips + pictureH + 600;
    title_->setGeometry(px(120), px(120), px(2000), px(420));
    counter_->setGeometry(px(widthTwips - 2500), px(120), px(800), px(420));
    close_->setGeometry(px(widthTwips - 1590), px(120), px(1350), px(420));
    setFixedSize(px(widthTwips), px(heightTwips));

    title_->installEventFilter(this);
    connect(close_, &QPushButton::clicked, this, [this] {
        stop_ = true;
        accept();
    });
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
}

void AnimationPreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!playing_) QTimer::singleShot(0, this, &AnimationPreviewWindow::play);
}

void AnimationPreviewWindow::play() {
    if (playing_ || frames_.empty()) return;
    playing_ = true;
    while (!stop_) {
        drawFrame(index_);
        counter_->setText(counterText(index_, static_cast<int>(frames_.size())));
        counter_->repaint();
        // A frame of delay 0 still waits a little, so that the loop lets
        // the window handle its input.
        wait_(std::max(frames_[static_cast<size_t>(index_)].delay * 10, 10));
        if (stop_) break;
        index_ = (index_ + 1) % static_cast<int>(frames_.size());
    }
    playing_ = false;
}

void AnimationPreviewWindow::drawFrame(int index) {
    const FrameRecord& frame = frames_[static_cast<size_t>(index)];
    QImage image(std::max(1, outputSize_.width()), std::max(1, outputSize_.height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    state_.libraries().imageFormat.DIBtoRGB32(frame.dib, reinterpret_cast<uint32_t*>(image.bits()), image.width(),
                                              image.height(), static_cast<int>(image.bytesPerLine()));
    shown_ = image;
    picture_->setPixmap(QPixmap::fromImage(image));
    picture_->repaint();
}

void AnimationPreviewWindow::waitOnTimer(int milliseconds) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &AnimationPreviewWindow::stopRequested, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec();
}

void AnimationPreviewWindow::done(int r) {
    stop_ = true;
    emit stopRequested();
    StoreWindowPosition(this, state_.settingsPath(), kWindowNumber);
    QDialog::done(r);
}

void AnimationPreviewWindow::refresh() {
    setUpdatesEnabled(false);
    setUpdatesEnabled(true);
    update();
    state_.refreshMainWindow();
}

void AnimationPreviewWindow::mousePressEvent(QMouseEvent* event) {
    refresh();
    QDialog::mousePressEvent(event);
}

bool AnimationPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == title_) refresh();
    return QDialog::eventFilter(watched, event);
}

}  // namespace vakuro
