#include "program_state.h"

namespace vakuro {

ProgramState::ProgramState(const Libraries& libraries, QString settingsPath, QObject* parent)
    : QObject(parent), libraries_(libraries), settingsPath_(std::move(settingsPath)) {
    PavrexStyleDefaults(&style);
}

}  // namespace vakuro
