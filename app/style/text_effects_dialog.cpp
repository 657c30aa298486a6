#include "text_effects_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "colour_swatch.h"
#include "dialog_labels.h"
#include "program_state.h"
#include "shared_routines.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kWindowNumber = QStringLiteral("020");

// The relief check box: a click on the greyed (third) state ticks the box,
// and from then on the box only toggles between unticked and ticked. The
// greyed state is shown only for a record that holds it.
class ReliefCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        setTristate(false);
    }
};

// The record's value of a check state: 0 unticked, 1 ticked, 2 greyed.
int recordValue(Qt::CheckState state) {
    switch (state) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
    }
}

QScrollBar* newSlider(const QString& name, int minimum, int maximum, QWidget* parent) {
    auto* s = new QScrollBar(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(minimum, maximum);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setMinimumWidth(170);
    return s;
}

// The redraw guard held at -1 for the lifetime of the object, then restored.
class RedrawGuard {
public:
    explicit RedrawGuard(int& guard) : guard_(guard), saved_(guard) { guard_ = -1; }
    ~RedrawGuard() { guard_ = saved_ < 0 ? saved_ : 0; }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

private:
    int& guard_;
    int saved_;
};

}  // namespace

TextEffectsDialog::TextEffectsDialog(ProgramState& state, QWidget* owner)
    : ModelessDialog(state, owner, kWindowNumber, &OpenDialogs::effects) {
    setObjectName(QStringLiteral("Form020"));
    setWindowTitle(QStringLiteral("特殊効果"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildControls();
    connect(&state_, &ProgramState::styleReplaced, this, &TextEffectsDialog::Load);
}

void TextEffectsDialog::buildControls() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 10);
    root->setSpacing(8);

    // The heading: the caption over a lighter copy one pixel lower right.
    auto* heading = new QWidget(this);
    heading->setObjectName(QStringLiteral("Heading"));
    QLabel* shade = caption(QStringLiteral("特殊効果"), QStringLiteral("Label3"), heading);
    QLabel* title = caption(QStringLiteral("特殊効果"), QStringLiteral("Label2"), heading);
    QFont headingFont = title->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    for (QLabel* l : {shade, title}) {
        l->setFont(headingFont);
        l->adjustSize();
    }
    shade->setStyleSheet(QStringLiteral("color: white;"));
    shade->move(1, 1);
    heading->setFixedHeight(title->height() + 1);
    heading->setMinimumWidth(title->width() + 1);
    root->addWidget(heading);

    // Relief.
    auto* relief = new QGroupBox(QStringLiteral("立体効果"), this);
    relief->setObjectName(QStringLiteral("Frame1"));
    auto* reliefGrid = new QGridLayout(relief);
    reliefGrid->setHorizontalSpacing(8);
    reliefBox_ = new ReliefCheckBox(QStringLiteral("効果の実行"), relief);
    reliefBox_->setObjectName(QStringLiteral("Check1"));
    // The window's colour scheme fills the box with the window colour.
    reliefBox_->setBackgroundRole(QPalette::Window);
    reliefGrid->addWidget(reliefBox_, 0, 0, 1, 3, Qt::AlignLeft);
    const char* reliefCaptions[] = {"深度", "曲率", "光沢", "反射"};
    const int reliefMinimum[] = {1, 1, 0, 0};
    const int reliefMaximum[] = {10, 10, 8, 8};
    for (int i = 0; i < 4; ++i) {
        QLabel* label = caption(QString::fromUtf8(reliefCaptions[i]), QStringLiteral("Label%1").arg(4 + i), relief);
        // The sliders and their value boxes are two control arrays.
        reliefSliders_[i] = newSlider(QStringLiteral("HScroll1"), reliefMinimum[i], reliefMaximum[i], relief);
        reliefSliders_[i]->setProperty("index", i);
        auto* box = new QLineEdit(relief);
        box->setObjectName(QStringLiteral("Text1"));
        box->setProperty("index", i);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhDigitsOnly);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        box->installEventFilter(this);
        valueBoxes_[i] = box;
        reliefGrid->addWidget(label, 1 + i, 0);
        reliefGrid->addWidget(reliefSliders_[i], 1 + i, 1);
        reliefGrid->addWidget(box, 1 + i, 2);
        connect(reliefSliders_[i], &QScrollBar::valueChanged, this, [this, i] { reliefSliderChanged(i); });
        connect(box, &QLineEdit::textChanged, this, [this, i] { valueBoxChanged(i); });
    }
    reliefGrid->setColumnStretch(1, 1);
    connect(reliefBox_, &QCheckBox::clicked, this, &TextEffectsDialog::reliefBoxClicked);
    root->addWidget(relief);

    // Shadow.
    auto* shadow = new QGroupBox(QStringLiteral("影を付ける"), this);
    shadow->setObjectName(QStringLiteral("Frame2"));
    auto* shadowGrid = new QGridLayout(shadow);
    shadowGrid->setHorizontalSpacing(8);
    shadowList_ = new QComboBox(shadow);
    shadowList_->setObjectName(QStringLiteral("Combo1"));
    shadowList_->addItems({QStringLiteral("（なし）"), QStringLiteral("暗影"), QStringLiteral("明影")});
    shadowColour_ = new ColourSwatch(shadow);
    shadowColour_->setObjectName(QStringLiteral("Picture1"));
    shadowColour_->setFixedSize(40, 20);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(shadowList_);
    colourRow->addSpacing(16);
    colourRow->addWidget(caption(QStringLiteral("影の色"), QStringLiteral("Label8"), shadow));
    colourRow->addSpacing(4);
    colourRow->addWidget(shadowColour_);
    colourRow->addStretch(1);
    shadowGrid->addLayout(colourRow, 0, 0, 1, 3);

    distance_ = newSlider(QStringLiteral("HScroll4"), 0, 16, shadow);
    blur_ = newSlider(QStringLiteral("HScroll5"), 0, 5, shadow);
    spread_ = newSlider(QStringLiteral("HScroll2"), 0, 8, shadow);
    distanceValue_ = caption(QString(), QStringLiteral("Label13"), shadow);
    blurValue_ = caption(QString(), QStringLiteral("Label14"), shadow);
    spreadValue_ = caption(QString(), QStringLiteral("Label16"), shadow);
    struct Row {
        const char* caption;
        QScrollBar* slider;
        QLabel* value;
        int* field;
    };
    const Row rows[] = {{"影と文字の距離", distance_, distanceValue_, &state_.style.ShadowDistance},
                        {"影のぼかし", blur_, blurValue_, &state_.style.ShadowBlur},
                        {"影の拡散", spread_, spreadValue_, &state_.style.ShadowSpread}};
    int row = 1;
    for (const Row& r : rows) {
        shadowGrid->addWidget(caption(QString::fromUtf8(r.caption), QStringLiteral("Label%1").arg(8 + row), shadow),
                              row, 0);
        shadowGrid->addWidget(r.slider, row, 1);
        r.value->setMinimumWidth(r.value->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 4);
        r.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        shadowGrid->addWidget(r.value, row, 2);
        connect(r.slider, &QScrollBar::valueChanged, this,
                [this, r] { shadowSliderChanged(r.slider, r.value, r.field); });
        ++row;
    }
    shadowGrid->setColumnStretch(1, 1);
    connect(shadowList_, &QComboBox::currentIndexChanged, this, &TextEffectsDialog::shadowListChanged);
    connect(shadowColour_, &ColourSwatch::colourChosen, this, &TextEffectsDialog::shadowColourChosen);
    root->addWidget(shadow);

    // The relief captions line up with the shadow captions.
    const int captionWidth = shadowGrid->itemAtPosition(1, 0)->widget()->sizeHint().width();
    reliefGrid->setColumnMinimumWidth(0, captionWidth);
    shadowGrid->setColumnMinimumWidth(2, valueBoxes_[0]->width());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAutoDefault(false);
    close->setMinimumWidth(88);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(close);
    root->addLayout(buttons);

    auto* load = new QPushButton(QStringLiteral("Load"), this);
    load->setObjectName(QStringLiteral("Load"));
    load->hide();
    connect(load, &QPushButton::clicked, this, &TextEffectsDialog::Load);

    root->setSizeConstraint(QLayout::SetFixedSize);
}

