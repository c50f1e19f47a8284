// The program's windows and the other Win32 objects that live as long as
// it does, in one record: the handles every _win32 file shares.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct WindowStateRecord {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND toolbar = nullptr;
    // The all-dictionaries dialog while it is open: its list takes the word font.
    HWND allDictionariesDialog = nullptr;
    // The running copy this one handed over to at start; brought up at exit.
    HWND otherInstance = nullptr;
    // The next window of the clipboard-viewer chain.
    HWND nextClipboardViewer = nullptr;
    HICON trayIcon = nullptr;
    // The icon is in the notification area now: it follows what the shell
    // accepted, not what was asked for.
    bool trayIconShown = false;
    // The message the shell broadcasts when it has made a new task bar
    // (after Explorer restarts); 0 until registered.
    UINT taskbarCreatedMessage = 0;
    // The open dictionary's fonts: the word edit, the all-dictionaries list
    // and the Info dialog's samples draw with them.
    HFONT wordFont = nullptr;
    HFONT descriptionFont = nullptr;
    // The DPI the main window is drawn at: taken when it is made and from
    // every WM_DPICHANGED since.
    UINT dpi = 96;
    // The main window's controls' font at `dpi` once the window has moved
    // to another DPI; until then the dialog manager's font serves.
    HFONT dialogFont = nullptr;
    // The toolbar's pictures at `dpi`, enabled and greyed; the toolbar
    // draws with them but does not own them.
    HIMAGELIST toolbarPictures = nullptr;
    HIMAGELIST toolbarGreyedPictures = nullptr;
    // The caption's and the task switcher's icons at `dpi`.
    HICON smallIcon = nullptr;
    HICON bigIcon = nullptr;
    // Until the start has chosen the keyboard layout, the edits let a
    // request to change it through.
    bool keyboardLayoutPending = true;
    // A new-version check is on its way, and the About page that shows it
    // (null while the options sheet is closed).
    bool versionCheckRunning = false;
    HWND versionCheckPage = nullptr;
};
extern WindowStateRecord WindowState;
