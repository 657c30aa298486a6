#include "window_theme.h"

#include "button_painting.h"
#include "settings_store.h"
#include "shared_routines.h"
#include "window_position.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vakuro {
namespace {

const QString kPainterName = QStringLiteral("vakuroWindowThemePainter");
// Marks the windows that paint the theme, so that a new scheme reaches them.
const char* const kThemedProperty = "vakuroWindowTheme";

struct Offsets {
    int red, green, blue;
};

Offsets schemeOffsets(int scheme) {
    switch (scheme) {
    case 1: return {40, 0, 0};
    case 2: return {0, 40, 0};
    case 3: return {-20, 0, 40};
    case 4: return {35, 35, 0};
    case 5: return {0, -10, 40};
    default: return {0, 0, 0};
    }
}

QColor levelColour(int level, const Offsets& offsets) {
    return QColor(Clamp(level + offsets.red, 0, 255), Clamp(level + offsets.green, 0, 255),
                  Clamp(level + offsets.blue, 0, 255));
}

QColor platformButtonFace() {
    return QGuiApplication::instance() ? QGuiApplication::palette().color(QPalette::Active, QPalette::Button)
                                       : QColor(240, 240, 240);
}

// Black or white, whichever stands out more against the colour (contrast
// of relative luminances), for the texts drawn on a theme's background: the
// dark levels of the schemes take white text.
double relativeLuminance(const QColor& colour) {
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

QColor readableTextColour(const QColor& background) {
    const double l = relativeLuminance(background);
    return 1.05 / (l + 0.05) > (l + 0.05) / 0.05 ? QColor(Qt::white) : QColor(Qt::black);
}

// The window text colours of a theme: the readable colour, greyed towards
// the background when disabled; the platform's own without a theme.
void setThemeTextColours(QPalette& palette, const ThemeColours& colours) {
    if (!colours.bands) {
        const QPalette platform = QGuiApplication::palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::WindowText, platform.color(group, QPalette::WindowText));
        return;
    }
    const QColor text = readableTextColour(colours.base);
    const QColor greyed((text.red() + colours.base.red()) / 2, (text.green() + colours.base.green()) / 2,
                        (text.blue() + colours.base.blue()) / 2);
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, greyed);
}

// The top of the area the window draws on: below the menu bar of a main
// window, as the menu bar lies outside the drawing area on other platforms.
int drawingTop(const QWidget* window) {
    const auto* main = qobject_cast<const QMainWindow*>(window);
    const QWidget* menu = main ? main->menuWidget() : nullptr;
    return menu && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
}

// A main window's menu bar keeps the platform's colours over any theme, as a
// menu bar outside the drawing area does on other platforms.
void keepPlatformMenuBar(QWidget* window) {
    const auto* main = qobject_cast<const QMainWindow*>(window);
    QWidget* menu = main ? main->menuWidget() : nullptr;
    if (!menu) return;
    const QPalette platform = QGuiApplication::palette();
    QPalette palette = menu->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, platform.color(group, QPalette::Window));
        palette.setColor(group, QPalette::WindowText, platform.color(group, QPalette::WindowText));
    }
    menu->setPalette(palette);
    menu->setAutoFillBackground(true);
}

// Paints the bands in the window's paint events, before the window's own
// painting and its children, so that they survive every repaint.
class BandPainter : public QObject {
public:
    BandPainter(QWidget* window, const ThemeColours& colours, bool mainWindow)
        : QObject(window), colours_(colours), mainWindow_(mainWindow) {
        setObjectName(kPainterName);
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            QPainter painter(window);
            const int width = window->width();
            const int top = drawingTop(window);
            const int bottomTop = ThemeBottomBandTop(window->frameGeometry().height(), mainWindow_) -
                                  (window->geometry().top() - window->frameGeometry().top());
            for (int j = 0; j < kThemeBandLines; ++j) {
                painter.fillRect(0, top + j, width, 1, colours_.top[static_cast<size_t>(j)]);
                painter.fillRect(0, bottomTop + j, width, 1, colours_.bottom[static_cast<size_t>(j)]);
            }
        }
        return false;
    }

