#include "output_preview_window.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include "program_paths.h"
#include "program_state.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kWindowNumber = QStringLiteral("031");

int px(int twips) { return TwipsToPixels(twips); }

}  // namespace

OutputPreviewWindow::OutputPreviewWindow(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form031"));
    setWindowTitle(QStringLiteral("プレビュー（ファイル出力）"));
    setModal(true);

    label3_ = new QLabel(QStringLiteral("プレビュー"), this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label1_ = new QLabel(QStringLiteral("プレビュー"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont heading = label1_->font();
    heading.setPointSize(heading.pointSize() + 4);
    heading.setBold(true);
    label1_->setFont(heading);
    label3_->setFont(heading);
    label3_->setStyleSheet(QStringLiteral("color: #808080;"));
    label2_ = new QLabel(QStringLiteral("この画像をファイルに保存します。"), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    save_ = new QPushButton(QStringLiteral("保存"), this);
    save_->setObjectName(QStringLiteral("Command1"));
    abort_ = new QPushButton(QStringLiteral("中止"), this);
    abort_->setObjectName(QStringLiteral("Command2"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture1"));

    // 1. The temporary bitmap; the holder takes its size.
    const QImage image(TempFolder() + QStringLiteral("VakTmp.bmp"));
    picture_->setPixmap(QPixmap::fromImage(image));
    const int holderW = PixelsToTwips(image.width());
    const int holderH = PixelsToTwips(image.height());
    picture_->setGeometry(px(kHolderLeftTwips), px(kHolderTopTwips), image.width(), image.height());

    // 2., 3. Height from the holder; a wide picture widens the window.
    int widthTwips = kDesignWidthTwips;
    if (holderW > 5000) widthTwips = holderW + kHolderLeftTwips + 300;
    const int heightTwips = holderH + kHolderTopTwips + 600;
    const bool wide = holderW > 5000;
    const int labelW = wide ? widthTwips - 2500 : kDesignWidthTwips - 2500;
    const int label2W = wide ? widthTwips - 2000 : kDesignWidthTwips - 2000;
    label1_->setGeometry(px(120), px(60), px(labelW), px(400));
    label3_->setGeometry(px(135), px(75), px(labelW), px(400));
    label2_->setGeometry(px(120), px(420), px(label2W), px(255));
    save_->setGeometry(px(widthTwips - 1590), px(60), px(1350), px(330));
    abort_->setGeometry(px(widthTwips - 1590), px(420 - 30), px(1350), px(330));
    setFixedSize(px(widthTwips), px(heightTwips));

    label2_->installEventFilter(this);
    label3_->installEventFilter(this);
    connect(save_, &QPushButton::clicked, this, [this] {
        result_ = 1;
        accept();
    });
    connect(abort_, &QPushButton::clicked, this, [this] {
        result_ = -1;
        reject();
    });

    // 4. Position and theme; 5. result := -1.
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
    result_ = -1;
}

void OutputPreviewWindow::done(int r) {
    StoreWindowPosition(this, state_.settingsPath(), kWindowNumber);
    QDialog::done(r);
}

void OutputPreviewWindow::refresh() {
    setUpdatesEnabled(false);
    setUpdatesEnabled(true);
    update();
    save_->update();
    abort_->update();
    picture_->update();
    state_.refreshMainWindow();
}

void OutputPreviewWindow::mousePressEvent(QMouseEvent* event) {
    refresh();
    QDialog::mousePressEvent(event);
}

bool OutputPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && (watched == label2_ || watched == label3_)) refresh();
    return QDialog::eventFilter(watched, event);
}

bool showOutputPreview(ProgramState& state, QWidget* owner) {
    OutputPreviewWindow window(state, owner);
    window.exec();
    return window.result() == 1;
}

}  // namespace vakuro
