#include "version_dialog.h"

#include "colour_scheme_dialog.h"
#include "fleeing_button.h"
#include "program_paths.h"
#include "program_state.h"
#include "shared_routines.h"
#include "version_details.h"
#include "version_logo.h"
#include "window_position.h"
#include "window_theme.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <functional>

namespace vakuro {
namespace {

constexpr int kShineIntervalMs = 60;
constexpr int kFleeTimeMs = 8000;

// The dialog's heights include its caption and borders, which take about
// 450 twips; the client area is what is left.
constexpr int kFrameTwips = 450;
constexpr int kWidthTwips = 7350;
constexpr int kHeightTwips = 4860;
constexpr int kDetailsHeightTwips = 5775;

const QString kTitle = QStringLiteral("ソモロEasy");
const QString kNotice = QStringLiteral(
    "このプログラムはフリーソフトウェアです。GNU 一般公衆利用許諾書（GPL）"
    "バージョン 3 またはそれ以降の条件のもとで、再配布と改変ができます。"
    "保証は一切ありません。");

// The colour scheme dialog opens with either code: all eight characters, or
// the last six of them. The last four make the OK button flee.
const QString kSchemeCode = QStringLiteral("61927340");
const QString kSchemeCodeShort = QStringLiteral("274158");
const QString kFleeCode = QStringLiteral("4062");

int px(double twips) { return TwipsToPixels(static_cast<int>(std::lround(twips))); }

// Shows a picture made on demand.
class PictureView : public QWidget {
public:
    PictureView(std::function<QImage()> picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture)) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_()); }

private:
    std::function<QImage()> picture_;
};

}  // namespace

