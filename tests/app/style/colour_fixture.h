// Shared set-up of the colour dialog tests: a program state against a fresh
// data folder and temporary folder with the libraries bound from the build's
// program folder, and helpers that reach control arrays and answer the modal
// dialogs the controls open.
#pragma once

#include <memory>

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"

namespace vakuro::testing {

class ColourFixture {
public:
    ColourFixture() {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 10));
        QString error;
        bound = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error);
        if (!bound) qWarning("%s", qPrintable(error));
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
    }

    void writeIni(const QByteArray& content) {
        QFile f(SettingsPath());
        if (f.open(QIODevice::WriteOnly)) f.write(content);
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    Libraries libraries;
    bool bound = false;
    std::unique_ptr<ProgramState> state;
};

// Element index of the control array name inside w.
template <class T>
T* element(const QWidget* w, const char* name, int index) {
    const auto all = w->findChildren<T*>(QLatin1String(name));
    for (T* child : all)
        if (child->property("index").toInt() == index) return child;
    return nullptr;
}

// Once a visible window of type T shows up (a modal dialog opened by the code
// under test), runs action on it.
template <class T, class Action>
void whenShown(Action action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows) {
            if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(dialog);
                return;
            }
        }
    });
    timer->start();
}

// Answers the next colour chooser with a colour, or cancels it.
inline void chooseColourInDialog(const QColor& colour) {
    whenShown<QColorDialog>([colour](QColorDialog* d) {
        d->setCurrentColor(colour);
        d->accept();
    });
}
inline void cancelColourDialog() {
    whenShown<QColorDialog>([](QColorDialog* d) { d->reject(); });
}

}  // namespace vakuro::testing
