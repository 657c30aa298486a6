#include "colour_scheme_dialog.h"

#include "settings_keys.h"
#include "shared_routines.h"
#include "window_theme.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

namespace vakuro {

namespace keys = vakuro::settings;

namespace {

const char* const kFamilyNames[kBackgroundFamilies] = {"標準", "Red", "Green", "Blue", "Gold", "Purple"};
const char* const kButtonColourNames[kButtonColours] = {"標準", "Gold", "Silver", "Blue", "Green", "Red"};

QRadioButton* newOption(const QString& name, int index, const char* caption, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
    option->setObjectName(name);
    option->setProperty("index", index);
    return option;
}

QLabel* newLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

int BackPaintValue(int family, int brightness) { return 256 * family + 20 * brightness + 100; }

int BrightnessOfBackPaint(int backPaint) { return Clamp(((backPaint - 100) & 0xFF) / 20, 0, kBrightnessSteps); }

void RepaintThemedWindows(const QString& iniPath) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (HasWindowTheme(window)) PaintWindowBackground(window, iniPath);
    }
}

ColourSchemeDialog::ColourSchemeDialog(QString settingsPath, QWidget* owner)
    : QDialog(owner), settingsPath_(std::move(settingsPath)) {
    setObjectName(QStringLiteral("ColorOpt"));
    setWindowTitle(QStringLiteral("カラーオプション"));
    setModal(true);
    buildControls();
}

void ColourSchemeDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);

    auto* backgroundFrame = new QGroupBox(QStringLiteral("背景色"), this);
    backgroundFrame->setObjectName(QStringLiteral("Frame1"));
    auto* backgroundGrid = new QGridLayout(backgroundFrame);
    auto* backgroundGroup = new QButtonGroup(this);
    for (int family = 0; family < kBackgroundFamilies; ++family) {
        QRadioButton* option = newOption(QStringLiteral("Option1"), family, kFamilyNames[family], backgroundFrame);
        background_[static_cast<size_t>(family)] = option;
        backgroundGroup->addButton(option, family);
        backgroundGrid->addWidget(option, family / 3, family % 3);
    }
    auto* brightnessRow = new QHBoxLayout;
    brightnessRow->addWidget(newLabel(QStringLiteral("Label1"), QStringLiteral("明るさ"), backgroundFrame));
    brightnessRow->addSpacing(6);
    brightnessRow->addWidget(newLabel(QStringLiteral("Label2"), QStringLiteral("暗"), backgroundFrame));
    brightness_ = new QSlider(Qt::Horizontal, backgroundFrame);
    brightness_->setObjectName(QStringLiteral("Slider1"));
    brightness_->setRange(0, kBrightnessSteps);
    brightness_->setPageStep(1);
    brightness_->setTickPosition(QSlider::TicksBelow);
    brightness_->setTickInterval(1);
    brightness_->setMinimumWidth(150);
    brightnessRow->addWidget(brightness_, 1);
    brightnessRow->addWidget(newLabel(QStringLiteral("Label3"), QStringLiteral("明"), backgroundFrame));
    backgroundGrid->addLayout(brightnessRow, 2, 0, 1, 3);
    layout->addWidget(backgroundFrame);

    auto* buttonFrame = new QGroupBox(QStringLiteral("ボタン色"), this);
    buttonFrame->setObjectName(QStringLiteral("Frame2"));
    auto* buttonGrid = new QGridLayout(buttonFrame);
    auto* buttonGroup = new QButtonGroup(this);
    for (int colour = 0; colour < kButtonColours; ++colour) {
        QRadioButton* option = newOption(QStringLiteral("Option2"), colour, kButtonColourNames[colour], buttonFrame);
        buttons_[static_cast<size_t>(colour)] = option;
        buttonGroup->addButton(option, colour);
        buttonGrid->addWidget(option, colour / 3, colour % 3);
    }
    layout->addWidget(buttonFrame);

    auto* commands = new QHBoxLayout;
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    commands->addStretch();
    commands->addWidget(ok_);
    commands->addWidget(cancel_);
    layout->addLayout(commands);

    connect(backgroundGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) backgroundChanged();
    });
    connect(brightness_, &QSlider::valueChanged, this, &ColourSchemeDialog::backgroundChanged);
    connect(buttonGroup, &QButtonGroup::idToggled, this, [this](int colour, bool on) {
        if (on) buttonColourChosen(colour);
    });
    connect(ok_, &QPushButton::clicked, this, &ColourSchemeDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &ColourSchemeDialog::Cancel);
}

void ColourSchemeDialog::prepareOpening() {
    openingBackPaint_ = keys::IniReadInt(settingsPath_, keys::kBackPaint);
    openingButtonPaint_ = keys::IniReadInt(settingsPath_, keys::kButtonPaint);

    loading_ = true;
    brightness_->setValue(BrightnessOfBackPaint(openingBackPaint_));
    const int family = std::max(0, openingBackPaint_) / 256;
    if (family < kBackgroundFamilies) background_[static_cast<size_t>(family)]->setChecked(true);
    if (openingButtonPaint_ >= 0 && openingButtonPaint_ < kButtonColours)
        buttons_[static_cast<size_t>(openingButtonPaint_)]->setChecked(true);
    loading_ = false;

    adjustSize();
    setFixedSize(size());
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    PaintWindowBackground(this, settingsPath_);
}

void ColourSchemeDialog::backgroundChanged() {
    if (loading_) return;
    int family = 0;
    for (int i = 0; i < kBackgroundFamilies; ++i) {
        if (background_[static_cast<size_t>(i)]->isChecked()) family = i;
    }
    keys::IniWriteInt(settingsPath_, keys::kBackPaint, BackPaintValue(family, brightness_->value()));
    applyScheme();
}

void ColourSchemeDialog::buttonColourChosen(int colour) {
    if (loading_) return;
    keys::IniWriteInt(settingsPath_, keys::kButtonPaint, colour);
    applyScheme();
}

void ColourSchemeDialog::applyScheme() {
    // This dialog is one of the themed windows once it has opened.
    if (!HasWindowTheme(this)) PaintWindowBackground(this, settingsPath_);
    RepaintThemedWindows(settingsPath_);
}

void ColourSchemeDialog::Ok() {
    closing_ = true;
    accept();
}

void ColourSchemeDialog::Cancel() {
    closing_ = true;
    keys::IniWriteInt(settingsPath_, keys::kBackPaint, openingBackPaint_);
    keys::IniWriteInt(settingsPath_, keys::kButtonPaint, openingButtonPaint_);
    applyScheme();
    QDialog::reject();
}

void ColourSchemeDialog::reject() {
    // Escape and the window's close button cancel.
    if (!closing_) Cancel();
}

void showColourSchemeDialog(const QString& settingsPath, QWidget* owner) {
    ColourSchemeDialog dialog(settingsPath, owner);
    dialog.prepareOpening();
    dialog.exec();
}

}  // namespace vakuro
