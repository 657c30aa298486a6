// The angle dial of the extended colour dialog: a 74 x 74 picture with a
// red needle from near its centre (36, 36) to a point on the circle of
// radius 34. Dragging with the left button held turns the needle and
// reports the angle; showAngle only draws it.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QWidget>

#include <optional>

namespace vakuro {

class AngleDial : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 74;
    static constexpr int kCentre = 36;
    static constexpr int kRadius = 34;

    enum class DragState { Off, Dragging, DrawingOnly };

    explicit AngleDial(QWidget* parent = nullptr);

    // Draws the needle for an angle in degrees (counter-clockwise from the
    // right) without reporting it.
    void showAngle(int degrees);

    DragState dragState() const { return state_; }
    // The needle's outer end, in dial pixels.
    QPoint needleTip() const { return tip_; }

    // A mouse position moved onto the circle of radius 34 around the centre,
    // rounded to whole pixels; nothing for the centre itself, which has no
    // direction.
    static std::optional<QPoint> pointOnCircle(QPointF position);
    // The angle of a point of the circle in whole degrees, 0 .. 359: 0 to the
    // right, 90 up, 180 left, 270 down.
    static int angleOf(QPoint point);

    QSize sizeHint() const override { return {kSize, kSize}; }

signals:
    // The needle was dragged to this angle.
    void angleDragged(int degrees);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void track(QPointF position);

    DragState state_ = DragState::Off;
    QPoint tip_{kCentre + kRadius, kCentre};
};

}  // namespace vakuro
