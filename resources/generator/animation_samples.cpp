#include "animation_samples.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <array>
#include <cmath>

#include "random.h"

namespace vakuro::gen {

namespace {

constexpr int W = kAnimationSampleWidth;
constexpr int H = kAnimationSampleHeight;
constexpr double kPi = 3.14159265358979;

const QColor kBackground(22, 32, 74);

// The letter cells of the sample word at rest.
constexpr double kCellW = 30, kCellH = 36, kGap = 6;
constexpr double kWordLeft = (W - (3 * kCellW + 2 * kGap)) / 2;
constexpr double kWordTop = (H - kCellH) / 2;

QRectF homeCell(int i) { return {kWordLeft + i * (kCellW + kGap), kWordTop, kCellW, kCellH}; }

// The centre line of letter i (A, B, C) in a unit cell.
QPainterPath letterLine(int i) {
    QPainterPath p;
    switch (i) {
        case 0:
            p.moveTo(0.08, 1);
            p.lineTo(0.5, 0);
            p.lineTo(0.92, 1);
            p.moveTo(0.26, 0.62);
            p.lineTo(0.74, 0.62);
            break;
        case 1:
            p.moveTo(0.15, 1);
            p.lineTo(0.15, 0);
            p.lineTo(0.55, 0);
            p.arcTo(QRectF(0.3, 0, 0.5, 0.48), 90, -180);
            p.lineTo(0.15, 0.48);
            p.moveTo(0.55, 0.48);
            p.arcTo(QRectF(0.3, 0.48, 0.56, 0.52), 90, -180);
            p.lineTo(0.15, 1);
            break;
        default:
            p.arcMoveTo(QRectF(0.08, 0, 0.9, 1), 50);
            p.arcTo(QRectF(0.08, 0, 0.9, 1), 50, 260);
            break;
    }
    return p;
}

// The filled outline of letter i, placed by a transform of the unit cell
// onto the picture.
QPainterPath letterShape(int i, const QTransform& place) {
    // Stroked in pixels, so that the curves are flattened finely enough.
    const QRectF cell = place.mapRect(QRectF(0, 0, 1, 1));
    QPainterPathStroker stroker;
    stroker.setWidth(0.19 * std::min(cell.width(), cell.height()));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(place.map(letterLine(i))).simplified();
}

// The transform that puts the unit cell onto a rectangle.
QTransform cellTransform(const QRectF& cell) {
    return QTransform::fromTranslate(cell.left(), cell.top()).scale(cell.width(), cell.height());
}

// Draws letter i in gold with a light outline.
void drawLetter(QPainter& p, int i, const QTransform& place, double opacity = 1) {
    const QPainterPath shape = letterShape(i, place);
    const QRectF box = shape.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, QColor(255, 232, 120));
    fill.setColorAt(1, QColor(240, 120, 30));
    p.save();
    p.setOpacity(opacity);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 250, 235), 1.4));
    p.setBrush(fill);
    p.drawPath(shape);
    p.restore();
}

void drawWord(QPainter& p, double opacity = 1) {
    for (int i = 0; i < 3; ++i) drawLetter(p, i, cellTransform(homeCell(i)), opacity);
}

