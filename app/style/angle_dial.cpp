#include "angle_dial.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "shared_routines.h"

namespace vakuro {
namespace {

constexpr double kPi = 3.14159265;

}  // namespace

AngleDial::AngleDial(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSize, kSize);
    setCursor(Qt::CrossCursor);
}

std::optional<QPoint> AngleDial::pointOnCircle(QPointF position) {
    const double dx = position.x() - kCentre;
    const double dy = position.y() - kCentre;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0.0) return std::nullopt;
    const double k = kRadius / distance;
    return QPoint(kCentre + RoundHalfEven(dx * k), kCentre + RoundHalfEven(dy * k));
}

int AngleDial::angleOf(QPoint p) {
    double degrees;
    if (p.x() == kCentre) {
        // Straight up or straight down.
        degrees = p.y() <= kCentre ? 90.0 : 270.0;
    } else {
        degrees = std::atan(static_cast<double>(kCentre - p.y()) / (p.x() - kCentre)) * 180.0 / kPi;
        if (p.x() < kCentre) degrees += 180.0;
    }
    return RoundHalfEven(degrees + 360.0) % 360;
}

void AngleDial::showAngle(int degrees) {
    const DragState previous = state_;
    state_ = DragState::DrawingOnly;
    const double theta = degrees * kPi / 180.0;
    track(QPointF(kCentre + kCentre * std::cos(theta), kCentre - kCentre * std::sin(theta)));
    state_ = previous;
}

void AngleDial::track(QPointF position) {
    const std::optional<QPoint> point = pointOnCircle(position);
    if (!point) return;
    tip_ = *point;
    update();
    if (state_ == DragState::Dragging) emit angleDragged(angleOf(tip_));
}

void AngleDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    state_ = DragState::Dragging;
    track(event->position());
}

void AngleDial::mouseMoveEvent(QMouseEvent* event) {
    if (state_ == DragState::Dragging) track(event->position());
}

void AngleDial::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) state_ = DragState::Off;
}

void AngleDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The dial face: a white disc with a mark every 45 degrees.
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(kCentre, kCentre), kRadius, kRadius);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    for (int mark = 0; mark < 8; ++mark) {
        const double theta = mark * 45 * kPi / 180.0;
        const double inner = mark % 2 == 0 ? kRadius - 6 : kRadius - 3;
        painter.drawLine(QPointF(kCentre + inner * std::cos(theta), kCentre - inner * std::sin(theta)),
                         QPointF(kCentre + kRadius * std::cos(theta), kCentre - kRadius * std::sin(theta)));
    }
    // The needle.
    painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF start(kCentre + 0.15 * (tip_.x() - kCentre), kCentre + 0.15 * (tip_.y() - kCentre));
    painter.drawLine(start, QPointF(tip_));
}

}  // namespace vakuro
