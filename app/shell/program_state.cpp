#include "program_state.h"

#include <QTimer>

namespace vakuro {

ProgramState::ProgramState(const Libraries& libraries, QString settingsPath, QObject* parent)
    : QObject(parent), libraries_(libraries), settingsPath_(std::move(settingsPath)) {
    PavrexStyleDefaults(&style);
}

void ProgramState::drawSoon() {
    if (drawPending_) return;
    drawPending_ = true;
    QTimer::singleShot(0, this, [this] {
        drawPending_ = false;
        emit drawRequested();
    });
}

}  // namespace vakuro
