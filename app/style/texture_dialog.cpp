#include "texture_dialog.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

#include "clickable_label.h"
#include "program_state.h"
#include "shared_routines.h"
#include "vakuro_resources.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

// Twips to pixels; every length of this dialog is a whole number of pixels.
constexpr int px(int twips) { return twips / kTwipsPerPixel; }

// The most thumbnails the dialog looks for.
constexpr int kMaxTextures = 1000;

constexpr int kMargin = 8;
constexpr int kButtonGap = 10;

QImage loadTextureResource(int resourceNumber) { return QImage(resources::texturePath(resourceNumber)); }

}  // namespace

TextureDialog::TextureDialog(ProgramState& state, QWidget* parent, TextureLoader loader) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Form011"));
    setWindowTitle(QStringLiteral("ﾃｸｽﾁｬｰ選択"));

    // The viewport with its sunken border, the panel moved inside it and the
    // scroll bar beside it.
    const int viewportWidth = px(kViewportWidthTwips);
    const int viewportHeight = px(kViewportHeightTwips);
    auto* border = new QFrame(this);
    border->setFrameShape(QFrame::Panel);
    border->setFrameShadow(QFrame::Sunken);
    border->setLineWidth(2);
    border->setGeometry(kMargin - 2, kMargin - 2, viewportWidth + 4, viewportHeight + 4);
    viewport_ = new QWidget(this);
    viewport_->setObjectName(QStringLiteral("Picture1"));
    viewport_->setGeometry(kMargin, kMargin, viewportWidth, viewportHeight);
    panel_ = new QWidget(viewport_);
    panel_->setObjectName(QStringLiteral("Picture2"));
    QPalette panelPalette = panel_->palette();
    panelPalette.setColor(QPalette::Window, QColor(255, 255, 255));
    panel_->setPalette(panelPalette);
    panel_->setAutoFillBackground(true);
    frame_ = new QFrame(panel_);
    frame_->setObjectName(QStringLiteral("Shape1"));
    QPalette framePalette = frame_->palette();
    framePalette.setColor(QPalette::Window, QColor(0, 0, 160));
    frame_->setPalette(framePalette);
    frame_->setAutoFillBackground(true);

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("VScroll1"));
    const int scrollWidth = scroll_->sizeHint().width();
    scroll_->setGeometry(kMargin + viewportWidth + 2, kMargin - 2, scrollWidth, viewportHeight + 4);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(kRowPitchTwips / kScrollStepTwips);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    const int dialogWidth = kMargin + viewportWidth + 2 + scrollWidth + kMargin;
    const QSize button = ok_->sizeHint().expandedTo(cancel->sizeHint()).expandedTo(QSize(88, 0));
    const int buttonTop = kMargin + viewportHeight + 2 + kButtonGap;
    cancel->setGeometry(dialogWidth - kMargin - button.width(), buttonTop, button.width(), button.height());
    ok_->setGeometry(cancel->x() - 6 - button.width(), buttonTop, button.width(), button.height());
    setFixedSize(dialogWidth, buttonTop + button.height() + kMargin);

    connect(scroll_, &QScrollBar::valueChanged, this, &TextureDialog::scrolled);
    connect(ok_, &QPushButton::clicked, this, &TextureDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TextureDialog::reject);

    // Centred on the screen, in the window colour scheme.
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) move(RestoredWindowPosition(screen->geometry(), frameGeometry().size(), std::nullopt, std::nullopt, true));
    PaintWindowBackground(this, state_.settingsPath());

    loadThumbnails(loader ? loader : TextureLoader(loadTextureResource));
    if (state_.style.TextureIndex >= 0 && state_.style.TextureIndex < textureCount())
        selectTexture(state_.style.TextureIndex);
    ok_->setEnabled(textureCount() > 0);
}

void TextureDialog::loadThumbnails(const TextureLoader& loader) {
    for (int n = 0; n < kMaxTextures; ++n) {
        const QImage picture = loader(resources::kFirstTexture + n);
        if (picture.isNull()) break;
        auto* thumbnail = new ClickableLabel(panel_);
        thumbnail->setObjectName(QStringLiteral("Image1"));
        thumbnail->setProperty("index", n);
        thumbnail->setPixmap(QPixmap::fromImage(picture));
        // Unscaled, as large as the picture itself.
        thumbnail->setGeometry(px((n % 3) * kColumnPitchTwips + kThumbMarginTwips),
                               px((n / 3) * kRowPitchTwips + kThumbMarginTwips), picture.width(), picture.height());
        connect(thumbnail, &ClickableLabel::pressed, this, [this, n] { selectTexture(n); });
        connect(thumbnail, &ClickableLabel::doubleClicked, this, [this, n] {
            selectTexture(n);
            accept();
        });
        thumbnails_.append(thumbnail);
    }

    // The frame starts around the first place, behind the thumbnails.
    selected_ = 0;
    frame_->setGeometry(0, 0, px(kThumbWidthTwips + 2 * kThumbMarginTwips),
                        px(kThumbHeightTwips + 2 * kThumbMarginTwips));
    frame_->lower();
    frame_->setVisible(!thumbnails_.isEmpty());

    // The panel ends 90 twips below the last row. The scroll range covers
    // the part of the panel below the viewport; a panel that fits needs none.
    const int count = textureCount();
    const int panelHeightTwips =
        count > 0 ? ((count - 1) / 3) * kRowPitchTwips + kThumbMarginTwips + kThumbHeightTwips + 90 : 0;
    panel_->setGeometry(0, 0, px(kViewportWidthTwips), std::max(px(panelHeightTwips), px(kViewportHeightTwips)));
    const double steps = static_cast<double>(panelHeightTwips - kViewportHeightTwips) / kScrollStepTwips + 1;
    scroll_->setRange(0, std::max(0, RoundHalfEven(steps)));
}

void TextureDialog::selectTexture(int n) {
    if (n < 0 || n >= textureCount()) return;
    selected_ = n;
    const ClickableLabel* thumbnail = thumbnails_.at(n);
    const int margin = px(kThumbMarginTwips);
    frame_->move(thumbnail->x() - margin, thumbnail->y() - margin);
}

// The row of the record's texture comes to the top, as far as the range
// allows.
void TextureDialog::scrollToCurrentRow() {
    const int index = std::max(0, state_.style.TextureIndex);
    scroll_->setValue(std::min((index / 3) * (kRowPitchTwips / kScrollStepTwips), scroll_->maximum()));
}

void TextureDialog::scrolled(int value) { panel_->move(0, -px(kScrollStepTwips) * value); }

void TextureDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    scrollToCurrentRow();
}

void TextureDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) scrollToCurrentRow();
}

void TextureDialog::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    update();
    state_.refreshMainWindow();
}

void TextureDialog::accept() {
    if (textureCount() == 0) return;
    state_.style.TextureIndex = selected_;
    state_.draw();
    state_.styleEdited();
    QDialog::accept();
}

}  // namespace vakuro
