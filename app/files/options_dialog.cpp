#include "options_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "program_state.h"
#include "settings_keys.h"
#include "window_theme.h"

namespace vakuro {

namespace keys = vakuro::settings;

int jpegQualityIndex(int storedQuality) { return std::clamp(storedQuality - 1, 0, 99); }

OptionsDialog::OptionsDialog(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form040"));
    setWindowTitle(QStringLiteral("オプション設定"));
    setModal(true);

    static const char* const kCaptions[8] = {
        "起動ロゴを表示しない",
        "プレビューを高精細で行う",
        "日本語書体だけに絞り込む",
        "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力をｽﾑｰｼﾞﾝｸﾞ出力にする",
        "ﾌｧｲﾙ出力時にﾌﾟﾚﾋﾞｭｰを行う",
        "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力時に確認ﾀﾞｲｱﾛｸﾞを出す",
        "縦書きの時に横線「-」を90°回転させる",
        "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力をﾒﾀﾌｧｲﾙ形式にする",
    };
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 8; ++i) {
        checks_[i] = new QCheckBox(QString::fromUtf8(kCaptions[i]), this);
        checks_[i]->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        layout->addWidget(checks_[i]);
    }

    auto* clipRow = new QHBoxLayout;
    auto* clipLabel = new QLabel(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力ｻｲｽﾞ"), this);
    clipLabel->setObjectName(QStringLiteral("Label1"));
    clipScale_ = new QComboBox(this);
    clipScale_->setObjectName(QStringLiteral("Combo1"));
    clipScale_->addItems({QStringLiteral("0.5倍"), QStringLiteral("1.0倍"), QStringLiteral("1.5倍"),
                          QStringLiteral("2.0倍")});
    clipRow->addWidget(clipLabel);
    clipRow->addWidget(clipScale_);
    clipRow->addStretch();
    layout->addLayout(clipRow);

    jpegProgressive_ = new QCheckBox(QStringLiteral("JPEG保存にﾌﾟﾛｸﾞﾚｯｼﾌﾞ形式を使用する"), this);
    jpegProgressive_->setObjectName(QStringLiteral("Check9"));
    layout->addWidget(jpegProgressive_);

    auto* jpegRow = new QHBoxLayout;
    auto* jpegLabel = new QLabel(QStringLiteral("JPEG保存圧縮率（1=高圧縮　100=高品質）"), this);
    jpegLabel->setObjectName(QStringLiteral("Label2"));
    jpegQuality_ = new QComboBox(this);
    jpegQuality_->setObjectName(QStringLiteral("Combo2"));
    for (int q = 1; q <= 100; ++q) jpegQuality_->addItem(QString::number(q));
    jpegRow->addWidget(jpegLabel);
    jpegRow->addWidget(jpegQuality_);
    jpegRow->addStretch();
    layout->addLayout(jpegRow);

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &OptionsDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &OptionsDialog::Cancel);
    // The preview quality acts at once, so the user sees it before closing.
    connect(hiPreview(), &QCheckBox::clicked, this, [this](bool on) {
        state_.options.highQualityPreview = on ? 1 : 0;
        state_.draw();
    });
}

void OptionsDialog::prepareOpening() {
    const QString& ini = state_.settingsPath();
    openingJapaneseOnly_ = state_.options.japaneseFontsOnly;
    openingHiPreview_ = state_.options.highQualityPreview;

    titleSkip()->setChecked(keys::IniReadInt(ini, keys::kTitleSkip) != 0);
    hiPreview()->setChecked(state_.options.highQualityPreview != 0);
    japaneseOnly()->setChecked(state_.options.japaneseFontsOnly != 0);
    clipSmooth()->setChecked(state_.options.clipSmooth != 0);
    clipMetaFile()->setChecked(state_.options.clipMetaFile != 0);
    fileOutPreview()->setChecked(keys::IniReadInt(ini, keys::kFileOutPreView) != 0);
    clipWithDialog()->setChecked(keys::IniReadInt(ini, keys::kClipWithDialog) != 0);
    rotateDashes()->setChecked(keys::IniReadInt(ini, keys::kRotYokoSen) != 0);
    jpegProgressive_->setChecked(keys::IniReadInt(ini, keys::kJPEGProgression) != 0);
    fileOutPreview()->setVisible(state_.maintainerMode);

    clipScale_->setCurrentIndex(std::clamp(state_.options.clipScaleIndex, 0, 3));
    jpegQuality_->setCurrentIndex(jpegQualityIndex(keys::IniReadInt(ini, keys::kJPEGQuality)));

    adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    PaintWindowBackground(this, ini);
}

void OptionsDialog::Ok() {
    const QString& ini = state_.settingsPath();
    auto flag = [](const QCheckBox* box) { return box->isChecked() ? 1 : 0; };
    state_.options.highQualityPreview = flag(hiPreview());
    state_.options.clipSmooth = flag(clipSmooth());
    state_.options.japaneseFontsOnly = flag(japaneseOnly());
    state_.options.clipMetaFile = flag(clipMetaFile());
    state_.options.clipScaleIndex = std::max(0, clipScale_->currentIndex());

    keys::IniWriteInt(ini, keys::kTitleSkip, flag(titleSkip()));
    keys::IniWriteInt(ini, keys::kHiPreView, flag(hiPreview()));
    keys::IniWriteInt(ini, keys::kJISFontOnly, flag(japaneseOnly()));
    keys::IniWriteInt(ini, keys::kClipSmooth, flag(clipSmooth()));
    keys::IniWriteInt(ini, keys::kFileOutPreView, flag(fileOutPreview()));
    keys::IniWriteInt(ini, keys::kClipWithDialog, flag(clipWithDialog()));
    keys::IniWriteInt(ini, keys::kRotYokoSen, flag(rotateDashes()));
    keys::IniWriteInt(ini, keys::kClipMetaFile, flag(clipMetaFile()));
    keys::IniWriteInt(ini, keys::kClipScaleIndex, state_.options.clipScaleIndex);
    keys::IniWriteInt(ini, keys::kJPEGProgression, flag(jpegProgressive_));
    keys::IniWriteInt(ini, keys::kJPEGQuality, std::max(0, jpegQuality_->currentIndex()) + 1);

    if (MainWindowHost* host = state_.host) {
        if (state_.options.japaneseFontsOnly != openingJapaneseOnly_) host->refreshFontList();
        // A list left without a selection falls back to the standard faces.
        if (host->fontName().isEmpty() && !host->selectFontName(QStringLiteral("ＭＳ 明朝")) &&
            !host->selectFontName(QStringLiteral("MS UI Gothic"))) {
            host->selectFirstFont();
        }
    }
    closing_ = true;
    accept();
}

void OptionsDialog::Cancel() {
    closing_ = true;
    state_.options.highQualityPreview = openingHiPreview_;
    state_.draw();
    QDialog::reject();
}

void OptionsDialog::reject() {
    // Escape and the window's close button cancel.
    if (!closing_) Cancel();
}

void OptionsDialog::mousePressEvent(QMouseEvent* event) {
    update();
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

void showOptionsDialog(ProgramState& state, QWidget* owner) {
    OptionsDialog dialog(state, owner);
    dialog.prepareOpening();
    dialog.exec();
}

}  // namespace vakuro