void TextEffectsDialog::prepareOpening() {
    adjustSize();
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
    distanceValue_->setText(QStringLiteral("1"));
    blurValue_->setText(QStringLiteral("0"));
    Load();
    markOpen();
}

int* TextEffectsDialog::reliefField(int index) const {
    PavrexStyle& s = state_.style;
    switch (index) {
    case 0: return &s.ReliefDepth;
    case 1: return &s.ReliefCurvature;
    case 2: return &s.ReliefGloss;
    default: return &s.ReliefReflection;
    }
}

void TextEffectsDialog::Load() {
    RedrawGuard guard(state_.redrawGuard);
    const PavrexStyle& s = state_.style;

    // 0 unticked, 1 ticked, 2 greyed; the record keeps its value until the
    // user clicks the box (any other value also shows greyed).
    reliefBox_->setCheckState(s.ReliefOn == 0 ? Qt::Unchecked : s.ReliefOn == 1 ? Qt::Checked : Qt::PartiallyChecked);
    if (s.ReliefOn == 0 || s.ReliefOn == 1) reliefBox_->setTristate(false);

    for (int i = 0; i < 4; ++i) {
        QScrollBar* slider = reliefSliders_[i];
        slider->setValue(Clamp(*reliefField(i), slider->minimum(), slider->maximum()));
    }

    // A shadow type that the list does not offer shows no entry and stays
    // in the record.
    shadowList_->setCurrentIndex(s.ShadowType >= 0 && s.ShadowType < shadowList_->count() ? s.ShadowType : -1);
    shadowColour_->setColour(s.ShadowColor);

    distance_->setValue(Clamp(s.ShadowDistance, 0, distance_->maximum()));
    blur_->setValue(Clamp(s.ShadowBlur, 0, blur_->maximum()));
    spread_->setValue(Clamp(s.ShadowSpread, 0, spread_->maximum()));

    // Every box and label shows its value and every field holds the value shown.
    for (int i = 0; i < 4; ++i) reliefSliderChanged(i);
    shadowSliderChanged(distance_, distanceValue_, &state_.style.ShadowDistance);
    shadowSliderChanged(blur_, blurValue_, &state_.style.ShadowBlur);
    shadowSliderChanged(spread_, spreadValue_, &state_.style.ShadowSpread);
}

