#include "pictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

#include "random.h"

namespace vakuro::gen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A four-pointed sparkle: a soft glow and two thin crossed rays.
void sparkle(QPainter& p, QPointF c, double size, const QColor& colour) {
    QRadialGradient glow(c, size);
    QColor inner = colour;
    inner.setAlphaF(0.85);
    QColor outer = colour;
    outer.setAlphaF(0.0);
    glow.setColorAt(0, inner);
    glow.setColorAt(0.25, QColor(colour.red(), colour.green(), colour.blue(), 90));
    glow.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, size, size);
    QPainterPath star;
    const double w = size * 0.12, l = size * 1.6;
    star.moveTo(c.x(), c.y() - l);
    star.quadTo(c.x() + w * 0.2, c.y() - w * 0.2, c.x() + l, c.y());
    star.quadTo(c.x() + w * 0.2, c.y() + w * 0.2, c.x(), c.y() + l);
    star.quadTo(c.x() - w * 0.2, c.y() + w * 0.2, c.x() - l, c.y());
    star.quadTo(c.x() - w * 0.2, c.y() - w * 0.2, c.x(), c.y() - l);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawPath(star);
}

// A flowing band between two wavy edges across the whole width.
QPainterPath ribbon(double width, double centre, double thickness, double amplitude, double waves,
                    double phase, double twist) {
    QPainterPath path;
    const int steps = 120;
    auto edge = [&](double t, double side) {
        const double x = t * width;
        const double a = 2 * kPi * (waves * t) + phase;
        const double y = centre + amplitude * std::sin(a);
        const double half = thickness * (0.55 + 0.45 * std::sin(a * twist + 1.3));
        return QPointF(x, y + side * half);
    };
    path.moveTo(edge(0, -1));
    for (int i = 1; i <= steps; ++i) path.lineTo(edge(double(i) / steps, -1));
    for (int i = steps; i >= 0; --i) path.lineTo(edge(double(i) / steps, 1));
    path.closeSubpath();
    return path;
}

}  // namespace

