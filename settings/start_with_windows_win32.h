// "Start with Windows": the value "Dictionary" under the current user's Run
// key, which starts the program at logon, and the machine-wide value that
// earlier versions wrote instead.
#pragma once

#include <windows.h>

// The program starts with Windows for this user: the per-user value exists,
// or the machine-wide one names this program.
bool StartsWithWindows();
// Writes the per-user value (the program's path, quoted) or removes it,
// and removes a machine-wide value that names this program where the user
// may. When the system keeps starting the program against the choice, or
// will not start it, a message box owned by `owner` says so.
void SetStartWithWindows(HWND owner, bool on);
