#include "button_painting.h"

#include "settings_keys.h"
#include "shared_routines.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QVariant>

#include <algorithm>

namespace vakuro {
namespace {

const QString kFaceName = QStringLiteral("vakuroButtonFace");
const char* const kTag = "tag";
const char* const kPicture = "picture";
// The minimum size the window gave the button, while the painting holds the
// button at the size its caption needed.
const char* const kPlainMinimumSize = "vakuroPlainMinimumSize";
const char* const kAccessibleNameSet = "vakuroAccessibleNameSet";

constexpr int kFrameLevel = 92;  // level of the outline colour

bool isScheme(int scheme) { return scheme >= 1 && scheme <= kButtonSchemeCount; }

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

bool isInLayout(const QLayout* layout, const QWidget* widget) {
    if (!layout) return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) return true;
        if (isInLayout(item->layout(), widget)) return true;
    }
    return false;
}

// Clearing the caption shrinks the button's size hint; a button placed by a
// layout keeps the size its caption needed.
void holdLayoutSize(QPushButton* button) {
    if (button->property(kPlainMinimumSize).isValid()) return;
    const QWidget* parent = button->parentWidget();
    if (!parent || !isInLayout(parent->layout(), button)) return;
    button->setProperty(kPlainMinimumSize, button->minimumSize());
    button->setMinimumSize(button->minimumSize().expandedTo(button->sizeHint()));
}

void releaseLayoutSize(QPushButton* button) {
    const QVariant plain = button->property(kPlainMinimumSize);
    if (!plain.isValid()) return;
    button->setMinimumSize(plain.toSize());
    button->setProperty(kPlainMinimumSize, QVariant());
}

// Moves a caption into the tag and clears it, keeping its mnemonic working.
void moveCaptionToTag(QPushButton* button) {
    const QString caption = button->text();
    if (caption.isEmpty()) return;
    holdLayoutSize(button);
    button->setProperty(kTag, caption);
    if (button->accessibleName().isEmpty() || button->property(kAccessibleNameSet).toBool()) {
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        button->setProperty(kAccessibleNameSet, true);
    }
    button->setText(QString());
    button->setShortcut(QKeySequence::mnemonic(caption));
}

// Draws a painted button in place of the style's drawing: its picture, an
// outline in the scheme's dark tone with a light inner edge, and the
// pressed, hovered, focused and disabled states.
class ButtonFace : public QObject {
public:
    ButtonFace(QPushButton* button, int scheme) : QObject(button), button_(button), scheme_(scheme) {
        setObjectName(kFaceName);
        button->installEventFilter(this);
        button->setAttribute(Qt::WA_Hover);
    }

    void setScheme(int scheme) {
        scheme_ = scheme;
        renderPicture();
        button_->update();
    }

    void renderPicture() {
        const QString text = button_->property(kTag).toString();
        button_->setProperty(kPicture, ButtonFacePicture(button_->size(), scheme_, text, button_->font()));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != button_) return false;
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::FontChange:
            renderPicture();
            return false;
        case QEvent::Paint:
            // A caption set after the painting becomes the new tag; a hidden
            // button is resized without a resize event until it shows.
            if (const bool newCaption = !button_->text().isEmpty(); newCaption || pictureSize() != button_->size()) {
                if (newCaption) moveCaptionToTag(button_);
                renderPicture();
            }
            paint();
            return true;
        default:
            return false;
        }
    }