QImage makeTitleBackground() {
    constexpr int W = kTitleWidth, H = kTitleHeight;
    QImage image(W, H, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Pastel sky from left to right, light enough that the title text
    // (combined onto it by AND) stays crisp and dark.
    QLinearGradient base(0, 0, W, H);
    base.setColorAt(0.0, QColor(206, 232, 255));
    base.setColorAt(0.45, QColor(236, 228, 255));
    base.setColorAt(1.0, QColor(255, 230, 218));
    p.fillRect(image.rect(), base);

    // A soft light behind the middle, where the title sits.
    QRadialGradient light(QPointF(W * 0.5, H * 0.48), W * 0.42);
    light.setColorAt(0, QColor(255, 255, 255, 200));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(image.rect());

    Random rng(0x7469746C65ull);

    // Out-of-focus discs.
    const QColor discColours[] = {QColor(140, 200, 255), QColor(200, 160, 255), QColor(255, 170, 200),
                                  QColor(255, 214, 150), QColor(255, 255, 255)};
    for (int i = 0; i < 46; ++i) {
        const QPointF c(rng.uniform(0, W), rng.uniform(0, H));
        const double r = 8 + 46 * rng.uniform() * rng.uniform();
        QColor col = discColours[rng.below(5)];
        QRadialGradient g(c, r);
        col.setAlpha(static_cast<int>(40 + 50 * rng.uniform()));
        g.setColorAt(0, col);
        g.setColorAt(0.8, col);
        col.setAlpha(0);
        g.setColorAt(1, col);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }

    // Flowing ribbons of colour, lighter towards their edges.
    struct RibbonLook {
        double centre, thickness, amplitude, waves, phase, twist;
        QColor a, b;
    };
    const RibbonLook ribbons[] = {
        {H * 0.70, 26, 42, 1.25, 0.4, 1.7, QColor(90, 170, 255, 80), QColor(190, 110, 255, 80)},
        {H * 0.62, 14, 52, 1.05, 1.6, 2.3, QColor(120, 220, 255, 90), QColor(255, 120, 190, 90)},
        {H * 0.30, 18, 34, 1.45, 3.1, 1.4, QColor(255, 170, 120, 60), QColor(170, 120, 255, 70)},
        {H * 0.80, 8, 30, 2.10, 5.0, 2.9, QColor(255, 255, 255, 150), QColor(200, 230, 255, 150)},
        {H * 0.40, 6, 46, 1.60, 2.2, 3.3, QColor(255, 255, 255, 130), QColor(255, 220, 240, 130)},
    };
    for (const RibbonLook& r : ribbons) {
        QLinearGradient g(0, 0, W, 0);
        g.setColorAt(0, r.a);
        g.setColorAt(1, r.b);
        p.setBrush(g);
        p.drawPath(ribbon(W, r.centre, r.thickness, r.amplitude, r.waves, r.phase, r.twist));
    }

    // Sparkles, mostly in the right part that stays in view at the end of
    // the slide-in.
    for (int i = 0; i < 26; ++i) {
        const QPointF c(W * (0.15 + 0.85 * rng.uniform()), rng.uniform(10, H - 10));
        sparkle(p, c, 3 + 7 * rng.uniform() * rng.uniform(), discColours[rng.below(5)]);
    }

    // A thin light frame line at the top and bottom edges.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 160), 2));
    p.drawLine(QPointF(0, 1), QPointF(W, 1));
    p.drawLine(QPointF(0, H - 1), QPointF(W, H - 1));
    p.end();
    return image;
}

QImage makeIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    // Rounded tile: indigo to magenta with faint rays from the centre.
    const QRectF tile(8, 8, 240, 240);
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, 52, 52);
    QLinearGradient bg(tile.topLeft(), tile.bottomRight());
    bg.setColorAt(0, QColor(72, 62, 196));
    bg.setColorAt(0.55, QColor(138, 52, 188));
    bg.setColorAt(1, QColor(214, 54, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawPath(tilePath);
    p.save();
    p.setClipPath(tilePath);
    p.setBrush(QColor(255, 255, 255, 22));
    for (int i = 0; i < 12; ++i) {
        const double a0 = 2 * kPi * i / 12, a1 = a0 + kPi / 12;
        QPolygonF ray;
        ray << QPointF(128, 128) << QPointF(128 + 300 * std::cos(a0), 128 + 300 * std::sin(a0))
            << QPointF(128 + 300 * std::cos(a1), 128 + 300 * std::sin(a1));
        p.drawPolygon(ray);
    }
    QRadialGradient sheen(QPointF(90, 50), 150);
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sheen);
    p.drawRect(tile);
    p.restore();

    // A bold chevron, dressed the way the program dresses text: a gold
    // gradient fill, a white outline and a soft drop shadow.
    QPainterPath chevron;
    chevron.moveTo(46, 58);
    chevron.lineTo(100, 58);
    chevron.lineTo(128, 150);
    chevron.lineTo(156, 58);
    chevron.lineTo(210, 58);
    chevron.lineTo(154, 206);
    chevron.lineTo(102, 206);
    chevron.closeSubpath();

    for (int i = 6; i >= 1; --i) {  // soft shadow in layers
        p.setPen(QPen(QColor(30, 10, 60, 16), 2.0 * i + 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(30, 10, 60, 16));
        p.drawPath(chevron.translated(5, 8));
    }
    p.setPen(QPen(QColor(255, 255, 255), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
    QLinearGradient gold(0, 58, 0, 206);
    gold.setColorAt(0, QColor(255, 248, 196));
    gold.setColorAt(0.35, QColor(255, 208, 52));
    gold.setColorAt(0.55, QColor(232, 150, 12));
    gold.setColorAt(0.7, QColor(255, 200, 60));
    gold.setColorAt(1, QColor(196, 112, 8));
    p.setPen(QPen(QColor(150, 80, 10), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPath(chevron);

    sparkle(p, QPointF(200, 44), 18, QColor(255, 250, 220));
    sparkle(p, QPointF(58, 214), 10, QColor(255, 230, 250));
    p.end();
    return image;
}

}  // namespace vakuro::gen
