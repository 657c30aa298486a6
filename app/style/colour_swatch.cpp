#include "colour_swatch.h"

#include <QColorDialog>
#include <QMouseEvent>

namespace vakuro {

ColourSwatch::ColourSwatch(QWidget* parent) : QLabel(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    setColour(0);
}

QColor ColourSwatch::toQColor(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

int ColourSwatch::fromQColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

void ColourSwatch::setColour(int colourRef) {
    colour_ = colourRef;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(colourRef));
    setPalette(p);
    setToolTip(QStringLiteral("RGB(%1, %2, %3)")
                   .arg(colourRef & 0xFF)
                   .arg((colourRef >> 8) & 0xFF)
                   .arg((colourRef >> 16) & 0xFF));
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QColor chosen = QColorDialog::getColor(toQColor(colour_), this, QStringLiteral("色の設定"));
    if (!chosen.isValid()) return;
    setColour(fromQColor(chosen));
    emit colourChosen(colour_);
}

}  // namespace vakuro
