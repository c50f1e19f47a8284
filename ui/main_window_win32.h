// The main window: a dialog made from template 101 whose procedure
// dispatches every message and command.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
