#include "window_position.h"

#include "settings_store.h"
#include "shared_routines.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace vakuro {
namespace {

const QString kSection = QStringLiteral("Window");

QString topKey(const QString& number) { return QStringLiteral("F%1_TOP").arg(number); }
QString leftKey(const QString& number) { return QStringLiteral("F%1_Left").arg(number); }
QString leftKeyWritten(const QString& number) { return QStringLiteral("F%1_LEFT").arg(number); }

// A key's number, or nothing when the key is missing.
std::optional<int> readTwips(const QString& iniPath, const QString& key) {
    const auto value = IniReadValue(iniPath, kSection, key);
    if (!value) return std::nullopt;
    return ParseInt(*value);
}

}  // namespace

int TwipsToPixels(int twips) { return RoundHalfEven(static_cast<double>(twips) / kTwipsPerPixel); }

int PixelsToTwips(int pixels) {
    const long long twips = static_cast<long long>(pixels) * kTwipsPerPixel;
    return static_cast<int>(std::clamp<long long>(twips, INT_MIN, INT_MAX));
}

QPoint RestoredWindowPosition(const QRect& screen, const QSize& frameSize, std::optional<int> topTwips,
                              std::optional<int> leftTwips, bool keepOnScreen) {
    int top = topTwips ? TwipsToPixels(*topTwips)
                       : screen.top() + RoundHalfEven((screen.height() - frameSize.height()) / 2.0);
    int left = leftTwips ? TwipsToPixels(*leftTwips)
                         : screen.left() + RoundHalfEven((screen.width() - frameSize.width()) / 2.0);
    if (keepOnScreen) {
        if (top + frameSize.height() > screen.top() + screen.height())
            top = screen.top() + screen.height() - frameSize.height();
        if (left + frameSize.width() > screen.left() + screen.width())
            left = screen.left() + screen.width() - frameSize.width();
    }
    return {left, top};
}

void RestoreWindowPosition(QWidget* w, const QString& iniPath, const QString& number, bool keepOnScreen) {
    if (!w) return;
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 0, 0);
    w->move(RestoredWindowPosition(screenRect, w->frameGeometry().size(), readTwips(iniPath, topKey(number)),
                                   readTwips(iniPath, leftKey(number)), keepOnScreen));
}

void StoreWindowPosition(const QWidget* w, const QString& iniPath, const QString& number) {
    if (!w) return;
    const QPoint position = w->pos();
    IniWriteInt(iniPath, kSection, topKey(number), PixelsToTwips(std::max(0, position.y())));
    IniWriteInt(iniPath, kSection, leftKeyWritten(number), PixelsToTwips(std::max(0, position.x())));
}

}  // namespace vakuro
