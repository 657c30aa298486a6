#include "fleeing_button.h"

#include <cmath>

namespace vakuro {

QPointF FleeingButtonCentre(QPointF mouse) {
    const QPointF offset = mouse - kOkHomeCentre;
    const double d = std::hypot(offset.x(), offset.y());
    if (d > kFleeRadius) return kOkHomeCentre;
    if (d < 1e-9) return kOkHomeCentre - QPointF(1.1 * 655, 0);
    const double m = (655 - d) / d;
    return kOkHomeCentre - 1.1 * m * offset;
}

QRectF OkButtonRect(QPointF centre) {
    return QRectF(centre.x() - kOkHalfWidth, centre.y() - kOkHalfHeight, 2 * kOkHalfWidth, 2 * kOkHalfHeight);
}

}  // namespace vakuro
