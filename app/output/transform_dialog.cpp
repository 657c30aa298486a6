#include "transform_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

#include "clickable_label.h"
#include "program_state.h"
#include "vakuro_transform_pictures.h"
#include "warp.h"
#include "window_theme.h"

namespace vakuro {

namespace {

constexpr int kTypes = 10;
constexpr int kRowPixels = 48;       // 720 twips per type in the list
constexpr int kIconTopPixels = 2;    // icons at 720 n + 30 twips
constexpr int kPanelHeightPixels = 484;  // 7260 twips
constexpr int kViewportHeightPixels = 244;
constexpr int kPanelWidthPixels = 124;
constexpr int kSampleWidth = 177;   // 2655 twips
constexpr int kSampleHeight = 33;   // 495 twips
const QColor kPanelBack(255, 255, 255);
const QColor kPreviewGrey(192, 192, 192);
const QColor kFrameRed(255, 0, 0);

int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The list panel: its background, and the red rectangle behind the chosen
// icon that frames it.
class TypePanel : public QWidget {
public:
    explicit TypePanel(QWidget* parent) : QWidget(parent) {}
    void setSelected(int type) {
        selected_ = type;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kPanelBack);
        // From 15 twips to the right edge, 720 n to 720 n + 720 twips.
        p.fillRect(QRect(1, kRowPixels * selected_, width() - 1, kRowPixels), kFrameRed);
    }

private:
    int selected_ = 0;
};

}  // namespace

void showTransformDialog(ProgramState& state, QWidget* owner) {
    TransformDialog dialog(state, owner);
    dialog.prepareOpening();
    dialog.exec();
}

TransformDialog::TransformDialog(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form032"));
    setWindowTitle(QStringLiteral("変形設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    buildControls();
}

void TransformDialog::buildControls() {
    setFixedSize(432, 328);

    viewport_ = new QWidget(this);
    viewport_->setObjectName(QStringLiteral("Picture3"));
    viewport_->setGeometry(8, 8, kPanelWidthPixels, kViewportHeightPixels);
    auto* panel = new TypePanel(viewport_);
    panel->setObjectName(QStringLiteral("Picture2"));
    panel->setGeometry(0, kIconTopPixels, kPanelWidthPixels, kPanelHeightPixels);
    panel_ = panel;
    for (int n = 0; n < kTypes; ++n) {
        auto* icon = new ClickableLabel(panel_);
        icon->setObjectName(QStringLiteral("Picture1"));
        icon->setProperty("index", n);
        icon->setGeometry(0, kRowPixels * n + kIconTopPixels, 120, 40);
        icon->setPixmap(QPixmap::fromImage(n == 0 ? resources::drawNoTransformIcon(font())
                                                  : QImage(resources::transformIconPath(n))));
        icon->setCursor(Qt::PointingHandCursor);
        connect(icon, &ClickableLabel::pressed, this, [this, n] { selectType(n); });
        icons_[n] = icon;
    }

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("VScroll1"));
    scroll_->setGeometry(8 + kPanelWidthPixels, 8, 17, kViewportHeightPixels);
    scroll_->setRange(0, 50);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(10);
    connect(scroll_, &QScrollBar::valueChanged, this, &TransformDialog::scrollChanged);

    figure_ = new QLabel(this);
    figure_->setObjectName(QStringLiteral("Picture4"));
    figure_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    figure_->setLineWidth(1);
    figure_->setGeometry(160, 8, 242, 77);
    figure_->setAutoFillBackground(true);
    figure_->setAlignment(Qt::AlignCenter);

    const char* letters[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        const int y = 96 + 26 * i;
        letters_[i] = new QLabel(QString::fromLatin1(letters[i]), this);
        letters_[i]->setObjectName(QStringLiteral("Label4"));
        letters_[i]->setProperty("index", i);
        letters_[i]->setGeometry(160, y, 16, 18);
        sliders_[i] = new QScrollBar(Qt::Horizontal, this);
        sliders_[i]->setObjectName(QStringLiteral("HScroll1"));
        sliders_[i]->setProperty("index", i);
        sliders_[i]->setGeometry(180, y, 184, 17);
        sliders_[i]->setRange(0, 100);
        sliders_[i]->setSingleStep(1);
        sliders_[i]->setPageStep(10);
        values_[i] = new QLabel(QStringLiteral("0"), this);
        values_[i]->setObjectName(QStringLiteral("Label7"));
        values_[i]->setProperty("index", i);
        values_[i]->setGeometry(368, y, 34, 18);
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(sliders_[i], &QScrollBar::valueChanged, this, [this, i] { sliderChanged(i); });
    }

    previewBox_ = new QLabel(this);
    previewBox_->setObjectName(QStringLiteral("Picture7"));
    previewBox_->setGeometry(160, 176, 262, 102);
    previewBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The hidden sample and work pictures live in sample_ and work_; their
    // controls are kept so that the form has every control of its list.
    auto* sampleBox = new QLabel(this);
    sampleBox->setObjectName(QStringLiteral("Picture6"));
    sampleBox->setGeometry(0, 0, kSampleWidth, kSampleHeight);
    sampleBox->hide();
    auto* workBox = new QLabel(this);
    workBox->setObjectName(QStringLiteral("Picture5"));
    workBox->hide();

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setGeometry(246, 290, 84, 28);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &TransformDialog::ok);
    auto* cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setGeometry(338, 290, 84, 28);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* previewButton = new QPushButton(this);
    previewButton->setObjectName(QStringLiteral("Command3"));
    previewButton->hide();
    connect(previewButton, &QPushButton::clicked, this, &TransformDialog::runPreview);
}