QImage background() {
    QImage image(W, H, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    return image;
}

// The word alone on a transparent layer.
QImage wordLayer() {
    QImage layer(W, H, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    drawWord(p);
    return layer;
}

QImage finish(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// A four-pointed glint.
void drawGlint(QPainter& p, QPointF c, double r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient halo(c, r);
    halo.setColorAt(0, QColor(255, 255, 255, 230));
    halo.setColorAt(0.25, QColor(200, 230, 255, 120));
    halo.setColorAt(1, QColor(200, 230, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r * 0.45, r * 0.45);
    for (const double a : {0.0, 90.0}) {
        QPainterPath spike;
        const double s = std::sin(a * kPi / 180), co = std::cos(a * kPi / 180);
        spike.moveTo(c + QPointF(-r * co, -r * s));
        spike.lineTo(c + QPointF(-0.12 * r * s, 0.12 * r * co));
        spike.lineTo(c + QPointF(r * co, r * s));
        spike.lineTo(c + QPointF(0.12 * r * s, -0.12 * r * co));
        spike.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 220));
        p.drawPath(spike);
    }
    p.restore();
}

// Motion streaks behind a moving object.
void drawStreaks(QPainter& p, QPointF from, QPointF to, int count, double spacing) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF across(-(to - from).y(), (to - from).x());
    const double length = std::hypot(across.x(), across.y());
    for (int k = 0; k < count; ++k) {
        const double off = (k - (count - 1) / 2.0) * spacing / length;
        QLinearGradient g(from, to);
        g.setColorAt(0, QColor(200, 220, 255, 0));
        g.setColorAt(1, QColor(200, 220, 255, 150));
        p.setPen(QPen(QBrush(g), 1.2));
        p.drawLine(from + across * off, to + across * off);
    }
    p.restore();
}

QImage fadeSample(bool in) {
    QImage image = background();
    QPainter p(&image);
    const double levels[3] = {0.15, 0.5, 1.0};
    for (int i = 0; i < 3; ++i) drawLetter(p, i, cellTransform(homeCell(i)), levels[in ? i : 2 - i]);
    p.end();
    return finish(image);
}

// The word cut into cells that fly from (spread > 1) or gather towards
// their places, each cell at its own speed.
QImage splashSample(double spread, double opacity, uint64_t seed) {
    const QImage layer = wordLayer();
    QImage image = background();
    QPainter p(&image);
    p.setOpacity(opacity);
    Random random(seed);
    const int cell = 4;
    const QPointF centre(W / 2.0, H / 2.0);
    for (int y = 0; y < H; y += cell) {
        for (int x = 0; x < W; x += cell) {
            const QImage piece = layer.copy(x, y, cell, cell);
            bool ink = false;
            for (int yy = 0; yy < cell && !ink; ++yy)
                for (int xx = 0; xx < cell && !ink; ++xx) ink = qAlpha(piece.pixel(xx, yy)) > 0;
            if (!ink) continue;
            const double k = 1 + (spread - 1) * (0.4 + random.uniform());
            const QPointF at = centre + (QPointF(x, y) - centre) * k;
            p.drawImage(at, piece);
        }
    }
    p.end();
    return finish(image);
}

QImage lightSample() {
    QImage layer = wordLayer();
    // A bright band sloping across the letters, added to the letters only.
    for (int y = 0; y < H; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const int a = qAlpha(row[x]);
            if (a == 0) continue;
            const double cx = 84 + 0.45 * (y - H / 2.0);
            const double q = std::abs(x - cx) / 11;
            const double light = q < 1 ? (1 - q * q) * 235 : 0;
            auto lift = [&](int c) { return std::min(a, c + static_cast<int>(light * a / 255)); };
            row[x] = qRgba(lift(qRed(row[x])), lift(qGreen(row[x])), lift(qBlue(row[x])), a);
        }
    }
    QImage image = background();
    QPainter p(&image);
    p.drawImage(0, 0, layer);
    p.end();
    return finish(image);
}