private:
    ThemeColours colours_;
    bool mainWindow_;
};

}  // namespace

ThemeColours ComputeThemeColours(int backPaint, const QColor& buttonFace) {
    ThemeColours colours;
    const int value = std::max(0, backPaint);
    const int level = value % 256;
    Offsets offsets = schemeOffsets(value / 256);
    if (level + offsets.red < 0) offsets.red = 0;
    if (level == 0) {
        colours.base = buttonFace;
        return colours;
    }
    colours.base = levelColour(level, offsets);
    colours.bands = true;
    for (int j = 0; j < kThemeBandLines; ++j) {
        const int k = j * kTwipsPerPixel;
        colours.top[static_cast<size_t>(j)] = levelColour(level - RoundHalfEven((500 - k) / 15.0), offsets);
        colours.bottom[static_cast<size_t>(j)] = levelColour(level - RoundHalfEven(k / 15.0), offsets);
    }
    return colours;
}

QColor ThemeBaseColour(int backPaint) { return ComputeThemeColours(backPaint, platformButtonFace()).base; }

int ThemeBottomBandTop(int windowHeightPixels, bool mainWindow) {
    const int offsetTwips = mainWindow ? 890 + 300 : 890;
    return windowHeightPixels + RoundHalfEven(-offsetTwips / 15.0);
}

void ApplyWindowTheme(QWidget* window, int backPaint, bool mainWindow) {
    if (!window) return;
    const ThemeColours colours = ComputeThemeColours(backPaint, platformButtonFace());

    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colours.base);
    setThemeTextColours(palette, colours);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    keepPlatformMenuBar(window);

    delete window->findChild<QObject*>(kPainterName, Qt::FindDirectChildrenOnly);
    if (colours.bands) new BandPainter(window, colours, mainWindow);

    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->window() != window) continue;
        const QString name = child->objectName();
        if (name.startsWith(QLatin1String("Frame")) || name.startsWith(QLatin1String("Optio")) ||
            name.startsWith(QLatin1String("Check"))) {
            QPalette childPalette = child->palette();
            childPalette.setColor(QPalette::Window, colours.base);
            setThemeTextColours(childPalette, colours);
            child->setPalette(childPalette);
            // Check boxes and option buttons fill with their Button role by
            // default; they take the window's base colour like frames do.
            child->setBackgroundRole(QPalette::Window);
            child->setAutoFillBackground(true);
        } else if (name.startsWith(QLatin1String("Label"))) {
            const QVariant tag = child->property("tag");
            if (!tag.isValid() || tag.toString().isEmpty()) child->setAutoFillBackground(false);
        }
    }
    window->update();
}

namespace {
WindowButtonPainter& buttonPainter() {
    static WindowButtonPainter painter;
    return painter;
}
}  // namespace

void SetWindowButtonPainter(WindowButtonPainter painter) { buttonPainter() = std::move(painter); }

bool HasWindowTheme(const QWidget* window) { return window && window->property(kThemedProperty).toBool(); }

void PaintWindowBackground(QWidget* window, const QString& iniPath, bool mainWindow) {
    if (!window) return;
    ApplyWindowTheme(window, IniReadInt(iniPath, QStringLiteral("Setting"), QStringLiteral("BackPaint"), 0), mainWindow);
    window->setProperty(kThemedProperty, true);
    if (buttonPainter()) {
        buttonPainter()(window, iniPath);
    } else {
        PaintButtons(window, iniPath);
    }
}

void PaintWindowBackground(QWidget* window, const QString& iniPath) {
    if (!window) return;
    PaintWindowBackground(window, iniPath, window->objectName() == QLatin1String("Form100"));
}

}  // namespace vakuro
