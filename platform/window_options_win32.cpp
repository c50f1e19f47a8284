#include "platform/window_options_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "platform/dpi_scale.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

void ShowTrayIcon(bool shown) {
    if (shown && WindowState.trayIconShown) return;
    NOTIFYICONDATAW icon = {};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = WindowState.mainWindow;
    icon.uID = TRAY_ICON_ID;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_TRAYNOTIFY;
    icon.hIcon = WindowState.trayIcon;
    std::wcscpy(icon.szTip, L"Dictionary");
    if (!shown) {
        WindowState.trayIconShown = false;
        Shell_NotifyIconW(NIM_DELETE, &icon);
        return;
    }
    // A busy shell can time out on an icon it adds all the same; a refused
    // one (no task bar yet) comes with the task bar's announcement.
    WindowState.trayIconShown = Shell_NotifyIconW(NIM_ADD, &icon) || Shell_NotifyIconW(NIM_MODIFY, &icon);
}

void SetToolbarFlat(bool flat) {
    HWND toolbar = WindowState.toolbar;
    LRESULT style = SendMessageW(toolbar, TB_GETSTYLE, 0, 0) & ~TBSTYLE_FLAT;
    if (flat) style |= TBSTYLE_FLAT;
    SendMessageW(toolbar, TB_SETSTYLE, 0, style);
    SetWindowPos(toolbar, nullptr, 0, ScaleToDpi(2, static_cast<int>(WindowState.dpi)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(toolbar, nullptr, TRUE);
}

void SetMainWindowTopmost(bool topmost) {
    SetWindowPos(WindowState.mainWindow, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A second registration under the same id would leave the old key
// combination working beside the new one.
void RegisterShowHotKey(unsigned modifiers, unsigned key) {
    UnregisterShowHotKey();
    RegisterHotKey(WindowState.mainWindow, HOTKEY_ID, modifiers, key);
}

void UnregisterShowHotKey() { UnregisterHotKey(WindowState.mainWindow, HOTKEY_ID); }