VersionDialog::VersionDialog(ProgramState& state, QWidget* owner)
    : QDialog(owner), state_(state), programFolder_(ProgramFolder()), libraryFolder_(LibraryFolder()) {
    setObjectName(QStringLiteral("VersionDialog"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    setMouseTracking(true);
    buildControls();
    shine_ = LoadShinePicture();
}

void VersionDialog::buildControls() {
    logoFrame_ = new QFrame(this);
    logoFrame_->setObjectName(QStringLiteral("Frame1"));
    // Below the top band of the background theme, on the plain base colour.
    logoFrame_->setGeometry(16, 36, kLogoSize.width() + 4, kLogoSize.height() + 4);
    logo_ = new PictureView([this] { return logoImage(); }, logoFrame_);
    logo_->setObjectName(QStringLiteral("Picture1"));
    logo_->setGeometry(2, 2, kLogoSize.width(), kLogoSize.height());

    versionLabel_ = new QLabel(this);
    versionLabel_->setObjectName(QStringLiteral("Label1"));
    QFont versionFont = versionLabel_->font();
    if (versionFont.pointSizeF() > 0) {
        versionFont.setPointSizeF(versionFont.pointSizeF() + 2);
    } else {
        versionFont.setPixelSize(versionFont.pixelSize() + 3);
    }
    versionFont.setBold(true);
    versionLabel_->setFont(versionFont);
    versionLabel_->setGeometry(24, 128, 300, 26);
    versionLabel_->installEventFilter(this);

    notice_ = new QLabel(kNotice, this);
    notice_->setObjectName(QStringLiteral("Label2"));
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice_->setGeometry(24, 160, 442, 64);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    // The button passes the mouse's moves on to the dialog, which moves it.
    ok_->setMouseTracking(true);
    placeOkButton(kOkHomeCentre);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    details_ = new QPushButton(QStringLiteral("詳細情報"), this);
    details_->setObjectName(QStringLiteral("Command2"));
    details_->hide();
    connect(details_, &QPushButton::clicked, this, &VersionDialog::showDetails);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    // The lines are padded in bytes: a face with half-width Latin letters
    // and full-width Japanese keeps their columns.
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setPixelSize(13);
    list_->setFont(fixed);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setGeometry(16, 264, px(kWidthTwips) - 32, 80);
    list_->hide();

    shineTimer_ = new QTimer(this);
    shineTimer_->setObjectName(QStringLiteral("Timer1"));
    shineTimer_->setInterval(kShineIntervalMs);
    connect(shineTimer_, &QTimer::timeout, this, &VersionDialog::shineTick);

    fleeTimer_ = new QTimer(this);
    fleeTimer_->setObjectName(QStringLiteral("Timer2"));
    fleeTimer_->setInterval(kFleeTimeMs);
    fleeTimer_->setSingleShot(true);
    connect(fleeTimer_, &QTimer::timeout, this, &VersionDialog::fleeTimeout);
}

void VersionDialog::prepareOpening() {
    list_->hide();
    setFixedSize(px(kWidthTwips), px(kHeightTwips - kFrameTwips));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    PaintWindowBackground(this, state_.settingsPath());
    // The logo's frame takes the dialog's background, on which the logo is
    // multiplied.
    QPalette framePalette = logoFrame_->palette();
    framePalette.setColor(QPalette::Window, palette().color(QPalette::Window));
    logoFrame_->setPalette(framePalette);
    logoFrame_->setAutoFillBackground(true);

    const QWidget* main = state_.host ? state_.host->ownerWindow() : nullptr;
    const QString title = main && !main->windowTitle().isEmpty() ? main->windowTitle() : kTitle;
    const LogoPictures pictures = DrawLogo(kLogoSize, title);
    logoPicture_ = pictures.logo;
    letterMask_ = pictures.letterMask;
    work_ = ShineInLetters(shine_, letterMask_, ShineOffset(counter_));
    logo_->update();

    versionLabel_->setText(AppVersionText());
    shineTimer_->start();
}

QImage VersionDialog::logoImage() const {
    if (logoPicture_.isNull()) return {};
    return ComposeLogo(logoFrame_->palette().color(QPalette::Window), logoPicture_, work_);
}

void VersionDialog::shineTick() {
    counter_ = (counter_ + 1) % kShineCycleTicks;
    if (letterMask_.isNull()) return;
    work_ = ShineInLetters(shine_, letterMask_, ShineOffset(counter_));
    logo_->update();
}

void VersionDialog::showDetails() {
    setFixedSize(px(kWidthTwips), px(kDetailsHeightTwips - kFrameTwips));
    list_->clear();
    const QString program = programFolder_ + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    list_->addItems(VersionDetailLines(program, libraryFolder_, state_.libraries()));
    list_->show();
}

// ---- Keys: the access codes --------------------------------------------------

void VersionDialog::keyPressEvent(QKeyEvent* event) {
    typedCharacters(event->text());
    QDialog::keyPressEvent(event);
}

void VersionDialog::typedCharacters(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20) continue;  // Enter, Escape and other controls type nothing
        typed_ = (typed_ + c).right(8);
        if (typed_ == kSchemeCode || typed_.endsWith(kSchemeCodeShort)) openColourScheme();
        if (typed_.endsWith(kFleeCode)) {
            QApplication::beep();
            fleeing_ = true;
        }
    }
}

void VersionDialog::openColourScheme() {
    showColourSchemeDialog(state_.settingsPath(), this);
    RepaintThemedWindows(state_.settingsPath());
    prepareOpening();
}

// ---- Mouse: details, fleeing button, repaint -------------------------------

bool VersionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == versionLabel_) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            const Qt::KeyboardModifiers keys =
                press->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            shiftPress_ = keys == Qt::ShiftModifier;
        } else if (event->type() == QEvent::MouseButtonDblClick && shiftPress_) {
            details_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void VersionDialog::mouseMoveEvent(QMouseEvent* event) {
    if (fleeing_) {
        const QPointF centre = FleeingButtonCentre(event->position() * kTwipsPerPixel);
        placeOkButton(centre);
        if (centre != kOkHomeCentre && !fleeTimer_->isActive()) fleeTimer_->start();
    }
    QDialog::mouseMoveEvent(event);
}

void VersionDialog::mousePressEvent(QMouseEvent* event) {
    update();
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

void VersionDialog::fleeTimeout() {
    fleeing_ = false;
    placeOkButton(kOkHomeCentre);
    fleeTimer_->stop();
}

void VersionDialog::placeOkButton(QPointF centreTwips) {
    const QRectF r = OkButtonRect(centreTwips);
    ok_->setGeometry(px(r.left()), px(r.top()), px(r.width()), px(r.height()));
}

void showVersionDialog(ProgramState& state, QWidget* owner) {
    VersionDialog dialog(state, owner);
    dialog.prepareOpening();
    dialog.exec();
}

}  // namespace vakuro
