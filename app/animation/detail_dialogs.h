// The detail dialogs of the effect entries: the common dialog
// "アニメーション詳細設定" (kinds 5 to 18) and the free-move dialog
// "ｱﾆﾒｰｼｮﾝ詳細設定" (kind 19). Both edit a copy of the entry and write it
// back on OK only.
#pragma once

#include "schedule.h"

class QWidget;

namespace vakuro {

class ProgramState;

// Opens the detail dialog of the entry's kind modally. True when OK wrote
// the dialog's values into entry; false after cancel, and for kinds without
// a detail dialog (1 to 4 and unknown kinds), which open nothing.
bool editEntryDetails(ProgramState& state, QWidget* owner, ScheduleEntry& entry);

// The common detail dialog "アニメーション詳細設定" of kinds 5 to 18
// (animation_detail_dialog.cpp).
bool showCommonDetailDialog(ProgramState& state, QWidget* owner, ScheduleEntry& entry);
// The free-move dialog (free_move_dialog.h) for kind 19.
bool showFreeMoveDialog(ProgramState& state, QWidget* owner, ScheduleEntry& entry);

}  // namespace vakuro
