#include "version_logo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "vakuro_version_pictures.h"

namespace vakuro {
namespace {

const QColor kShadowBlue(0, 128, 255);

// The katakana of the title in a heavy Gothic face, its Latin letters in a
// bold italic serif: two voices, like a product mark.
QFont japaneseFont() {
    QFont font(QStringLiteral("IPAexGothic"));
    font.setPixelSize(56);
    font.setWeight(QFont::Black);
    return font;
}

QFont latinFont() {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(50);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    return font;
}

bool isLatin(QChar c) { return c.unicode() < 0x2E80; }

// The title as one outline, run by run in its face, its top-left corner at
// origin; the runs share one baseline.
QPainterPath titlePath(const QString& title, QPointF origin) {
    const QFont fonts[2] = {japaneseFont(), latinFont()};
    const qreal ascent = std::max(QFontMetricsF(fonts[0]).ascent(), QFontMetricsF(fonts[1]).ascent());
    QPainterPath path;
    qreal x = origin.x();
    for (qsizetype i = 0; i < title.size();) {
        const bool latin = isLatin(title[i]);
        qsizetype end = i;
        while (end < title.size() && isLatin(title[end]) == latin) ++end;
        const QString run = title.mid(i, end - i);
        const QFont& font = fonts[latin ? 1 : 0];
        // A little air between the two voices.
        if (i > 0) x += 3;
        path.addText(QPointF(x, origin.y() + ascent), font, run);
        x += QFontMetricsF(font).horizontalAdvance(run);
        i = end;
    }
    return path;
}

QImage whitePicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

}  // namespace

LogoPictures DrawLogo(QSize size, const QString& title) {
    const QPainterPath letters = titlePath(title, QPointF(60 / 15.0, 120 / 15.0));
    const QPainterPath shadow = titlePath(title, QPointF(72 / 15.0, 132 / 15.0));

    // The ink: deep indigo at the top to near-black navy at the foot.
    QLinearGradient ink(0, letters.boundingRect().top(), 0, letters.boundingRect().bottom());
    ink.setColorAt(0, QColor(44, 58, 148));
    ink.setColorAt(1, QColor(14, 20, 64));

    QImage inkPicture = whitePicture(size);
    QImage shadowPicture = whitePicture(size);
    {
        QPainter p(&inkPicture);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(letters, ink);
    }
    {
        QPainter p(&shadowPicture);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shadow, kShadowBlue);
    }

    LogoPictures pictures;
    pictures.logo = inkPicture;
    {
        QPainter p(&pictures.logo);
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.drawImage(0, 0, shadowPicture);
    }
    pictures.letterMask = QImage(size, QImage::Format_RGB32);
    pictures.letterMask.fill(Qt::black);
    {
        QPainter p(&pictures.letterMask);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(letters, Qt::white);
    }
    return pictures;
}

int ShineOffset(int counter) { return kShineStepPixels * std::clamp(counter, 0, kShineMovingTicks); }

QImage ShineInLetters(const QImage& shine, const QImage& letterMask, int offset) {
    QImage work(letterMask.size(), QImage::Format_RGB32);
    work.fill(Qt::black);
    QPainter p(&work);
    p.drawImage(0, -offset, shine);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.drawImage(0, 0, letterMask);
    return work;
}

QImage ComposeLogo(const QColor& background, const QImage& logo, const QImage& work) {
    QImage visible(logo.size(), QImage::Format_RGB32);
    visible.fill(background);
    QPainter p(&visible);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.drawImage(0, 0, logo);
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    p.drawImage(0, 0, work);
    return visible;
}

QImage LoadShinePicture() {
    QImage shine(QString::fromLatin1(resources::kVersionShine));
    if (!shine.isNull()) return shine.convertToFormat(QImage::Format_RGB32);
    QImage none(kLogoSize.width(), kLogoSize.height() + kShineStepPixels * kShineMovingTicks, QImage::Format_RGB32);
    none.fill(Qt::black);
    return none;
}

}  // namespace vakuro