void TransformDialog::prepareOpening() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
    PaintWindowBackground(this, state_.settingsPath());
    sample_ = QImage(kSampleWidth, kSampleHeight, QImage::Format_RGB32);
    sample_.fill(Qt::black);

    loading_ = true;
    const WarpSettings stored = loadWarpSettings(state_.settingsPath());
    // A stored type outside the list (the file was edited) shows as none.
    const int type = stored.type >= 0 && stored.type < kTypes ? stored.type : 0;
    {
        const QSignalBlocker b0(sliders_[0]), b1(sliders_[1]), b2(sliders_[2]);
        sliders_[0]->setValue(stored.p1);
        sliders_[1]->setValue(stored.p2);
        sliders_[2]->setValue(stored.p3);
    }
    selectType(type);
    scroll_->setValue(type > 4 ? 10 * type - 40 : 0);
    scrollChanged(scroll_->value());
    for (int i = 0; i < 3; ++i) sliderChanged(i);
    loading_ = false;
    runPreview();
}

bool TransformDialog::usesParameter(int type, int index) {
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 8:
    case 9:
        return index < 2;
    case 3:
    case 4:
    case 5:
        return true;
    case 7:
        return index == 0;
    default:
        return false;
    }
}

void TransformDialog::selectType(int type) {
    if (type < 0 || type >= kTypes) return;
    if (type == 0) {
        figure_->clear();
    } else {
        figure_->setPixmap(QPixmap::fromImage(QImage(resources::transformFigurePath(type))));
    }
    type_ = type;
    static_cast<TypePanel*>(panel_)->setSelected(type);
    runPreview();
}

void TransformDialog::sliderChanged(int index) {
    values_[index]->setText(QString::number(sliders_[index]->value()));
    runPreview();
}

void TransformDialog::scrollChanged(int value) {
    // -0.1 * value * 720 + 30 twips: ten steps scroll by one type.
    panel_->move(0, roundEven((-0.1 * value * 720 + 30) / 15.0));
}

void TransformDialog::runPreview() {
    for (int i = 0; i < 3; ++i) {
        const bool used = usesParameter(type_, i);
        letters_[i]->setEnabled(used);
        sliders_[i]->setEnabled(used);
        values_[i]->setEnabled(used);
    }
    if (loading_ || sample_.isNull()) return;
    const int p1 = sliders_[0]->value();
    const int p2 = sliders_[1]->value();
    const int p3 = sliders_[2]->value();
    // Measure, size the work picture (15 h + 60 twips high), draw.
    const int h = warp(sample_, work_, type_, p1, p2, p3, qRgb(255, 255, 255), false);
    work_ = QImage(sample_.width(), h + 4, QImage::Format_RGB32);
    warp(sample_, work_, type_, p1, p2, p3, kPreviewGrey.rgb(), true);

    const QSize box = previewBox_->size();
    preview_ = QImage(box, QImage::Format_RGB32);
    preview_.fill(kPreviewGrey);
    {
        // Centred: (box - picture) / 2 in twips, to the nearest twip, then
        // in pixels.
        const int m = roundEven((box.width() - work_.width()) * 15 / 2.0);
        const int n = roundEven((box.height() - work_.height()) * 15 / 2.0);
        QPainter p(&preview_);
        p.drawImage(m / 15, n / 15, work_);
    }
    previewBox_->setPixmap(QPixmap::fromImage(preview_));
}

void TransformDialog::ok() {
    saveWarpSettings(state_.settingsPath(), {type_, sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value()});
    accept();
}

void TransformDialog::mousePressEvent(QMouseEvent* event) {
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

}  // namespace vakuro
