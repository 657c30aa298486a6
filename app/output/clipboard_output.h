// The clipboard output command: renders the text at the clipboard scale and
// puts the picture on the clipboard, as a bitmap or as an enhanced metafile
// (offered beside the bitmap).
#pragma once

class QWidget;

namespace vakuro {

class ProgramState;

// The menu command "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ出力".
void clipboardOutputCommand(ProgramState& state, QWidget* owner);

}  // namespace vakuro
