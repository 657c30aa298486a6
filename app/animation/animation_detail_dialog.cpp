#include "animation_detail_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "detail_dialogs.h"
#include "program_state.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {

namespace {

using Row = DetailSliderRow;

// Kind 5 .. 18, in kind order. The number beside a slider is its value + 1
// unless the row says otherwise; "+1" rows store the slider value + 1.
const DetailLayout kSplash{
    {Row{"分割サイズ", 0, 4, slot::SplashCellSize, 0, 1}, Row{"回転", -11, 9, slot::SplashRotation, 1, 1},
     Row{"拡散率", 0, 3, slot::SplashSpread, 0, 0}},
    "回転方法", {"標準", "２段", "クロス"}, slot::SplashRotationMode,
    "フェード", slot::SplashFade, false};
const DetailLayout kLight{
    {Row{"ライトの明るさ", 0, 9, slot::LightBrightness, 0, 1}, Row{"ライトの範囲", 0, 9, slot::LightRange, 0, 1},
     Row{"傾斜", -3, 1, slot::LightTilt, 1, 1}},
    nullptr, {}, 0,
    "照明が当たらない部分は背景色にする", slot::LightUnlitBackground, false};
const DetailLayout kBackLight{
    {Row{"光源の明るさ", 0, 9, slot::BackLightBrightness, 0, 1},
     Row{"拡散光減衰", 0, 9, slot::BackLightDiffusion, 0, 1}, Row{}},
    "光源の移動方向", {" → 左から右へ", " ← 右から左へ", " ↑ 下から上へ", " ↓ 上から下へ"}, slot::BackLightDirection,
    nullptr, 0, false};
const DetailLayout kFlash{
    {Row{"点滅比率", 0, 9, slot::FlashRatio, 1, 1}, Row{"点滅回数", 0, 9, slot::FlashCount, 1, 1},
     Row{"拡散光減衰", 0, 9, slot::FlashDiffusion, 0, 1}},
    "タイプ", {"点滅", "脈動", "線光効果"}, slot::FlashType,
    nullptr, 0, false};
const DetailLayout kSnow{
    {Row{"落下速度", 0, 9, slot::SnowSpeed, 0, 1}, Row{"雪玉の数", 0, 9, slot::SnowCount, 0, 1},
     Row{"雪玉の明さ", 0, 9, slot::SnowBrightness, 0, 1}},
    "落下タイプ", {"直線落下", "ゆらぎ", "横風(弱)", "横風(強)", "横風(ゆらぎ)"}, slot::SnowFallType,
    nullptr, 0, false};
const DetailLayout kStand{
    {Row{"遠近効果", 0, 10, slot::StandPerspective, 0, 0}, Row{}, Row{}},
    "ﾀｲﾌﾟ", {"タイプ1", "タイプ2"}, slot::StandType,
    nullptr, 0, false};
const DetailLayout kSpin{
    {Row{"背面の明さ", 0, 9, slot::SpinBackBrightness, 0, 1}, Row{"遠近効果", -1, 9, slot::SpinPerspective, 1, 1},
     Row{}},
    nullptr, {}, 0,
    nullptr, 0, false};
const DetailLayout kDrop{
    {Row{"落下間隔", 0, 9, slot::DropInterval, 0, 1}, Row{}, Row{}},
    nullptr, {}, 0,
    "重力落下", slot::DropGravity, false};
const DetailLayout kSlide{
    {Row{"文字間隔", 0, 9, slot::SlideSpacing, 0, 1}, Row{}, Row{}},
    "方向", {"右から", "右上から", "右下から", "上下から"}, slot::SlideDirection,
    nullptr, 0, false};
const DetailLayout kTrump{
    {Row{"回転回数", 0, 9, slot::TrumpTurns, 0, 1}, Row{"間隔", 0, 9, slot::TrumpInterval, 0, 1}, Row{}},
    "ﾀｲﾌﾟ",
    {"横回転", "縦回転", "起上り", "ジャンプ", "回転ｼﾞｬﾝﾌﾟ", "スライド", "ディール1", "ディール2", "ディール3"},
    slot::TrumpType,
    nullptr, 0, false};
const DetailLayout kStar{
    {Row{"星の数", 0, 9, slot::StarCount, 0, 1}, Row{"点滅間隔", 0, 9, slot::StarInterval, 0, 1},
     Row{"点灯時間", 0, 9, slot::StarOnTime, 0, 1}},
    "タイプ", {"ﾀｲﾌﾟA", "ﾀｲﾌﾟB"}, slot::StarType,
    "光点位置補正", slot::StarCorrection, true};
const DetailLayout kTelop{
    {Row{}, Row{}, Row{}},
    "ｽｸﾛｰﾙ方向",
    {"右→中央", "右→左", "下→中央", "下→上", "上→中央", "上→下", "左→中央", "左→右", "中央→右", "中央→左",
     "中央→上", "中央→下"},
    slot::TelopDirection,
    nullptr, 0, false};
const DetailLayout kSideFade{
    {Row{"幅", 0, 9, slot::FadeWidth, 1, 1}, Row{}, Row{}},
    nullptr, {}, 0,
    nullptr, 0, false};

int choiceCount(const DetailLayout& l) {
    int n = 0;
    while (n < int(l.choices.size()) && l.choices[size_t(n)]) ++n;
    return n;
}

QString qs(const char* text) { return QString::fromUtf8(text); }

}  // namespace

