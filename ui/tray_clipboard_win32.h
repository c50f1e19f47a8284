// The notification area, the show command, and the clipboard: the word
// copied elsewhere is looked up, and copying it twice quickly pops the
// window up.
#pragma once

#include <windows.h>

// Registers for the message the shell broadcasts when it has made a new
// task bar (after Explorer restarts).
void ListenForTaskbarCreated();
// A new task bar holds none of the old icons: puts the program's back.
void OnTaskbarCreated();
void ShowMainWindow();
// The command that brings the window up (tray, hot key, another copy):
// the clipboard word first, when the settings say so.
void ShowCommand();
// Looks up the word at the start of the clipboard's text.
void PasteFromClipboard();
INT_PTR OnTrayNotify(LPARAM mouseMessage);
INT_PTR OnDrawClipboard(WPARAM wParam, LPARAM lParam);
INT_PTR OnChangeClipboardChain(WPARAM wParam, LPARAM lParam);
INT_PTR OnClipboardTimer();