QImage backLightSample() {
    QImage image = background();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF light(62, 26);
    for (int k = 0; k < 36; ++k) {
        const double a = k * 2 * kPi / 36;
        const QPointF end = light + QPointF(std::cos(a), std::sin(a)) * 110;
        QLinearGradient g(light, end);
        g.setColorAt(0, QColor(255, 250, 210, 200));
        g.setColorAt(0.6, QColor(255, 240, 180, 40));
        g.setColorAt(1, QColor(255, 240, 180, 0));
        p.setPen(QPen(QBrush(g), 2.2));
        p.drawLine(light, end);
    }
    QRadialGradient glow(light, 22);
    glow.setColorAt(0, QColor(255, 255, 230, 230));
    glow.setColorAt(1, QColor(255, 255, 230, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(light, 22, 22);
    drawWord(p);
    p.end();
    return finish(image);
}

QImage flashSample() {
    QImage image = background();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A soft halo: the letters' shapes stroked ever wider and fainter.
    for (int w = 14; w >= 2; w -= 2) {
        p.setPen(QPen(QColor(255, 255, 200, 34), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 255, 200, 34));
        for (int i = 0; i < 3; ++i) p.drawPath(letterShape(i, cellTransform(homeCell(i))));
    }
    drawWord(p);
    p.end();
    return finish(image);
}

QImage snowSample() {
    QImage image = background();
    QPainter p(&image);
    drawWord(p);
    p.setRenderHint(QPainter::Antialiasing);
    Random random(10);
    for (int k = 0; k < 26; ++k) {
        const QPointF c(random.uniform(2, W - 2), random.uniform(2, H - 2));
        const double r = random.uniform() < 0.35 ? 2.6 : 1.5;
        QRadialGradient flake(c, r);
        flake.setColorAt(0, QColor(255, 255, 255, 255));
        flake.setColorAt(1, QColor(255, 255, 255, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(flake);
        p.drawEllipse(c, r, r);
    }
    p.end();
    return finish(image);
}

QImage standSample() {
    QImage image = background();
    QPainter p(&image);
    // Half risen from the bottom edge, its top still leaning away.
    QPolygonF from;
    from << QPointF(0, 0) << QPointF(W, 0) << QPointF(W, H) << QPointF(0, H);
    QPolygonF to;
    to << QPointF(18, H * 0.45) << QPointF(W - 18, H * 0.45) << QPointF(W, H) << QPointF(0, H);
    QTransform lean;
    QTransform::quadToQuad(from, to, lean);
    p.setTransform(lean);
    drawWord(p);
    p.end();
    return finish(image);
}

QImage spinSample() {
    QImage image = background();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 190, 255, 120), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(20, 6, W - 40, H - 12), 20 * 16, 140 * 16);
    p.drawArc(QRectF(20, 6, W - 40, H - 12), 200 * 16, 140 * 16);
    // The back of the word, mirrored and narrowed half-way through the turn.
    p.setTransform(QTransform::fromTranslate(W / 2.0, 0).scale(-0.42, 1).translate(-W / 2.0, 0));
    drawWord(p, 0.75);
    p.end();
    return finish(image);
}

QImage dropSample() {
    QImage image = background();
    QPainter p(&image);
    const double drop[3] = {0, -16, -34};
    for (int i = 0; i < 3; ++i) {
        const QRectF cell = homeCell(i).translated(0, drop[i]);
        if (drop[i] < 0) {
            drawStreaks(p, QPointF(cell.center().x(), cell.top() - 14), QPointF(cell.center().x(), cell.top() + 2), 3, 7);
        }
        drawLetter(p, i, cellTransform(cell));
    }
    p.end();
    return finish(image);
}

QImage slideSample() {
    QImage image = background();
    QPainter p(&image);
    const double slide[3] = {0, 22, 48};
    for (int i = 0; i < 3; ++i) {
        const QRectF cell = homeCell(i).translated(slide[i], 0);
        if (slide[i] > 0) {
            drawStreaks(p, QPointF(cell.right() + 18, cell.center().y()), QPointF(cell.right() - 2, cell.center().y()),
                        3, 9);
        }
        drawLetter(p, i, cellTransform(cell));
    }
    p.end();
    return finish(image);
}

QImage trumpSample() {
    QImage image = background();
    QPainter p(&image);
    // One letter at rest, one turning on its vertical axis, one jumping.
    drawLetter(p, 0, cellTransform(homeCell(0)));
    const QRectF turning = homeCell(1);
    drawLetter(p, 1,
               cellTransform(QRectF(turning.center().x() - turning.width() * 0.18, turning.top(),
                                    turning.width() * 0.36, turning.height())));
    const QRectF jumping = homeCell(2).translated(0, -9);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 190, 255, 140), 1.2, Qt::DashLine));
    p.drawArc(QRectF(jumping.left() - 4, jumping.bottom() + 1, jumping.width() + 8, 14), 0, 180 * 16);
    p.restore();
    drawLetter(p, 2, cellTransform(jumping));
    p.end();
    return finish(image);
}