const DetailLayout* detailLayout(int kind) {
    switch (kind) {
        case 5:
        case 6: return &kSplash;
        case 7: return &kLight;
        case 8: return &kBackLight;
        case 9: return &kFlash;
        case 10: return &kSnow;
        case 11: return &kStand;
        case 12: return &kSpin;
        case 13: return &kDrop;
        case 14: return &kSlide;
        case 15: return &kTrump;
        case 16: return &kStar;
        case 17: return &kTelop;
        case 18: return &kSideFade;
        default: return nullptr;
    }
}

AnimationDetailDialog::AnimationDetailDialog(ProgramState& state, const ScheduleEntry& entry, QWidget* owner)
    : QDialog(owner), layout_(detailLayout(entry.kind())), entry_(entry) {
    setObjectName(QStringLiteral("Form073"));
    setWindowTitle(QStringLiteral("アニメーション詳細設定"));
    setModal(true);
    chooseColour = [this](const QColor& initial) {
        return QColorDialog::getColor(initial, this, QStringLiteral("色の設定"));
    };

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);  // shrinks to the rows shown
    for (int i = 0; i < 3; ++i) {
        auto* row = new QWidget(this);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(row);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setMinimumWidth(110);
        auto* slider = new QSlider(Qt::Horizontal, row);
        slider->setObjectName(QStringLiteral("Slider%1").arg(i + 1));
        slider->setMinimumWidth(180);
        slider->setPageStep(1);
        auto* value = new QLabel(row);
        value->setObjectName(QStringLiteral("LabelV%1").arg(i + 1));
        value->setMinimumWidth(28);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        line->addWidget(label);
        line->addWidget(slider, 1);
        line->addWidget(value);
        column->addWidget(row);
        sliderRows_[size_t(i)] = row;
        sliders_[size_t(i)] = slider;
        sliderLabels_[size_t(i)] = label;
        sliderValues_[size_t(i)] = value;
        connect(slider, &QSlider::valueChanged, this, [this, i] { showSliderValue(i); });
    }

    choiceRow_ = new QWidget(this);
    auto* choiceLine = new QHBoxLayout(choiceRow_);
    choiceLine->setContentsMargins(0, 0, 0, 0);
    choiceLabel_ = new QLabel(choiceRow_);
    choiceLabel_->setObjectName(QStringLiteral("Label4"));
    choiceLabel_->setMinimumWidth(110);
    choice_ = new QComboBox(choiceRow_);
    choice_->setObjectName(QStringLiteral("Combo1"));
    choiceLine->addWidget(choiceLabel_);
    choiceLine->addWidget(choice_, 1);
    column->addWidget(choiceRow_);

    check_ = new QCheckBox(this);
    check_->setObjectName(QStringLiteral("Check1"));
    column->addWidget(check_);

    colourRow_ = new QWidget(this);
    auto* colourLine = new QHBoxLayout(colourRow_);
    colourLine->setContentsMargins(0, 0, 0, 0);
    auto* colourLabel = new QLabel(QStringLiteral("基準色"), colourRow_);
    colourLabel->setObjectName(QStringLiteral("Label5"));
    colourLabel->setMinimumWidth(110);
    colourBox_ = new QLabel(colourRow_);
    colourBox_->setObjectName(QStringLiteral("Picture1"));
    colourBox_->setFixedSize(48, 20);
    colourBox_->setFrameShape(QFrame::Panel);
    colourBox_->setFrameShadow(QFrame::Sunken);
    colourBox_->setAutoFillBackground(true);
    colourBox_->setToolTip(QStringLiteral("ダブルクリックで色を選びます"));
    colourBox_->installEventFilter(this);
    colourLine->addWidget(colourLabel);
    colourLine->addWidget(colourBox_);
    colourLine->addStretch();
    column->addWidget(colourRow_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // Each control takes the stored value (minus 1 for the "+1" rows);
    // values a file may hold outside the control's range are brought into it.
    const DetailLayout empty;
    const DetailLayout& l = layout_ ? *layout_ : empty;
    for (int i = 0; i < 3; ++i) {
        const DetailSliderRow& r = l.sliders[size_t(i)];
        sliderRows_[size_t(i)]->setVisible(r.label != nullptr);
        if (!r.label) continue;
        sliderLabels_[size_t(i)]->setText(qs(r.label));
        sliders_[size_t(i)]->setRange(r.minimum, r.maximum);
        sliders_[size_t(i)]->setValue(std::clamp(entry_[r.slot] - r.storedOffset, r.minimum, r.maximum));
        showSliderValue(i);
    }
    choiceRow_->setVisible(l.choiceLabel != nullptr);
    if (l.choiceLabel) {
        choiceLabel_->setText(qs(l.choiceLabel));
        const int n = choiceCount(l);
        for (int k = 0; k < n; ++k) choice_->addItem(qs(l.choices[size_t(k)]));
        choice_->setCurrentIndex(std::clamp(entry_[l.choiceSlot], 0, n - 1));
    }
    check_->setVisible(l.checkLabel != nullptr);
    if (l.checkLabel) {
        check_->setText(qs(l.checkLabel));
        check_->setChecked(entry_[l.checkSlot] != 0);
    }
    colourRow_->setVisible(l.starColour);
    setColour(l.starColour ? entry_[slot::StarColour] : 0);

    if (layout_ == &kTrump) {
        connect(choice_, &QComboBox::currentIndexChanged, this, &AnimationDetailDialog::applyTrumpTypeRule);
        applyTrumpTypeRule();
    }
    PaintWindowBackground(this, state.settingsPath());
}

