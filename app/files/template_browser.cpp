#include "template_browser.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

#include "program_state.h"
#include "template_commands.h"
#include "template_library.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

const QString kWindowNumber = QStringLiteral("050");

// Geometry in twips.
constexpr int kMargin = 120;          // window edge to the viewport
constexpr int kViewportTop = 480;     // below the title label
constexpr int kCellLeft = 150;        // container edge to the first column
constexpr int kCellTop = 150;         // container edge to the first row
constexpr int kGap = 150;             // between thumbnails
constexpr int kFrameBorder = 45;      // the selection frame around a thumbnail
constexpr int kScrollWidth = 255;
constexpr int kScrollStep = 60;       // twips per scroll bar step (4 pixels)

int px(int twips) { return TwipsToPixels(twips); }

}  // namespace

TemplateBrowser::TemplateBrowser(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form050"));
    setWindowTitle(QStringLiteral("テンプレート"));
    setModal(true);

    title_ = new QLabel(QStringLiteral("テンプレートを選んで「読込み」を押してください"), this);
    title_->setObjectName(QStringLiteral("Label1"));
    viewport_ = new QWidget(this);
    viewport_->setObjectName(QStringLiteral("Picture1"));
    container_ = new QWidget(viewport_);
    container_->setObjectName(QStringLiteral("Picture2"));
    frame_ = new QFrame(container_);
    frame_->setObjectName(QStringLiteral("Shape1"));
    frame_->setStyleSheet(QStringLiteral("QFrame#Shape1 { background-color: rgb(0, 0, 160); }"));
    frame_->hide();
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("VScroll1"));
    scroll_->setRange(0, 0);
    load_ = new QPushButton(QStringLiteral("読込み"), this);
    load_->setObjectName(QStringLiteral("Command1"));
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName(QStringLiteral("Command2"));

    connect(scroll_, &QScrollBar::valueChanged, this,
            [this](int v) { container_->move(0, px(-kScrollStep * v)); });
    connect(load_, &QPushButton::clicked, this, &TemplateBrowser::LoadSelected);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

TemplateBrowser::~TemplateBrowser() { closed(); }

void TemplateBrowser::prepareOpening() {
    TemplateLibrary library;
    readTemplateLibrary(templateLibraryInUse(), library);

    // Thumbnail size from the first thumbnail; a library without one uses
    // the size the builder makes.
    QList<QImage> images;
    for (const QByteArray& bytes : library.thumbnails) {
        QImage image;
        if (!bytes.isEmpty()) image.loadFromData(bytes, "BMP");
        images.append(image);
    }
    const QSize first = !images.isEmpty() && !images.first().isNull()
                            ? images.first().size()
                            : QSize(kTemplateThumbWidth, kTemplateThumbHeight);
    thumbW_ = PixelsToTwips(first.width());
    thumbH_ = PixelsToTwips(first.height());

    const int n = static_cast<int>(library.records.size());
    for (int i = 0; i < n; ++i) {
        auto* label = new QLabel(container_);
        label->setObjectName(QStringLiteral("Image1_%1").arg(i));
        label->setProperty("index", i);
        const int left = kCellLeft + (i % 3) * (thumbW_ + kGap);
        const int top = kCellTop + (i / 3) * (thumbH_ + kGap);
        label->setGeometry(px(left), px(top), px(thumbW_), px(thumbH_));
        if (!images.value(i).isNull()) {
            label->setPixmap(QPixmap::fromImage(images.value(i)));
        } else {
            // A thumbnail the file does not hold whole: an empty box that
            // still selects and loads its record.
            label->setFrameShape(QFrame::Box);
            label->setAlignment(Qt::AlignCenter);
            label->setText(QStringLiteral("No.%1").arg(i + 1));
        }
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        label->show();
        thumbs_.append(label);
    }

    // Four rows are visible whatever the count; the container holds them all.
    const int fourRows = kCellTop + 3 * (thumbH_ + kGap) + thumbH_ + kGap;
    const int containerHeight = n > 0 ? kCellTop + ((n - 1) / 3) * (thumbH_ + kGap) + thumbH_ + 90 : fourRows;
    const int viewportHeight = fourRows;
    const int width = kCellLeft + 3 * thumbW_ + 2 * kGap + kCellLeft;
    const double steps = static_cast<double>(containerHeight - viewportHeight) / kScrollStep + 1.0;
    // Rounded half to even; nothing to scroll when everything is visible.
    scroll_->setMaximum(containerHeight <= viewportHeight ? 0 : std::max(0, static_cast<int>(std::nearbyint(steps))));
    scroll_->setValue(0);

    viewport_->setGeometry(px(kMargin), px(kViewportTop), px(width), px(viewportHeight));
    container_->setGeometry(0, 0, px(width), px(std::max(containerHeight, viewportHeight)));
    scroll_->setGeometry(px(kMargin + width), px(kViewportTop), px(kScrollWidth), px(viewportHeight));
    title_->setGeometry(px(kMargin), px(120), px(width), px(300));
    frame_->resize(px(thumbW_ + 2 * kFrameBorder), px(thumbH_ + 2 * kFrameBorder));
    frame_->lower();

    const int windowWidth = kMargin + width + kScrollWidth + kMargin;
    const int windowHeight = kViewportTop + viewportHeight + 600;
    const int buttonTop = kViewportTop + viewportHeight + 120;
    close_->setGeometry(px(windowWidth - kMargin - 1200), px(buttonTop), px(1200), px(375));
    load_->setGeometry(px(windowWidth - kMargin - 2 * 1200 - 120), px(buttonTop), px(1200), px(375));
    setFixedSize(px(windowWidth), px(windowHeight));

    load_->setEnabled(n > 0);
    selected_ = 0;
    RestoreWindowPosition(this, state_.settingsPath(), kWindowNumber, true);
    PaintWindowBackground(this, state_.settingsPath());
}

void TemplateBrowser::selectTemplate(int i) {
    if (i < 0 || i >= count()) return;
    const QRect r = thumbs_.at(i)->geometry();
    frame_->move(r.left() - px(kFrameBorder), r.top() - px(kFrameBorder));
    frame_->show();
    frame_->lower();
    selected_ = i;
}

void TemplateBrowser::LoadSelected() {
    if (count() == 0) return;
    loadTemplate(state_, selected_);
}

bool TemplateBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (auto* label = qobject_cast<QLabel*>(watched); label != nullptr && thumbs_.contains(label)) {
        const int i = label->property("index").toInt();
        if (event->type() == QEvent::MouseButtonPress) {
            selectTemplate(i);
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            selectTemplate(i);
            LoadSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateBrowser::mousePressEvent(QMouseEvent* event) {
    update();
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

void TemplateBrowser::done(int result) {
    closed();
    QDialog::done(result);
}

void TemplateBrowser::closed() {
    if (positionStored_) return;
    positionStored_ = true;
    StoreWindowPosition(this, state_.settingsPath(), kWindowNumber);
}

void showTemplateBrowser(ProgramState& state, QWidget* owner) {
    if (!QFile::exists(templateLibraryInUse())) return;
    TemplateBrowser dialog(state, owner);
    dialog.prepareOpening();
    dialog.exec();
}

}  // namespace vakuro
