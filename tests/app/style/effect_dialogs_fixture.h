// What the tests of the special effects dialog and the per-character spacing
// editor share: a program state against fresh data and temporary folders, a
// stand-in main window that owns the dialogs, a count of the drawings asked
// for, and helpers that answer the modal windows the dialogs open.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"

namespace vakuro::testing {

class DialogFixture {
public:
    DialogFixture() {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
        // As the main window does at start-up.
        for (int i = 0; i < 20; ++i) state->style.CharWidth[i] = state->style.CharHeight[i] = 100;
        state->style.CharScaleSet = 1;
        QObject::connect(state.get(), &ProgramState::drawRequested, [this] { ++draws; });
        QObject::connect(state.get(), &ProgramState::refreshRequested, [this] { ++refreshes; });
        owner = std::make_unique<QWidget>();
        owner->setObjectName(QStringLiteral("Owner"));
        owner->resize(300, 200);
        owner->show();
    }

    ~DialogFixture() {
        owner.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The drawings asked for, once those due on the next turn of the event
    // loop have happened.
    int drawsSettled() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return draws;
    }

    void writeIni(const QByteArray& content) {
        QFile f(SettingsPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    Libraries libraries;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<QWidget> owner;
    int draws = 0;
    int refreshes = 0;
};

// The element of a control array: the child of that name whose "index"
// property is the index.
template <typename T>
T* element(const QWidget* parent, const QString& name, int index) {
    for (T* child : parent->findChildren<T*>(name)) {
        if (child->property("index").toInt() == index) return child;
    }
    return nullptr;
}

// Finds the first visible top-level window of type T.
template <typename T>
T* visibleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    }
    return nullptr;
}

// Runs handle on the next visible window of type T as soon as it shows
// (while the code under test waits in the window's own event loop).
template <typename T>
void whenWindowShows(std::function<void(T*)> handle) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle] {
        T* window = visibleWindow<T>();
        if (!window) return;
        poll->stop();
        poll->deleteLater();
        handle(window);
    });
    poll->start();
}

// What a confirmation showed.
struct SeenMessage {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers the next message box with the given button and records it.
inline void answerNextMessage(QMessageBox::StandardButton answer, SeenMessage* seen) {
    whenWindowShows<QMessageBox>([answer, seen](QMessageBox* box) {
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        box->button(answer)->click();
    });
}

// A press of the right mouse button on the widget.
inline void rightPress(QWidget* w) {
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, local, w->mapToGlobal(local), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

// A press of the left mouse button on the widget.
inline void leftPress(QWidget* w) {
    const QPointF local(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, local, w->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

// Clicks a menu item of the open pop-up menu as the user does.
inline void chooseMenuItem(QMenu* menu, QAction* action) {
    QVERIFY(menu->isVisible());
    QVERIFY(action->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

}  // namespace vakuro::testing
