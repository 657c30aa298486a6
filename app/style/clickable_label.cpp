#include "clickable_label.h"

#include <QMouseEvent>

namespace vakuro {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    event->accept();
    emit pressed();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    emit doubleClicked();
}

}  // namespace vakuro
