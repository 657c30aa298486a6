#include "colour_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "clickable_label.h"
#include "colour_swatch.h"
#include "texture_dialog.h"
#include "extended_colour_dialog.h"
#include "program_paths.h"
#include "program_state.h"
#include "shared_routines.h"
#include "vakuro_resources.h"
#include "window_position.h"
#include "dialog_labels.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kWindowNumber = QStringLiteral("010");

// The fill and outline colour row: three swatches with the exchange icons
// between them, in the place of the 160 x 40 texture or pattern preview.
constexpr int kPreviewWidth = 160;
constexpr int kPreviewHeight = 40;
constexpr int kSwatchWidth = 40;
constexpr int kSwatchHeight = 24;
constexpr int kSwapWidth = 20;

// Fill styles.
constexpr int kFillTexture = 5;
constexpr int kFillPattern = 6;

QScrollBar* slider(int minimum, int maximum, const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(maximum - minimum > 50 ? 10 : 1);
    bar->setMinimumWidth(200);
    return bar;
}

ColourSwatch* swatch(const char* name, int index, QWidget* parent) {
    auto* s = new ColourSwatch(parent);
    s->setObjectName(QLatin1String(name));
    s->setProperty("index", index);
    s->setFixedSize(kSwatchWidth, kSwatchHeight);
    return s;
}

void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

// The icon between two fill swatches: a grey gradient with a double arrow.
QPixmap swapIcon() {
    QPixmap icon(kSwapWidth, kSwatchHeight);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, kSwapWidth, 0);
    gradient.setColorAt(0, QColor(90, 90, 90));
    gradient.setColorAt(1, QColor(225, 225, 225));
    painter.fillRect(QRect(3, 8, kSwapWidth - 6, kSwatchHeight - 16), gradient);
    painter.setPen(QPen(QColor(40, 40, 40), 1.2));
    const int y = kSwatchHeight / 2;
    painter.drawLine(QPointF(1.5, y), QPointF(kSwapWidth - 1.5, y));
    painter.drawLine(QPointF(1.5, y), QPointF(5.5, y - 4));
    painter.drawLine(QPointF(1.5, y), QPointF(5.5, y + 4));
    painter.drawLine(QPointF(kSwapWidth - 1.5, y), QPointF(kSwapWidth - 5.5, y - 4));
    painter.drawLine(QPointF(kSwapWidth - 1.5, y), QPointF(kSwapWidth - 5.5, y + 4));
    return icon;
}

// A picture file read afresh every time (the pixmap cache would keep an old
// picture of a file that was rewritten under the same name).
QPixmap loadPicture(const QString& path) {
    QImage image;
    if (!image.load(path)) return {};
    return QPixmap::fromImage(image);
}

}  // namespace

ColourSettingsDialog::ColourSettingsDialog(ProgramState& state, QWidget* owner)
    : ModelessDialog(state, owner, kWindowNumber, &OpenDialogs::colour) {
    setObjectName(QStringLiteral("Form010"));
    setWindowTitle(QStringLiteral("カラー設定"));
    buildControls();
    adjustSize();
    setFixedSize(size());

    const QString& ini = state_.settingsPath();
    RestoreWindowPosition(this, ini, kWindowNumber, true);
    PaintWindowBackground(this, ini);
    Load();
    markOpen();

    connect(&state_, &ProgramState::styleReplaced, this, &ColourSettingsDialog::Load);
}