QImage illuminationSample() {
    QImage image = background();
    QPainter p(&image);
    drawWord(p);
    const QPointF glints[] = {{40, 16}, {72, 44}, {101, 14}, {125, 40}, {58, 30}, {138, 20}};
    const double sizes[] = {9, 6, 10, 7, 5, 6};
    for (size_t k = 0; k < std::size(glints); ++k) drawGlint(p, glints[k], sizes[k]);
    p.end();
    return finish(image);
}

QImage telopSample() {
    // The word scrolling out to the left, with streaks behind it.
    QImage image = background();
    QPainter p(&image);
    p.translate(-40, 0);
    drawWord(p);
    p.resetTransform();
    for (const double y : {20.0, 30.0, 40.0}) drawStreaks(p, QPointF(W - 6, y), QPointF(W - 52, y), 1, 1);
    p.end();
    return finish(image);
}

QImage sideFadeSample() {
    QImage layer = wordLayer();
    // Shown up to x = 70, then fading out over 40 pixels.
    for (int y = 0; y < H; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const double m = std::clamp((110.0 - x) / 40.0, 0.0, 1.0);
            row[x] = qRgba(static_cast<int>(qRed(row[x]) * m), static_cast<int>(qGreen(row[x]) * m),
                           static_cast<int>(qBlue(row[x]) * m), static_cast<int>(qAlpha(row[x]) * m));
        }
    }
    QImage image = background();
    QPainter p(&image);
    p.drawImage(0, 0, layer);
    p.end();
    return finish(image);
}

QImage freeMoveSample() {
    QImage image = background();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.translate(30, 40);
    p.rotate(-20);
    p.scale(0.4, 0.4);
    p.translate(-W / 2.0, -H / 2.0);
    drawWord(p, 0.55);
    p.restore();
    QPainterPath path(QPointF(44, 36));
    path.cubicTo(QPointF(64, 10), QPointF(86, 10), QPointF(98, 22));
    p.setPen(QPen(QColor(200, 220, 255, 200), 1.4, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(QPen(QColor(200, 220, 255, 220), 1.6));
    p.drawLine(QPointF(98, 22), QPointF(91, 21));
    p.drawLine(QPointF(98, 22), QPointF(96, 15));
    p.save();
    p.translate(116, 32);
    p.scale(0.62, 0.62);
    p.translate(-W / 2.0, -H / 2.0);
    drawWord(p);
    p.restore();
    p.end();
    return finish(image);
}

}  // namespace

QImage makeAnimationSample(int kind) {
    switch (kind) {
        case 1: {
            QImage image = background();
            QPainter p(&image);
            drawWord(p);
            p.end();
            return finish(image);
        }
        case 2: {
            // Only the background; the word's place is hinted by a faint frame.
            QImage image = background();
            QPainter p(&image);
            p.setPen(QPen(QColor(90, 105, 160), 1, Qt::DotLine));
            p.drawRect(QRectF(kWordLeft - 4, kWordTop - 4, 3 * kCellW + 2 * kGap + 8, kCellH + 8));
            p.end();
            return finish(image);
        }
        case 3: return fadeSample(true);
        case 4: return fadeSample(false);
        case 5: return splashSample(1.35, 1, 5);
        case 6: return splashSample(2.3, 0.8, 6);
        case 7: return lightSample();
        case 8: return backLightSample();
        case 9: return flashSample();
        case 10: return snowSample();
        case 11: return standSample();
        case 12: return spinSample();
        case 13: return dropSample();
        case 14: return slideSample();
        case 15: return trumpSample();
        case 16: return illuminationSample();
        case 17: return telopSample();
        case 18: return sideFadeSample();
        case 19: return freeMoveSample();
        default: return finish(background());
    }
}

}  // namespace vakuro::gen