// Every change, drawn or not, is also a step of the undo history (reported
// after it is in the record); the changes of one slider or list while it
// moves (dragged, or stepped with the keys) make one step.
void TextEffectsDialog::requestDraw(bool soon) {
    if (state_.redrawGuard < 0) return;
    if (soon)
        state_.drawSoon();
    else
        state_.draw();
}

void TextEffectsDialog::reliefSliderChanged(int index) {
    const int value = reliefSliders_[index]->value();
    *reliefField(index) = value;
    const QString text = QString::number(value);
    if (valueBoxes_[index]->text() != text) valueBoxes_[index]->setText(text);
    // The relief is drawn while the box is not unticked (ticked, or greyed
    // for the trapezoid relief).
    if (state_.style.ReliefOn != 0) requestDraw(true);
    state_.styleEdited(reliefSliders_[index]);
}

void TextEffectsDialog::valueBoxChanged(int index) {
    QLineEdit* box = valueBoxes_[index];
    QScrollBar* slider = reliefSliders_[index];
    // Only digits can be typed; pasted text that is not a number counts as
    // 0, as does the empty box.
    const int value = Clamp(ParseInt(box->text()), slider->minimum(), slider->maximum());
    const QString shown = QString::number(value);
    if (box->text() != shown) box->setText(shown);
    slider->setValue(value);
}

void TextEffectsDialog::reliefBoxClicked() {
    state_.style.ReliefOn = recordValue(reliefBox_->checkState());
    requestDraw(false);
    state_.styleEdited();
}

void TextEffectsDialog::shadowListChanged(int index) {
    if (index < 0) return;
    state_.style.ShadowType = index;
    requestDraw(false);
    state_.styleEdited(shadowList_);
}

void TextEffectsDialog::shadowSliderChanged(QScrollBar* slider, QLabel* label, int* field) {
    label->setText(QString::number(slider->value()));
    *field = slider->value();
    if (state_.style.ShadowType != 0) requestDraw(true);
    state_.styleEdited(slider);
}

void TextEffectsDialog::shadowColourChosen(int colour) {
    state_.style.ShadowColor = colour;
    update();
    requestDraw(false);
    state_.styleEdited();
}

// Presses on the title labels and the frames come here too: neither takes them.
void TextEffectsDialog::mousePressEvent(QMouseEvent* event) {
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

bool TextEffectsDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts (copy, paste, select all) pass; of the typed characters
        // only digits and control characters do.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        const QString text = key->text();
        if (text.isEmpty() || key->key() >= 0x01000000) return false;  // editing keys
        const char32_t c = text.toUcs4().value(0);
        const int code = c < 0x80 ? static_cast<int>(c) : -1;
        return FilterKey(code, 1) == 0;
    }
    if (box && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void showTextEffectsDialog(ProgramState& state, QWidget* owner) {
    if (raiseOpenDialog<TextEffectsDialog>(state)) return;
    auto* dialog = new TextEffectsDialog(state, owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->prepareOpening();
    dialog->show();
}

}  // namespace vakuro
