// The one way the program writes the word edit, the change handler of the
// two edits and the toolbar rules that follow them (the edits' record is
// ui/edit_record.h). Portable: reaches the window only through platform/.
#pragma once

#include "ui/program_state.h"

// The one way the program writes the word edit. The change handler runs
// before this returns, as for the edit control's EN_CHANGE.
void SetWordEditText(const char* text);
// The change notification of either edit (EN_CHANGE), by control id.
void OnEditChange(int controlId);
// Delete pressed in the word edit: what it changes is not completed.
void OnWordEditDeleteKey();
void SetModified(int value);
void UpdateToolbarState();
