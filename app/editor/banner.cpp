#include "banner.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vakuro {

Banner::Banner(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation) {}

void Banner::mousePressEvent(QMouseEvent*) { emit pressed(); }

void Banner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const bool across = orientation_ == Qt::Horizontal;
    QLinearGradient sky(r.topLeft(), across ? r.topRight() : r.bottomLeft());
    sky.setColorAt(0.0, QColor(18, 44, 110));
    sky.setColorAt(0.55, QColor(40, 120, 190));
    sky.setColorAt(1.0, QColor(120, 210, 230));
    p.fillRect(r, sky);
    // A few soft light bands for depth.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(255, 255, 255, 14 + 4 * i));
        const double t = i / 6.0;
        if (across) {
            p.drawEllipse(QPointF(r.width() * (0.15 + 0.14 * i), r.height() * (1.2 - t * 0.3)), r.height() * 1.1,
                          r.height() * 0.7);
        } else {
            p.drawEllipse(QPointF(r.width() * (1.1 - t * 0.3), r.height() * (0.12 + 0.15 * i)), r.width() * 0.7,
                          r.width() * 1.1);
        }
    }

    QFont font(QStringLiteral("IPAPGothic"));
    font.setBold(true);
    const QString title = QStringLiteral("ソモロEasy");
    QPainterPath path;
    if (across) {
        font.setPixelSize(qMax(12, static_cast<int>(r.height() * 0.55)));
        const QFontMetricsF fm(font);
        const QPointF origin(r.width() * 0.04, (r.height() + fm.ascent() - fm.descent()) / 2);
        path.addText(origin, font, title);
    } else {
        // As large as the column allows, with every character of the name fitting.
        const double byHeight = r.height() * 0.9 / (title.size() * 0.92 * 1.15);
        font.setPixelSize(qMax(10, static_cast<int>(std::min(r.width() * 0.62, byHeight))));
        const QFontMetricsF fm(font);
        const double total = fm.height() * 0.92 * title.size();
        double y = (r.height() - total) / 2 + fm.ascent();
        for (const QChar c : title) {
            const double w = fm.horizontalAdvance(c);
            path.addText(QPointF((r.width() - w) / 2, y), font, QString(c));
            y += fm.height() * 0.92;
        }
    }
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(2, 2));
    QLinearGradient ink(0, 0, 0, r.height());
    ink.setColorAt(0, QColor(255, 255, 255));
    ink.setColorAt(1, QColor(255, 226, 140));
    p.setBrush(ink);
    p.setPen(QPen(QColor(10, 30, 80), 1.2));
    p.drawPath(path);
}

}  // namespace vakuro
