// The notification-area icon, the show command, and the clipboard: the word
// copied elsewhere is looked up, and copying it twice quickly pops the
// window up.
#include <windows.h>

#include <cstring>

#include "lookup/lookup.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/clipboard_word.h"
#include "ui/modal_guard_win32.h"
#include "ui/tray_clipboard_win32.h"
#include "ui/windows_win32.h"

HWND NextClipboardViewer = nullptr;
UINT TaskbarCreatedMessage = 0;

// The icon is in the notification area now: it follows what the shell
// accepted, not what was asked for.
static int TrayIconShown = 0;
static char LastClipboardWord[kClipboardWordLimit + 1] = "";
static DWORD LastClipboardChangeTime = 0;
static DWORD PreviousDrawClipboardTime = 0;
static int ClipboardRetryCount = 0;
static const int ClipboardRetryLimit = 5;
static const UINT kRetryPeriod = 300;
static const DWORD kDebounce = 50;
static const DWORD kDoubleCopyWindow = 250;

void ShowTrayIcon(DWORD operation) {
    if (operation == NIM_ADD && TrayIconShown) return;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = MainWindow;
    icon.uID = TRAY_ICON_ID;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_TRAYNOTIFY;
    icon.hIcon = TrayIconHandle;
    std::strcpy(icon.szTip, "Dictionary");
    if (operation == NIM_DELETE) {
        TrayIconShown = 0;
        Shell_NotifyIconA(NIM_DELETE, &icon);
        return;
    }
    // A busy shell can time out on an icon it adds all the same; a refused
    // one (no task bar yet) comes with the task bar's announcement.
    TrayIconShown = Shell_NotifyIconA(NIM_ADD, &icon) || Shell_NotifyIconA(NIM_MODIFY, &icon);
}

void ListenForTaskbarCreated() { TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated"); }

void OnTaskbarCreated() {
    TrayIconShown = 0;
    if (Settings.traymin) ShowTrayIcon(NIM_ADD);
}

void ShowMainWindow() {
    ShowWindow(MainWindow, SW_SHOW);
    SetForegroundWindow(MainWindow);
    SetFocus(GetDlgItem(MainWindow, IDC_WORD));
}

// Shows the word and looks it up; the result of the look-up.
static int ShowClipboardWord(const char* word) {
    SetWordEditText(word);
    int result = LookupWord(1, -1);
    SetWordEditSelection(0, 256);
    if (result != kResultOk) SetDescriptionEditText("");
    return result;
}

// The word at the start of the clipboard's text block. Another program's
// text need not end in a terminator: the block's size bounds the reading.
static ClipboardWord TakeWordFromBlock(HANDLE data) {
    ClipboardWord taken{};
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        taken = TakeClipboardWord(text, GlobalSize(data));
        GlobalUnlock(data);
    }
    return taken;
}

void PasteFromClipboard() {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(MainWindow)) return;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        ClipboardWord taken = TakeWordFromBlock(data);
        if (taken.word[0]) ShowClipboardWord(taken.word);
    }
    CloseClipboard();
}

// Looks the clipboard word up, subject to the double-copy rule; 1 when it
// was found and stood alone in the clipboard.
static int LookupClipboard(int notification) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(MainWindow)) return 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        // The owner could not render it yet: try again shortly.
        SetTimer(MainWindow, CLIPBOARD_TIMER_ID, kRetryPeriod, nullptr);
        ClipboardRetryCount = ClipboardRetryLimit;
        CloseClipboard();
        return 0;
    }
    ClipboardWord taken = TakeWordFromBlock(data);
    CloseClipboard();

    if (!taken.word[0]) {
        LastClipboardWord[0] = '\0';
        return 0;
    }
    if (Settings.dblpopup) {
        if (std::strcmp(taken.word, LastClipboardWord) != 0) {
            std::strcpy(LastClipboardWord, taken.word);
            return 0;
        }
        if (notification && GetTickCount() - LastClipboardChangeTime > kDoubleCopyWindow) return 0;
    }
    // Not under a modal window, whose command may be using the word edit.
    if (BringModalWindowToFront()) return 0;
    int result = ShowClipboardWord(taken.word);
    std::strcpy(LastClipboardWord, taken.word);
    return result == kResultOk && ClipboardWordStoodAlone(taken) ? 1 : 0;
}

INT_PTR OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
    DWORD now = GetTickCount();
    if (now - PreviousDrawClipboardTime > kDebounce) {
        if (IsClipboardFormatAvailable(CF_TEXT) && Settings.dblpopup && LookupClipboard(1)) ShowMainWindow();
        LastClipboardChangeTime = GetTickCount();
    }
    PreviousDrawClipboardTime = now;
    if (NextClipboardViewer) SendMessageA(NextClipboardViewer, WM_DRAWCLIPBOARD, wParam, lParam);
    return 1;
}

INT_PTR OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == NextClipboardViewer)
        NextClipboardViewer = reinterpret_cast<HWND>(lParam);
    else if (NextClipboardViewer)
        SendMessageA(NextClipboardViewer, WM_CHANGECBCHAIN, wParam, lParam);
    return 1;
}

INT_PTR OnClipboardTimer() {
    if (LookupClipboard(0)) {
        ShowMainWindow();
        ClipboardRetryCount = 0;
        KillTimer(MainWindow, CLIPBOARD_TIMER_ID);
    } else if (ClipboardRetryCount > 0 && --ClipboardRetryCount == 0) {
        KillTimer(MainWindow, CLIPBOARD_TIMER_ID);
    }
    return 1;
}

void ShowCommand() {
    if (Settings.monitor) {
        LookupClipboard(0);
        PasteFromClipboard();
    }
    ShowMainWindow();
}

INT_PTR OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        SendMessageA(MainWindow, WM_COMMAND, IDM_SHOW, 0);
    } else if (mouseMessage == WM_RBUTTONUP) {
        // Under a modal window the menu's Close would quit beneath it.
        if (BringModalWindowToFront()) return 0;
        HMENU menu = LoadMenuA(ProgramInstance, MAKEINTRESOURCEA(IDM_TRAYMENU));
        if (!menu) return 0;
        HMENU popup = GetSubMenu(menu, 0);
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor;
        GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(MainWindow);
        int chosen = static_cast<int>(
            TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, MainWindow, nullptr));
        PostMessageA(MainWindow, WM_NULL, 0, 0);
        DestroyMenu(menu);
        if (chosen) SendMessageA(MainWindow, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
    }
    return 0;
}
