#include "title_screen.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "shared_routines.h"
#include "wave_player.h"

namespace vakuro {
namespace {

constexpr int kSlideWidthPixels = 1060;
constexpr int kStepTwips = 225;
constexpr int kStepMilliseconds = 60;

// The background picture; drawn here when the resource is missing.
QImage loadBack() {
    QImage back(QStringLiteral(":/title/back.png"));
    if (!back.isNull()) return back.convertToFormat(QImage::Format_RGB32);
    back = QImage(kSlideWidthPixels, 260, QImage::Format_RGB32);
    QPainter p(&back);
    QLinearGradient g(0, 0, back.width(), back.height());
    g.setColorAt(0, QColor(20, 40, 120));
    g.setColorAt(0.5, QColor(60, 150, 220));
    g.setColorAt(1, QColor(250, 200, 120));
    p.fillRect(back.rect(), g);
    return back;
}

}  // namespace

Title::Title(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("Title"));
    back_ = loadBack();
    const QSize size = back_.size();
    setFixedSize(size);
    // The frozen text picture: the name in dark ink on white, combined with
    // the background by a bitwise AND so the background shows through white.
    textPicture_ = QImage(size, QImage::Format_RGB32);
    textPicture_.fill(Qt::white);
    QPainter p(&textPicture_);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(size.height() / 4);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 20, 60));
    p.drawText(textPicture_.rect(), Qt::AlignCenter, QStringLiteral("ソモロツール"));
}

int Title::jingleFor(double r) {
    if (r <= 0.85) return 101;
    if (r <= 0.97) return 102;
    return 103;
}

QList<int> Title::slideSteps() {
    QList<int> steps;
    const int w = kSlideWidthPixels * 15;
    for (int x = 0; x <= qRound(0.85 * w); x += kStepTwips) steps << x;
    return steps;
}

void Title::run(double random) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move((s.width() - width()) / 2, static_cast<int>((s.height() - height()) * 0.38));
    }
    const PlayingWave jingle(QStringLiteral("qrc:/sounds/%1.wav").arg(jingleFor(random)));
    show();
    for (int x : slideSteps()) {
        QElapsedTimer step;
        step.start();
        offset_ = x / 15 - kSlideWidthPixels;
        repaint();
        while (step.elapsed() < kStepMilliseconds) Wait(5, 1);
    }
    close();
}

void Title::paintEvent(QPaintEvent*) {
    QImage frame(size(), QImage::Format_RGB32);
    frame.fill(Qt::white);
    {
        QPainter p(&frame);
        // The background slides in from the left over the white screen.
        p.drawImage(offset_, 0, back_);
    }
    // Bitwise AND of the text picture onto the frame.
    for (int y = 0; y < frame.height(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(frame.scanLine(y));
        const auto* text = reinterpret_cast<const QRgb*>(textPicture_.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x) dst[x] &= text[x];
    }
    QPainter(this).drawImage(0, 0, frame);
}

}  // namespace vakuro