void ColourSettingsDialog::buildControls() {
    // Frame "カラー設定": the fill.
    auto* fillFrame = new QGroupBox(QStringLiteral("カラー設定"), this);
    fillFrame->setObjectName(QStringLiteral("Frame1"));
    fillStyle_ = new QComboBox(fillFrame);
    fillStyle_->setObjectName(QStringLiteral("Combo1"));
    fillStyle_->addItems({QStringLiteral("単色"), QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横2色)"),
                          QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横3色)"), QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦2色)"),
                          QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦3色)"), QStringLiteral("テクスチャー"),
                          QStringLiteral("拡張色設定")});

    auto* fillPlace = new QWidget(fillFrame);
    fillPlace->setFixedSize(kPreviewWidth, kPreviewHeight);
    const int swatchTop = (kPreviewHeight - kSwatchHeight) / 2;
    const QPixmap icon = swapIcon();
    for (int i = 0; i < 3; ++i) {
        fillColours_[i] = swatch("Picture1", i, fillPlace);
        fillColours_[i]->move(i * (kSwatchWidth + kSwapWidth), swatchTop);
        connect(fillColours_[i], &ColourSwatch::colourChosen, this, [this, i](int c) { fillColourChosen(i, c); });
    }
    for (int i = 0; i < 2; ++i) {
        swaps_[i] = new ClickableLabel(fillPlace);
        swaps_[i]->setObjectName(i == 0 ? QStringLiteral("Image2") : QStringLiteral("Image3"));
        swaps_[i]->setPixmap(icon);
        swaps_[i]->setGeometry(kSwatchWidth + i * (kSwatchWidth + kSwapWidth), swatchTop, kSwapWidth, kSwatchHeight);
        swaps_[i]->setCursor(Qt::PointingHandCursor);
        connect(swaps_[i], &ClickableLabel::doubleClicked, this, [this, i] { swapColours(i); });
    }
    preview_ = new ClickableLabel(fillPlace);
    preview_->setObjectName(QStringLiteral("Image1"));
    preview_->setGeometry(0, 0, kPreviewWidth, kPreviewHeight);
    preview_->setCursor(Qt::PointingHandCursor);
    connect(preview_, &ClickableLabel::doubleClicked, this, &ColourSettingsDialog::previewDoubleClicked);

    auto* fillGrid = new QGridLayout(fillFrame);
    fillGrid->addWidget(caption(QStringLiteral("ｽﾀｲﾙ"), "Label1", fillFrame), 0, 0);
    fillGrid->addWidget(fillStyle_, 0, 1, Qt::AlignLeft);
    fillGrid->addWidget(caption(QStringLiteral("ｶﾗｰ"), "Label2", fillFrame), 1, 0);
    fillGrid->addWidget(fillPlace, 1, 1, Qt::AlignLeft);
    fillGrid->setColumnStretch(1, 1);

    // Frame "輪郭線": the outline.
    auto* outlineFrame = new QGroupBox(QStringLiteral("輪郭線"), this);
    outlineFrame->setObjectName(QStringLiteral("Frame2"));
    outlineStyle_ = new QComboBox(outlineFrame);
    outlineStyle_->setObjectName(QStringLiteral("Combo2"));
    outlineStyle_->addItems({QStringLiteral("（なし）"), QStringLiteral("単色"), QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(横)"),
                             QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ(縦)")});
    outlineWidth_ = new QComboBox(outlineFrame);
    outlineWidth_->setObjectName(QStringLiteral("Combo3"));
    for (int w = 1; w <= 6; ++w) outlineWidth_->addItem(QString::number(w));
    outlineColourCaption_ = caption(QStringLiteral("ｶﾗｰ"), "Label5", outlineFrame);
    keepPlaceWhenHidden(outlineColourCaption_);
    auto* outlineColourRow = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        outlineColours_[i] = swatch("Picture2", i, outlineFrame);
        keepPlaceWhenHidden(outlineColours_[i]);
        outlineColourRow->addWidget(outlineColours_[i]);
        connect(outlineColours_[i], &ColourSwatch::colourChosen, this, [this, i](int c) {
            (i == 0 ? state_.style.OutlineColor1 : state_.style.OutlineColor2) = c;
            redraw();
        });
    }
    outlineColourRow->addStretch();
    auto* outlineGrid = new QGridLayout(outlineFrame);
    outlineGrid->addWidget(caption(QStringLiteral("ｽﾀｲﾙ"), "Label3", outlineFrame), 0, 0);
    outlineGrid->addWidget(outlineStyle_, 0, 1);
    outlineGrid->addItem(new QSpacerItem(16, 0), 0, 2);
    outlineGrid->addWidget(caption(QStringLiteral("太さ"), "Label4", outlineFrame), 0, 3);
    outlineGrid->addWidget(outlineWidth_, 0, 4);
    outlineGrid->addWidget(outlineColourCaption_, 1, 0);
    outlineGrid->addLayout(outlineColourRow, 1, 1, 1, 4);
    outlineGrid->setColumnStretch(5, 1);

    // The sliders, each with its value beside it.
    thickenX_ = slider(0, 8, "HScroll1", this);
    slant_ = slider(0, 30, "HScroll2", this);
    spacing_ = slider(-30, 100, "HScroll3", this);
    thickenY_ = slider(0, 8, "HScroll4", this);
    thickenXValue_ = valueLabel("Label7", this, QStringLiteral("-000"));
    thickenYValue_ = valueLabel("Label9", this, QStringLiteral("-000"));
    slantValue_ = valueLabel("Label11", this, QStringLiteral("-000"));
    spacingValue_ = valueLabel("Label13", this, QStringLiteral("-000"));
    auto* spacingCaption = new ClickableLabel(QStringLiteral("文字間"), this);
    spacingCaption->setObjectName(QStringLiteral("Label12"));
    connect(spacingCaption, &ClickableLabel::doubleClicked, this, [this] { spacing_->setValue(0); });
    auto* sliders = new QGridLayout;
    sliders->addWidget(caption(QStringLiteral("太さ拡張X"), "Label6", this), 0, 0);
    sliders->addWidget(thickenX_, 0, 1);
    sliders->addWidget(thickenXValue_, 0, 2);
    sliders->addWidget(caption(QStringLiteral("太さ拡張Y"), "Label8", this), 1, 0);
    sliders->addWidget(thickenY_, 1, 1);
    sliders->addWidget(thickenYValue_, 1, 2);
    sliders->addWidget(caption(QStringLiteral("傾斜"), "Label10", this), 2, 0);
    sliders->addWidget(slant_, 2, 1);
    sliders->addWidget(slantValue_, 2, 2);
    sliders->addWidget(spacingCaption, 3, 0);
    sliders->addWidget(spacing_, 3, 1);
    sliders->addWidget(spacingValue_, 3, 2);
    sliders->setColumnStretch(1, 1);
    sliders->setContentsMargins(8, 0, 8, 0);

    // Direction, background colour and the buttons.
    vertical_ = new QCheckBox(QStringLiteral("縦書き"), this);
    vertical_->setObjectName(QStringLiteral("Check1"));
    backColour_ = swatch("Picture3", 0, this);
    connect(backColour_, &ColourSwatch::colourChosen, this, [this](int c) {
        state_.style.BackColor = c;
        redraw();
    });
    auto* spacingEditor = new QPushButton(QStringLiteral("文字間隔設定"), this);
    spacingEditor->setObjectName(QStringLiteral("Command3"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1"));
    auto* load = new QPushButton(QStringLiteral("Load"), this);
    load->setObjectName(QStringLiteral("Load"));
    load->hide();

    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(vertical_);
    directionRow->addStretch();
    directionRow->addWidget(spacingEditor);
    auto* backRow = new QHBoxLayout;
    backRow->addWidget(caption(QStringLiteral("背景色"), "Label14", this));
    backRow->addWidget(backColour_);
    backRow->addStretch();
    backRow->addWidget(close);
    const int buttonWidth = std::max(spacingEditor->sizeHint().width(), close->sizeHint().width());
    spacingEditor->setMinimumWidth(buttonWidth);
    close->setMinimumWidth(buttonWidth);
    directionRow->setContentsMargins(8, 0, 0, 0);
    backRow->setContentsMargins(8, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fillFrame);
    layout->addWidget(outlineFrame);
    layout->addSpacing(4);
    layout->addLayout(sliders);
    layout->addSpacing(4);
    layout->addLayout(directionRow);
    layout->addLayout(backRow);

    connect(fillStyle_, &QComboBox::currentIndexChanged, this, &ColourSettingsDialog::fillStyleChanged);
    connect(outlineStyle_, &QComboBox::currentIndexChanged, this, &ColourSettingsDialog::outlineStyleChanged);
    connect(outlineWidth_, &QComboBox::currentIndexChanged, this, &ColourSettingsDialog::outlineWidthChanged);
    connect(thickenX_, &QScrollBar::valueChanged, this, &ColourSettingsDialog::thickenXChanged);
    connect(thickenY_, &QScrollBar::valueChanged, this, &ColourSettingsDialog::thickenYChanged);
    connect(slant_, &QScrollBar::valueChanged, this, &ColourSettingsDialog::slantChanged);
    connect(spacing_, &QScrollBar::valueChanged, this, &ColourSettingsDialog::spacingChanged);
    connect(vertical_, &QCheckBox::clicked, this, &ColourSettingsDialog::verticalClicked);
    connect(spacingEditor, &QPushButton::clicked, this, [this] { state_.openSpacingEditor(this, true); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(load, &QPushButton::clicked, this, &ColourSettingsDialog::Load);
}

void ColourSettingsDialog::Load() {
    const int guard = state_.redrawGuard;
    state_.redrawGuard = -1;
    loading_ = true;
    const PavrexStyle& s = state_.style;
    {
        const QSignalBlocker b1(fillStyle_), b2(outlineStyle_), b3(outlineWidth_), b4(thickenX_), b5(thickenY_),
            b6(slant_), b7(spacing_), b8(vertical_);
        // Values a list or slider does not offer are taken to its nearest end.
        fillStyle_->setCurrentIndex(Clamp(s.FillType, 0, fillStyle_->count() - 1));
        fillColours_[0]->setColour(s.FillColor1);
        fillColours_[1]->setColour(s.FillColor2);
        fillColours_[2]->setColour(s.FillColor3);
        thickenX_->setValue(s.ThickenX);
        slant_->setValue(s.Slant);
        spacing_->setValue(s.Spacing);
        thickenY_->setValue(s.ThickenY);
        outlineStyle_->setCurrentIndex(Clamp(s.OutlineStyle, 0, outlineStyle_->count() - 1));
        outlineWidth_->setCurrentIndex(Clamp(s.OutlineWidth, 0, outlineWidth_->count() - 1));
        outlineColours_[0]->setColour(s.OutlineColor1);
        outlineColours_[1]->setColour(s.OutlineColor2);
        vertical_->setChecked(s.Vertical != 0);
        backColour_->setColour(s.BackColor);
    }
    // The change handlers, as setting the controls runs them: labels, shown
    // controls, previews and fields follow the controls.
    fillStyleChanged(fillStyle_->currentIndex());
    outlineStyleChanged(outlineStyle_->currentIndex());
    outlineWidthChanged(outlineWidth_->currentIndex());
    thickenXChanged(thickenX_->value());
    slantChanged(slant_->value());
    spacingChanged(spacing_->value());
    thickenYChanged(thickenY_->value());
    verticalClicked(vertical_->isChecked());
    loading_ = false;
    state_.redrawGuard = guard < 0 ? guard : 0;
}

// ---- Fill ------------------------------------------------------------------

void ColourSettingsDialog::fillStyleChanged(int index) {
    showFillControls(index);
    state_.style.FillType = index;
    redraw(fillStyle_);
}

void ColourSettingsDialog::showFillControls(int index) {
    const bool colours = index < kFillTexture;
    const bool three = index == 2 || index == 4;
    fillColours_[0]->setVisible(colours);
    fillColours_[1]->setVisible(colours && index != 0);
    fillColours_[2]->setVisible(colours && three);
    swaps_[0]->setVisible(colours && index != 0);
    swaps_[1]->setVisible(colours && three);
    preview_->setVisible(!colours);
    if (index == kFillTexture) showTexturePreview();
    if (index == kFillPattern) showPatternPreview();
}

void ColourSettingsDialog::showTexturePreview() {
    preview_->setPixmap(loadPicture(resources::texturePath(resources::kFirstTexture + state_.style.TextureIndex)));
}

// The pattern is written by the effects library at 40 x 40 into "TexTmp.bmp"
// and widened in place to the 160 x 40 of the preview.
void ColourSettingsDialog::showPatternPreview() {
    const EffectsLibrary& effects = state_.libraries().effects;
    const PavrexStyle& s = state_.style;
    const QByteArray path = QFile::encodeName(TempFolder() + QStringLiteral("TexTmp.bmp"));
    QPixmap picture;
    if (effects.TexColEx && effects.Zoom &&
        effects.TexColEx(path.constData(), 40, 40, s.FillColor2, s.FillColor1, s.PatternRepeat, s.PatternAngle, 1) ==
            1 &&
        effects.Zoom(path.constData(), path.constData(), kPreviewWidth, kPreviewHeight) == 1)
        picture = loadPicture(QFile::decodeName(path));
    preview_->setPixmap(picture);
}

void ColourSettingsDialog::previewDoubleClicked() {
    const int fill = fillStyle_->currentIndex();
    if (fill == kFillTexture) {
        TextureDialog textures(state_, this);
        textures.exec();
        showTexturePreview();
    } else if (fill == kFillPattern) {
        ExtendedColourDialog pattern(state_, this);
        pattern.exec();
        showPatternPreview();
        redraw();
    }
}

void ColourSettingsDialog::swapColours(int first) {
    ColourSwatch* a = fillColours_[first];
    ColourSwatch* b = fillColours_[first + 1];
    const int colour = a->colour();
    a->setColour(b->colour());
    b->setColour(colour);
    state_.style.FillColor1 = fillColours_[0]->colour();
    state_.style.FillColor2 = fillColours_[1]->colour();
    state_.style.FillColor3 = fillColours_[2]->colour();
    redraw();
}

void ColourSettingsDialog::fillColourChosen(int swatch, int colour) {
    PavrexStyle& s = state_.style;
    (swatch == 0 ? s.FillColor1 : swatch == 1 ? s.FillColor2 : s.FillColor3) = colour;
    redraw();
}

// ---- Outline ---------------------------------------------------------------

void ColourSettingsDialog::outlineStyleChanged(int index) {
    outlineColourCaption_->setVisible(index > 0);
    outlineColours_[0]->setVisible(index > 0);
    outlineColours_[1]->setVisible(index > 1);
    state_.style.OutlineStyle = index;
    redraw(outlineStyle_);
}

void ColourSettingsDialog::outlineWidthChanged(int index) {
    state_.style.OutlineWidth = index;
    redraw(outlineWidth_);
}

// ---- Sliders and direction -------------------------------------------------
// Every value reaches the record at once, also while a thumb is dragged; the
// drawing is coalesced so that a slow preview never falls behind the thumb.

void ColourSettingsDialog::thickenXChanged(int value) {
    thickenXValue_->setNum(value);
    state_.style.ThickenX = value;
    redrawSoon(thickenX_);
}

void ColourSettingsDialog::thickenYChanged(int value) {
    thickenYValue_->setNum(value);
    state_.style.ThickenY = value;
    redrawSoon(thickenY_);
}

void ColourSettingsDialog::slantChanged(int value) {
    slantValue_->setNum(value);
    state_.style.Slant = value;
    redrawSoon(slant_);
}

void ColourSettingsDialog::spacingChanged(int value) {
    spacingValue_->setNum(value);
    state_.style.Spacing = value;
    state_.style.SpacingPx = value;
    redrawSoon(spacing_);
    if (vertical_->isChecked()) layoutSoon();
}

void ColourSettingsDialog::verticalClicked(bool checked) {
    state_.style.Vertical = checked ? 1 : 0;
    redraw();
    // A reload leaves the layout to whoever replaced the record.
    if (!loading_) state_.tateYoko(checked ? 1 : 0);
}

// ---- Drawing ---------------------------------------------------------------

// Each change is also a step of the undo history; the changes of one slider
// or list while it moves (dragged, or stepped with the keys) make one step.
void ColourSettingsDialog::redraw(const QObject* control) {
    if (state_.redrawGuard < 0) return;
    state_.draw();
    state_.styleEdited(control);
}

void ColourSettingsDialog::redrawSoon(const QObject* slider) {
    if (state_.redrawGuard < 0) return;
    state_.drawSoon();
    state_.styleEdited(slider);
}

// The vertical layout follows the preview, so it is asked for after the
// coalesced drawing (queued behind it).
void ColourSettingsDialog::layoutSoon() {
    if (loading_ || layoutPending_) return;
    layoutPending_ = true;
    QTimer::singleShot(0, this, [this] {
        layoutPending_ = false;
        if (vertical_->isChecked()) state_.tateYoko(1);
    });
}

void showColourSettingsDialog(ProgramState& state, QWidget* owner) {
    if (raiseOpenDialog<ColourSettingsDialog>(state)) return;
    auto* dialog = new ColourSettingsDialog(state, owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

}  // namespace vakuro
