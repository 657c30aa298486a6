#include "detail_dialogs.h"

#include "effect_kinds.h"

namespace vakuro {

bool editEntryDetails(ProgramState& state, QWidget* owner, ScheduleEntry& entry) {
    const EffectKindInfo* info = effectKind(entry.kind());
    if (!info) return false;
    switch (info->detail) {
        case DetailDialogKind::Common: return showCommonDetailDialog(state, owner, entry);
        case DetailDialogKind::FreeMove: return showFreeMoveDialog(state, owner, entry);
        case DetailDialogKind::None: break;
    }
    return false;
}

}  // namespace vakuro
