#include "ui/start_and_quit_win32.h"

#include <windows.h>

#include "platform/dpi_scale.h"
#include "platform/window_options_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "storage/letter_buffer.h"
#include "ui/dictionary_commands.h"
#include "ui/placement.h"
#include "ui/toolbar_win32.h"
#include "ui/tray_clipboard_win32.h"

static BOOL CALLBACK OfferToInstance(HWND window, LPARAM) {
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == INSTANCE_MARK && window != WindowState.mainWindow) {
        SendMessageA(window, WM_COMMAND, IDM_SHOW, 0);
        WindowState.otherInstance = window;
        return FALSE;
    }
    return TRUE;
}

static bool FindRunningInstance() {
    WindowState.otherInstance = nullptr;
    EnumWindows(OfferToInstance, 0);
    return WindowState.otherInstance != nullptr;
}

// A stored position on a monitor that has gone since would leave the window
// out of sight: it comes onto the nearest monitor's work area instead.
static void KeepOnScreen() {
    RECT window;
    if (!GetWindowRect(WindowState.mainWindow, &window)) return;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    ScreenRect placed = PlaceOnWorkArea({window.left, window.top, window.right, window.bottom},
                                        {work.left, work.top, work.right, work.bottom});
    if (placed.left != window.left || placed.top != window.top)
        SetWindowPos(WindowState.mainWindow, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int InitializeMainWindow() {
    if (!LoadSettings()) {
        ShowWindow(WindowState.mainWindow, SW_SHOW);  // first run: defaults, centred, no instance rule
    } else {
        if (!Settings.allowSeveralInstances && FindRunningInstance()) {
            Quit();
            return 1;
        }
        if (Settings.alwaysOnTop) SetWindowPos(WindowState.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(WindowState.mainWindow, HWND_TOP, Settings.windowPosition.x, Settings.windowPosition.y, 0, 0, SWP_NOSIZE);
        // The size is kept at 96 DPI; the window's DPI is that of the monitor
        // it was just moved to.
        int dpi = static_cast<int>(WindowState.dpi);
        if (Settings.windowSize.cx > 100 && Settings.windowSize.cy > 100)
            SetWindowPos(WindowState.mainWindow, HWND_TOP, 0, 0, ScaleToDpi(Settings.windowSize.cx, dpi),
                         ScaleToDpi(Settings.windowSize.cy, dpi), SWP_NOMOVE);
        KeepOnScreen();
        ShowWindow(WindowState.mainWindow, Settings.startMinimized ? SW_HIDE : SW_SHOW);
    }
    CreateToolbar();
    KeepToolbarInReach();
    if (Settings.minimizeToTray) ShowTrayIcon(true);
    ListDictionaries();
    TellUnlistedDictionaries();
    SelectDictionary(Settings.startDictionary);
    return 0;
}

// The one way out, for the Quit command, the tray's Close, Escape without
// the tray, closing the window and the end of the session alike: whatever
// way the program ends, the settings are saved and nothing is left behind
// in the clipboard chain, the hot keys or the notification area.
void Quit() {
    static bool quitting = false;
    if (quitting) return;
    quitting = true;
    SaveSettings();
    ForgetLetter(0);
    ChangeClipboardChain(WindowState.mainWindow, WindowState.nextClipboardViewer);
    UnregisterShowHotKey();
    // While the window exists: the shell finds an icon by its window.
    ShowTrayIcon(false);
    DestroyWindow(WindowState.mainWindow);  // its WM_DESTROY ends the message loop
}

