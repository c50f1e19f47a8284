#include "ui/modal_guard_win32.h"

#include <windows.h>

#include <cstring>

#include "platform/window_state_win32.h"

// Each modal window disables its owner, so of the program's dialogs only the
// innermost one is enabled (the main window is a dialog too, but disabled).
static BOOL CALLBACK FindEnabledDialog(HWND window, LPARAM found) {
    char className[16] = "";
    if (window == WindowState.mainWindow || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    if (!GetClassNameA(window, className, sizeof className) || std::strcmp(className, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

bool BringModalWindowToFront() {
    if (!WindowState.mainWindow || IsWindowEnabled(WindowState.mainWindow)) return false;
    // A minimized owner hides its dialogs with it.
    if (IsIconic(WindowState.mainWindow)) ShowWindow(WindowState.mainWindow, SW_RESTORE);
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEnabledDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog) SetForegroundWindow(dialog);
    return true;
}
