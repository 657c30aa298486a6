#include "clipboard_output.h"

#include "program_state.h"

namespace vakuro {

void clipboardOutputCommand(ProgramState& state, QWidget* owner) {
    (void)state;
    (void)owner;
}

}  // namespace vakuro
