// The program entry, the start sequence, the single-instance rule and Quit.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "res/resource.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "ui/main_window_win32.h"
#include "ui/placement.h"
#include "ui/tray_clipboard_win32.h"
#include "ui/windows_win32.h"

HINSTANCE ProgramInstance = nullptr;
HWND MainWindow = nullptr;
HWND Toolbar = nullptr;
HWND OtherInstanceWindow = nullptr;
HICON WindowIcon = nullptr;
HICON TrayIconHandle = nullptr;

static const char kRegistryKey[] = "software\\Tamrin\\Dictionary";

static const TBBUTTON kToolbarButtons[] = {
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {0, IDM_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {1, IDM_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {9, IDM_INFO, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {10, IDM_PREVWORD, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {12, IDM_NEXT20, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {11, IDM_NEXTWORD, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {3, IDM_SIM, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {2, IDM_ALLDICT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {13, IDM_HISTBACK, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {15, IDM_HISTMENU, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {14, IDM_HISTFORWARD, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {4, IDM_ADD, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {5, IDM_DEL, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {6, IDM_SETTINGS, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {7, IDM_HIDE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {8, IDM_QUIT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};
static_assert(sizeof kToolbarButtons / sizeof kToolbarButtons[0] == 24, "24 toolbar entries");

static const DWORD kToolbarStyle = WS_CHILD | CCS_TOP | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;

// Makes the program folder the current directory, so every dictionary path
// is relative to it, and records it for other programs.
static void EnterProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\')) *slash = '\0';
    SetCurrentDirectoryA(path);

    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, const_cast<char*>("Dictionary"), 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(std::strlen(path) + 1));
        RegCloseKey(key);
    }
}

static BOOL CALLBACK OfferToInstance(HWND window, LPARAM) {
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == INSTANCE_MARK && window != MainWindow) {
        SendMessageA(window, WM_COMMAND, IDM_SHOW, 0);
        OtherInstanceWindow = window;
        return FALSE;
    }
    return TRUE;
}

bool FindRunningInstance() {
    OtherInstanceWindow = nullptr;
    EnumWindows(OfferToInstance, 0);
    return OtherInstanceWindow != nullptr;
}

static void CreateToolbar() {
    DWORD style = kToolbarStyle | (Settings.flat ? TBSTYLE_FLAT : 0);
    Toolbar = CreateToolbarEx(MainWindow, style, IDC_TOOLBAR, 17, ProgramInstance, IDB_TOOLBAR, kToolbarButtons,
                              24, 16, 16, 16, 16, sizeof(TBBUTTON));
    EnableWindow(Toolbar, TRUE);
    SetWindowPos(Toolbar, HWND_TOP, 0, 2, 0, 0, SWP_NOSIZE);
    ShowWindow(Toolbar, SW_SHOW);
}

// A stored position on a monitor that has gone since would leave the window
// out of sight: it comes onto the nearest monitor's work area instead.
static void KeepOnScreen() {
    RECT window;
    if (!GetWindowRect(MainWindow, &window)) return;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    ScreenRect placed = PlaceOnWorkArea({window.left, window.top, window.right, window.bottom},
                                        {work.left, work.top, work.right, work.bottom});
    if (placed.left != window.left || placed.top != window.top)
        SetWindowPos(MainWindow, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int InitializeMainWindow() {
    if (!LoadSettings()) {
        ShowWindow(MainWindow, SW_SHOW);  // first run: defaults, centred, no instance rule
    } else {
        if (!Settings.multinst && FindRunningInstance()) {
            Quit();
            return 1;
        }
        if (Settings.ontop) SetWindowPos(MainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(MainWindow, HWND_TOP, Settings.pos.x, Settings.pos.y, 0, 0, SWP_NOSIZE);
        if (Settings.size.cx > 100 && Settings.size.cy > 100)
            SetWindowPos(MainWindow, HWND_TOP, 0, 0, Settings.size.cx, Settings.size.cy, SWP_NOMOVE);
        KeepOnScreen();
        ShowWindow(MainWindow, Settings.startmin ? SW_HIDE : SW_SHOW);
    }
    CreateToolbar();
    KeepToolbarInReach();
    SetWindowPos(GetDlgItem(MainWindow, IDC_SEPARATOR), nullptr, 0, 29, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (Settings.traymin) ShowTrayIcon(NIM_ADD);
    ListDictionaries();
    OpenDictionary(Settings.startdict);
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
    FreeLetterBuffer();
    LetterBuffer.Letter = 0;
    ChangeClipboardChain(MainWindow, NextClipboardViewer);
    UnregisterHotKey(MainWindow, HOTKEY_ID);
    // While the window exists: the shell finds an icon by its window.
    ShowTrayIcon(NIM_DELETE);
    DestroyWindow(MainWindow);  // its WM_DESTROY ends the message loop
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ProgramInstance = instance;
    WindowIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    TrayIconHandle = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    EnterProgramFolder();
    InitCommonControls();
    ApplyDictionaryFontsHook = ApplyDictionaryFonts;
    ListenForTaskbarCreated();

    CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    // A copy that handed over to a running one has quit already.
    if (IsWindow(MainWindow)) {
        SetClassLongPtrA(MainWindow, GCLP_HICON,
                         reinterpret_cast<LONG_PTR>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN))));
        // The caption and the task bar take the small icon; without it they
        // show the system's default.
        SendMessageA(MainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(TrayIconHandle));
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(MainWindow, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    DestroyIcon(WindowIcon);
    DestroyIcon(TrayIconHandle);
    if (OtherInstanceWindow) {
        ShowWindow(OtherInstanceWindow, SW_SHOW);
        SetForegroundWindow(OtherInstanceWindow);
        SetFocus(OtherInstanceWindow);
    }
    return 0;
}