void AnimationDetailDialog::showSliderValue(int i) {
    if (!layout_) return;
    const DetailSliderRow& r = layout_->sliders[size_t(i)];
    sliderValues_[size_t(i)]->setText(QString::number(sliders_[size_t(i)]->value() + r.shownOffset));
}

// Trump types 0 and 1 turn (slider 1, the turns, applies), 6 to 8 deal
// (slider 2, the interval, applies); the others use neither.
void AnimationDetailDialog::applyTrumpTypeRule() {
    const int type = choice_->currentIndex();
    const bool turns = type == 0 || type == 1;
    const bool deal = type >= 6 && type <= 8;
    sliders_[0]->setEnabled(turns);
    sliderLabels_[0]->setEnabled(turns);
    sliders_[1]->setEnabled(deal);
    sliderLabels_[1]->setEnabled(deal);
}

void AnimationDetailDialog::setColour(int colour) {
    colour_ = colour;
    QPalette p = colourBox_->palette();
    p.setColor(QPalette::Window, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    colourBox_->setPalette(p);
}

bool AnimationDetailDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == colourBox_ && event->type() == QEvent::MouseButtonDblClick) {
        if (chooseColour) {
            const QColor chosen =
                chooseColour(QColor(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF));
            if (chosen.isValid()) setColour(chosen.red() | chosen.green() << 8 | chosen.blue() << 16);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

ScheduleEntry AnimationDetailDialog::edited() const {
    ScheduleEntry e = entry_;
    if (!layout_) return e;
    for (int i = 0; i < 3; ++i) {
        const DetailSliderRow& r = layout_->sliders[size_t(i)];
        if (r.label) e[r.slot] = sliders_[size_t(i)]->value() + r.storedOffset;
    }
    if (layout_->choiceLabel) e[layout_->choiceSlot] = std::max(0, choice_->currentIndex());
    if (layout_->checkLabel) e[layout_->checkSlot] = check_->isChecked() ? 1 : 0;
    if (layout_->starColour) e[slot::StarColour] = colour_;
    return e;
}

bool showCommonDetailDialog(ProgramState& state, QWidget* owner, ScheduleEntry& entry) {
    if (!detailLayout(entry.kind())) return false;
    AnimationDetailDialog dialog(state, entry, owner);
    const QString number = QStringLiteral("073");
    RestoreWindowPosition(&dialog, state.settingsPath(), number, true);
    const bool ok = dialog.exec() == QDialog::Accepted;
    StoreWindowPosition(&dialog, state.settingsPath(), number);
    if (ok) entry = dialog.edited();
    return ok;
}

}  // namespace vakuro
