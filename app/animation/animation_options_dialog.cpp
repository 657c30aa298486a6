#include "animation_options_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "effect_kinds.h"
#include "program_state.h"
#include "settings_keys.h"
#include "shared_routines.h"
#include "window_theme.h"

namespace vakuro {

namespace keys = vakuro::settings;

AnimationOptionsDialog::AnimationOptionsDialog(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form075"));
    setWindowTitle(QStringLiteral("ｱﾆﾒｰｼｮﾝ設定"));
    setModal(true);

    smooth_ = new QCheckBox(QStringLiteral("ｽﾑｰｼﾞﾝｸﾞ出力する"), this);
    smooth_->setObjectName(QStringLiteral("Check1"));
    transparent_ = new QCheckBox(QStringLiteral("背景色を透過させる"), this);
    transparent_->setObjectName(QStringLiteral("Check2"));
    loops_ = new QComboBox(this);
    loops_->setObjectName(QStringLiteral("Combo1"));
    loops_->addItem(QStringLiteral("（無限ループ）"));
    for (int n = 1; n <= 9; ++n) loops_->addItem(QStringLiteral(" %1").arg(n));
    frameRate_ = new QComboBox(this);
    frameRate_->setObjectName(QStringLiteral("Combo2"));
    frameRate_->addItems(frameRateChoices());
    splitType_ = new QComboBox(this);
    splitType_->setObjectName(QStringLiteral("Combo3"));
    splitType_->addItems({QStringLiteral("ﾀｲﾌﾟ1"), QStringLiteral("ﾀｲﾌﾟ2")});
    // WebP output: lossless (the lowest value, shown as its name) or lossy at
    // a quality of 0..100.
    webpQuality_ = new QSpinBox(this);
    webpQuality_->setObjectName(QStringLiteral("WebPQuality"));
    webpQuality_->setRange(-1, 100);
    webpQuality_->setSpecialValueText(QStringLiteral("可逆圧縮"));
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ループ回数"), loops_);
    form->addRow(QStringLiteral("デフォルト秒間コマ数"), frameRate_);
    form->addRow(QStringLiteral("文字分割方法"), splitType_);
    form->addRow(QStringLiteral("WebP品質"), webpQuality_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(smooth_);
    layout->addWidget(transparent_);
    layout->addLayout(form);
    layout->addLayout(buttons);

    const QString& ini = state_.settingsPath();
    smooth_->setChecked(keys::IniReadInt(ini, keys::kAnimeSmooth) != 0);
    transparent_->setChecked(keys::IniReadInt(ini, keys::kAnimeBackTrans) != 0);
    loops_->setCurrentIndex(std::clamp(keys::IniReadInt(ini, keys::kAnimeLoopCount), 0, 9));
    const QString defKoma = QString::number(keys::IniReadInt(ini, keys::kAnimeDefKoma));
    frameRate_->setCurrentIndex(FindListText(frameRate_, defKoma));
    splitType_->setCurrentIndex(std::clamp(state_.options.charSplitType, 0, 1));
    webpQuality_->setValue(std::clamp(keys::IniReadInt(ini, keys::kAnimeWebPQuality), -1, 100));

    connect(ok_, &QPushButton::clicked, this, &AnimationOptionsDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AnimationOptionsDialog::Ok() {
    const QString& ini = state_.settingsPath();
    keys::IniWriteInt(ini, keys::kAnimeSmooth, smooth_->isChecked() ? 1 : 0);
    keys::IniWriteInt(ini, keys::kAnimeBackTrans, transparent_->isChecked() ? 1 : 0);
    keys::IniWriteInt(ini, keys::kAnimeLoopCount, std::max(0, loops_->currentIndex()));
    keys::IniWriteInt(ini, keys::kAnimeWebPQuality, webpQuality_->value());
    // A stored rate that matched no choice stays as it was.
    if (frameRate_->currentIndex() >= 0)
        keys::IniWriteInt(ini, keys::kAnimeDefKoma, ParseInt(frameRate_->currentText()));
    state_.options.charSplitType = std::max(0, splitType_->currentIndex());
    keys::IniWriteInt(ini, keys::kGifAnimeChrSpType, state_.options.charSplitType);
    accept();
}

void showAnimationOptions(ProgramState& state, QWidget* owner) {
    AnimationOptionsDialog dialog(state, owner);
    dialog.adjustSize();
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    PaintWindowBackground(&dialog, state.settingsPath());
    dialog.exec();
}

}  // namespace vakuro
