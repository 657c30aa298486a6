#include "transform_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

namespace vakuro::gen {

namespace {

constexpr double kPi = 3.14159265358979;

// The band of a type in unit coordinates: x from 0 to 1 across, y from 0 at
// the top to 1 at the bottom.
struct Edges {
    double top;
    double bottom;
};

double bulge(double x) { return 1 - (2 * x - 1) * (2 * x - 1); }  // 0 at the edges, 1 in the middle
double peak(double x) { return 1 - std::abs(2 * x - 1); }

Edges bandAt(int type, double x) {
    switch (type) {
    case 1:
        return {0.12 + 0.45 * bulge(x), 0.9};
    case 2:
        return {0.1, 0.88 - 0.45 * bulge(x)};
    case 3:
        return {0.1 + 0.28 * bulge(x), 0.9 - 0.28 * bulge(x)};
    case 4:
        return {0.58 - 0.5 * x, 0.92 - 0.3 * x};
    case 5:
        return {0.08 + 0.5 * x, 0.62 + 0.3 * x};
    case 6:
        return {0.1 + 0.45 * peak(x), 0.9};
    case 7:
        return {0.06 + 0.46 * peak(x), 0.48 + 0.46 * peak(x)};
    case 8:
    case 9: {
        const double periods = type == 8 ? 2 : 3;
        const double v = 0.24 * (std::sin(periods * kPi * x) + 1);
        return {0.06 + v, 0.46 + v};
    }
    default:
        return {0.1, 0.9};
    }
}

// The band's outline in the rectangle r.
QPainterPath bandPath(int type, const QRectF& r) {
    const int steps = 96;
    QPainterPath path;
    for (int k = 0; k <= steps; ++k) {
        const double x = double(k) / steps;
        const QPointF p(r.left() + x * r.width(), r.top() + bandAt(type, x).top * r.height());
        if (k == 0) path.moveTo(p);
        else path.lineTo(p);
    }
    for (int k = steps; k >= 0; --k) {
        const double x = double(k) / steps;
        path.lineTo(r.left() + x * r.width(), r.top() + bandAt(type, x).bottom * r.height());
    }
    path.closeSubpath();
    return path;
}

void drawBand(QPainter& p, int type, const QRectF& r, double outline) {
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(40, 90, 200));
    fill.setColorAt(0.5, QColor(70, 160, 230));
    fill.setColorAt(1, QColor(30, 70, 170));
    p.setPen(QPen(QColor(15, 30, 90), outline));
    p.setBrush(fill);
    p.drawPath(bandPath(type, r));
    // Faint lines across the band, as text lines bent with it.
    p.setPen(QPen(QColor(255, 255, 255, 110), outline * 0.8));
    for (double f : {0.35, 0.65}) {
        QPainterPath line;
        for (int k = 0; k <= 48; ++k) {
            const double x = 0.04 + 0.92 * k / 48;
            const Edges e = bandAt(type, x);
            const QPointF pt(r.left() + x * r.width(), r.top() + (e.top + f * (e.bottom - e.top)) * r.height());
            if (k == 0) line.moveTo(pt);
            else line.lineTo(pt);
        }
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
}

// A letter as strokes in a 6 x 9 cell at origin.
void drawLetter(QPainter& p, char letter, QPointF o) {
    QPainterPath path;
    if (letter == 'A') {
        path.moveTo(o + QPointF(0, 9));
        path.lineTo(o + QPointF(3, 0));
        path.lineTo(o + QPointF(6, 9));
        path.moveTo(o + QPointF(1.2, 5.6));
        path.lineTo(o + QPointF(4.8, 5.6));
    } else if (letter == 'B') {
        path.moveTo(o + QPointF(0.5, 9));
        path.lineTo(o + QPointF(0.5, 0));
        path.lineTo(o + QPointF(3.5, 0));
        path.cubicTo(o + QPointF(6, 0), o + QPointF(6, 4.4), o + QPointF(3.5, 4.4));
        path.lineTo(o + QPointF(0.5, 4.4));
        path.moveTo(o + QPointF(3.5, 4.4));
        path.cubicTo(o + QPointF(6.5, 4.4), o + QPointF(6.5, 9), o + QPointF(3.5, 9));
        path.lineTo(o + QPointF(0.5, 9));
    } else {
        path.arcMoveTo(QRectF(o, QSizeF(6.5, 9)), 40);
        path.arcTo(QRectF(o, QSizeF(6.5, 9)), 40, 280);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 0, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// A red double-headed arrow from a to b with a letter beside it.
void drawMeasure(QPainter& p, QPointF a, QPointF b, char letter, QPointF letterAt) {
    const QColor red(210, 0, 0);
    p.setPen(QPen(red, 1.2));
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    if (length > 0.5) {
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        p.setBrush(red);
        p.setPen(Qt::NoPen);
        for (const auto& [tip, dir] : {std::pair{a, u}, std::pair{b, -u}}) {
            const QPointF head[] = {tip, tip + dir * 5 + n * 2.5, tip + dir * 5 - n * 2.5};
            p.drawPolygon(head, 3);
        }
    }
    drawLetter(p, letter, letterAt);
}

}  // namespace

QImage makeTransformIcon(int type) {
    QImage image(kTransformIconWidth, kTransformIconHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kTransformIconWidth - 1, kTransformIconHeight - 1));
    drawBand(p, type, QRectF(14, 4, kTransformIconWidth - 28, kTransformIconHeight - 8), 1.0);
    return image;
}

QImage makeTransformFigure(int type) {
    QImage image(kTransformFigureWidth, kTransformFigureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(36, 5, 168, 65);
    drawBand(p, type, r, 1.3);
    auto at = [&](double x, double y) { return QPointF(r.left() + x * r.width(), r.top() + y * r.height()); };
    auto top = [&](double x) { return at(x, bandAt(type, x).top); };
    auto bottom = [&](double x) { return at(x, bandAt(type, x).bottom); };
    // Arrows beside the band: left of it at x = -0.06, right at 1.06.
    auto leftHeight = [&](char letter) {
        drawMeasure(p, at(-0.08, bandAt(type, 0).top), at(-0.08, bandAt(type, 0).bottom), letter,
                    at(-0.18, (bandAt(type, 0).top + bandAt(type, 0).bottom) / 2) - QPointF(0, 4.5));
    };
    auto rightHeight = [&](char letter) {
        drawMeasure(p, at(1.08, bandAt(type, 1).top), at(1.08, bandAt(type, 1).bottom), letter,
                    at(1.13, (bandAt(type, 1).top + bandAt(type, 1).bottom) / 2) - QPointF(0, 4.5));
    };
    switch (type) {
    case 1:
    case 2:
        leftHeight('A');
        drawMeasure(p, top(0.5), bottom(0.5), 'B', top(0.5) + QPointF(5, (bottom(0.5).y() - top(0.5).y()) / 2 - 4.5));
        break;
    case 3:
        leftHeight('C');
        drawMeasure(p, at(0.5, bandAt(type, 0).top), top(0.5), 'A', at(0.54, 0.02));
        drawMeasure(p, bottom(0.5), at(0.5, bandAt(type, 0).bottom), 'B', at(0.54, 0.8));
        break;
    case 4:
        leftHeight('A');
        rightHeight('B');
        drawMeasure(p, at(0.9, bandAt(type, 0).bottom), bottom(0.9), 'C', at(0.8, 0.82));
        break;
    case 5:
        rightHeight('A');
        leftHeight('B');
        drawMeasure(p, at(0.1, bandAt(type, 1).bottom), bottom(0.1), 'C', at(0.15, 0.82));
        break;
    case 6:
        drawMeasure(p, at(0.5, bandAt(type, 0).top), top(0.5), 'A', at(0.54, 0.15));
        leftHeight('B');
        break;
    case 7:
        drawMeasure(p, at(0.5, bandAt(type, 0).top), top(0.5), 'A', at(0.54, 0.12));
        break;
    case 8:
    case 9: {
        const double crest = type == 8 ? 0.25 : 1.0 / 6;
        const double trough = type == 8 ? 0.75 : 0.5;
        drawMeasure(p, at(trough, bandAt(type, trough).top), at(trough, bandAt(type, crest).top), 'A',
                    at(trough + 0.04, 0.02));
        drawMeasure(p, at(0, 0.985), at(0.16, 0.985), 'B', at(-0.12, 0.8));
        break;
    }
    default:
        break;
    }
    return image;
}

}  // namespace vakuro::gen
