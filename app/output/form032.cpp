#include "form032.h"

#include <QMessageBox>

#include "program_state.h"
#include "warp.h"

namespace vakuro {

void showForm032(ProgramState& state, QWidget* owner) {
    // Minimal first version: shows the stored settings.
    const WarpSettings s = loadWarpSettings(state.settingsPath());
    QMessageBox::information(owner, QString(), QStringLiteral("%1 %2 %3 %4").arg(s.type).arg(s.p1).arg(s.p2).arg(s.p3));
}

}  // namespace vakuro
