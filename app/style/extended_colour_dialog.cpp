#include "extended_colour_dialog.h"

#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "angle_dial.h"
#include "colour_swatch.h"
#include "program_paths.h"
#include "program_state.h"
#include "window_position.h"
#include "dialog_labels.h"
#include "window_theme.h"

namespace vakuro {
namespace {

constexpr int kPreviewSize = 40;

QScrollBar* slider(int maximum, const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(maximum > 30 ? 10 : 1);
    bar->setMinimumWidth(180);
    return bar;
}

}  // namespace

ExtendedColourDialog::ExtendedColourDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Form012"));
    setWindowTitle(QStringLiteral("拡張色設定"));
    buildControls();
    adjustSize();
    setFixedSize(size());

    // Centred on the screen, in the window colour scheme.
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) move(RestoredWindowPosition(screen->geometry(), frameGeometry().size(), std::nullopt, std::nullopt, true));
    PaintWindowBackground(this, state_.settingsPath());

    const PavrexStyle& s = state_.style;
    colour1_->setColour(s.FillColor1);
    colour2_->setColour(s.FillColor2);
    {
        const QSignalBlocker blockRepeat(repeat_);
        const QSignalBlocker blockAngle(angle_);
        repeat_->setValue(s.PatternRepeat);
        angle_->setValue(s.PatternAngle);
    }
    repeatChanged(repeat_->value());
    angleChanged(angle_->value());
}

void ExtendedColourDialog::buildControls() {
    colour1_ = new ColourSwatch(this);
    colour1_->setObjectName(QStringLiteral("Picture3"));
    colour1_->setFixedSize(48, 24);
    colour2_ = new ColourSwatch(this);
    colour2_->setObjectName(QStringLiteral("Picture4"));
    colour2_->setFixedSize(48, 24);

    dial_ = new AngleDial(this);
    dial_->setObjectName(QStringLiteral("Picture1"));

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("Picture5"));
    preview_->setFixedSize(kPreviewSize, kPreviewSize);
    auto* previewFrame = new QFrame(this);
    previewFrame->setFrameShape(QFrame::Panel);
    previewFrame->setFrameShadow(QFrame::Sunken);
    auto* previewLayout = new QVBoxLayout(previewFrame);
    previewLayout->setContentsMargins(2, 2, 2, 2);
    previewLayout->addWidget(preview_);
    previewFrame->setFixedSize(previewFrame->sizeHint());

    repeat_ = slider(20, "HScroll1", this);
    angle_ = slider(359, "HScroll2", this);
    repeatValue_ = valueLabel("Label5", this, QStringLiteral("0000"));
    angleValue_ = valueLabel("Label6", this, QStringLiteral("0000"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("Command2"));

    auto* colours = new QHBoxLayout;
    colours->addWidget(caption(QStringLiteral("基準色1"), "Label1", this));
    colours->addWidget(colour1_);
    colours->addSpacing(16);
    colours->addWidget(caption(QStringLiteral("基準色2"), "Label2", this));
    colours->addWidget(colour2_);
    colours->addStretch();

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(dial_, 0, Qt::AlignVCenter);
    pictures->addSpacing(24);
    pictures->addWidget(previewFrame, 0, Qt::AlignVCenter);
    pictures->addStretch();

    auto* sliders = new QGridLayout;
    sliders->addWidget(caption(QStringLiteral("繰返し"), "Label3", this), 0, 0);
    sliders->addWidget(repeat_, 0, 1);
    sliders->addWidget(repeatValue_, 0, 2);
    sliders->addWidget(caption(QStringLiteral("角度"), "Label4", this), 1, 0);
    sliders->addWidget(angle_, 1, 1);
    sliders->addWidget(angleValue_, 1, 2);
    sliders->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(colours);
    layout->addLayout(pictures);
    layout->addLayout(sliders);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(colour1_, &ColourSwatch::colourChosen, this, &ExtendedColourDialog::updatePreview);
    connect(colour2_, &ColourSwatch::colourChosen, this, &ExtendedColourDialog::updatePreview);
    connect(repeat_, &QScrollBar::valueChanged, this, &ExtendedColourDialog::repeatChanged);
    connect(angle_, &QScrollBar::valueChanged, this, &ExtendedColourDialog::angleChanged);
    connect(dial_, &AngleDial::angleDragged, angle_, &QScrollBar::setValue);
    connect(ok, &QPushButton::clicked, this, &ExtendedColourDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ExtendedColourDialog::reject);
}

void ExtendedColourDialog::repeatChanged(int value) {
    repeatValue_->setNum(value);
    updatePreview();
}

void ExtendedColourDialog::angleChanged(int value) {
    angleValue_->setNum(value);
    dial_->showAngle(value);
    updatePreview();
}

// The pattern is written by the effects library into "TexTmp.bmp" and shown
// as it is, 40 x 40 pixels.
void ExtendedColourDialog::updatePreview() {
    const auto texColEx = state_.libraries().effects.TexColEx;
    const QString path = TempFolder() + QStringLiteral("TexTmp.bmp");
    QImage pattern;
    if (texColEx && texColEx(QFile::encodeName(path).constData(), kPreviewSize, kPreviewSize, colour2_->colour(),
                             colour1_->colour(), repeat_->value(), angle_->value(), 1) == 1)
        pattern.load(path);
    preview_->setPixmap(QPixmap::fromImage(pattern));
}

void ExtendedColourDialog::accept() {
    PavrexStyle& s = state_.style;
    s.FillColor1 = colour1_->colour();
    s.FillColor2 = colour2_->colour();
    s.PatternRepeat = repeat_->value();
    s.PatternAngle = angle_->value();
    QDialog::accept();
}

}  // namespace vakuro