private:
    QSize pictureSize() const { return button_->property(kPicture).value<QImage>().size(); }

    void paint() {
        QPainter p(button_);
        const QRect r = button_->rect();
        const bool down = button_->isDown() || button_->isChecked();
        const QImage picture = button_->property(kPicture).value<QImage>();
        p.fillRect(r, ButtonRowColour(scheme_, 256));
        p.drawImage(down ? QPoint(1, 1) : QPoint(0, 0), picture);
        if (!button_->isEnabled()) {
            // Washed out towards the light top colour: the text greys.
            p.fillRect(r, withAlpha(ButtonRowColour(scheme_, 236), 150));
        } else if (button_->underMouse() && !down) {
            p.fillRect(r, QColor(255, 255, 255, 40));
        }

        const QRectF inner = QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(down ? QColor(0, 0, 0, 50) : QColor(255, 255, 255, 120));
        p.drawLine(inner.topLeft(), inner.topRight());
        p.drawLine(inner.topLeft(), inner.bottomLeft());
        p.setPen(down ? QColor(255, 255, 255, 70) : QColor(0, 0, 0, 40));
        p.drawLine(inner.bottomLeft(), inner.bottomRight());
        p.drawLine(inner.topRight(), inner.bottomRight());

        const QColor frame = ButtonRowColour(scheme_, kFrameLevel);
        p.setPen(QPen(frame, button_->isDefault() ? 2 : 1));
        const qreal half = button_->isDefault() ? 1.0 : 0.5;
        p.drawRect(QRectF(r).adjusted(half, half, -half, -half));
        if (button_->hasFocus()) {
            p.setPen(QPen(withAlpha(frame, 200), 1, Qt::DotLine));
            p.drawRect(QRectF(r).adjusted(3.5, 3.5, -3.5, -3.5));
        }
    }

    QPushButton* button_;
    int scheme_;
};

ButtonFace* faceOf(const QPushButton* button) {
    return button->findChild<ButtonFace*>(kFaceName, Qt::FindDirectChildrenOnly);
}

void paintButton(QPushButton* button, int scheme) {
    // The caption goes into the tag unless the tag already holds it: a
    // button painted before has an empty caption.
    moveCaptionToTag(button);
    if (ButtonFace* face = faceOf(button)) {
        face->setScheme(scheme);
    } else {
        (new ButtonFace(button, scheme))->setScheme(scheme);
    }
}

void restoreButton(QPushButton* button) {
    ButtonFace* face = faceOf(button);
    if (!face) return;
    delete face;
    const QString tag = button->property(kTag).toString();
    button->setProperty(kTag, QVariant());
    button->setProperty(kPicture, QVariant());
    if (button->property(kAccessibleNameSet).toBool()) {
        button->setAccessibleName(QString());
        button->setProperty(kAccessibleNameSet, QVariant());
    }
    if (!tag.isEmpty()) button->setText(tag);
    releaseLayoutSize(button);
    button->update();
}

}  // namespace

int ButtonRowLevel(int y, int heightPixels) {
    const int height = std::max(1, heightPixels);
    return RoundHalfEven(256.0 - static_cast<double>(y) * 127.0 / height);
}

QColor ButtonRowColour(int scheme, int level) {
    const int h = level;
    int r = h, g = h, b = h;
    switch (scheme) {
    case 1: r = h + 10; g = h + 10; b = h - 25; break;  // Gold
    case 2: r = h; g = h + 5; b = h + 15; break;        // Silver
    case 3: r = h - 25; g = h; b = h + 35; break;       // Blue
    case 4: r = h - 15; g = h + 30; b = h - 5; break;   // Green
    case 5: r = h + 35; g = h; b = h; break;            // Red
    default: break;
    }
    return QColor(Clamp(r, 0, 255), Clamp(g, 0, 255), Clamp(b, 0, 255));
}

QImage ButtonFacePicture(QSize size, int scheme, const QString& text, const QFont& font) {
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int width = picture.width(), height = picture.height();
    for (int y = 0; y < height; ++y) {
        const QRgb line = ButtonRowColour(scheme, ButtonRowLevel(y, height)).rgb();
        std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)), width, line);
    }
    if (text.isEmpty()) return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(Qt::black);
    const QSize textSize = QFontMetrics(font).size(Qt::TextShowMnemonic, text);
    const QPoint at((width - textSize.width()) / 2 - 2, (height - textSize.height()) / 2 - 1);
    p.drawText(QRect(at, textSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, text);
    return picture;
}

bool IsPaintableButton(const QPushButton* button) {
    return button && !button->isFlat() && button->icon().isNull();
}

void PaintButtons(QWidget* window, int scheme) {
    if (!window) return;
    const auto buttons = window->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->window() != window || !IsPaintableButton(button)) continue;
        if (isScheme(scheme)) {
            paintButton(button, scheme);
        } else {
            restoreButton(button);
        }
    }
}

void PaintButtons(QWidget* window, const QString& iniPath) {
    PaintButtons(window, settings::IniReadInt(iniPath, settings::kButtonPaint));
}

}  // namespace vakuro
