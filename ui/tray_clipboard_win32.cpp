#include "ui/tray_clipboard_win32.h"

#include <cstring>

#include "platform/window.h"
#include "platform/window_options_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "ui/clipboard_word.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/modal_guard_win32.h"
#include "ui/program_state.h"
#include "ui/suggestions.h"

// What the clipboard watch remembers between changes.
static struct {
    char lastWord[kClipboardWordLimit + 1];
    DWORD lastChangeTime;
    DWORD previousDrawTime;
    int retriesLeft;
} Clipboard;

static const int kClipboardRetryLimit = 5;
static const UINT kRetryPeriod = 300;
static const DWORD kDebounce = 50;
static const DWORD kDoubleCopyWindow = 250;

void ListenForTaskbarCreated() { WindowState.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated"); }

void OnTaskbarCreated() {
    WindowState.trayIconShown = false;
    if (Settings.minimizeToTray) ShowTrayIcon(true);
}

void ShowMainWindow() {
    ShowWindow(WindowState.mainWindow, SW_SHOW);
    SetForegroundWindow(WindowState.mainWindow);
    SetFocus(GetDlgItem(WindowState.mainWindow, IDC_WORD));
}

// Shows the word and looks it up; the result of the look-up.
static LookupResult ShowClipboardWord(const char* word) {
    SetWordEditText(word);
    const LookupResult result = LookupWord(MissedDescription::Clear, PluralRetry::On);
    SetWordEditSelection(0, kEndOfText);
    if (result != LookupResult::Ok) SetDescriptionEditText("");
    return result;
}

// The word at the start of the clipboard's text block. Another program's
// text need not end in a terminator: the block's size bounds the reading.
static ClipboardWord TakeWordFromBlock(HANDLE data) {
    ClipboardWord taken{};
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        taken = TakeClipboardWord(text, GlobalSize(data), CurrentDictionary.Rule());
        GlobalUnlock(data);
    }
    return taken;
}

void PasteFromClipboard() {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(WindowState.mainWindow)) return;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        ClipboardWord taken = TakeWordFromBlock(data);
        if (taken.word[0]) ShowClipboardWord(taken.word);
    }
    CloseClipboard();
}

// Looks the clipboard word up, subject to the double-copy rule; 1 when it
// was found and stood alone in the clipboard.
static int LookupClipboard(int notification) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(WindowState.mainWindow)) return 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        // The owner could not render it yet: try again shortly.
        SetTimer(WindowState.mainWindow, CLIPBOARD_TIMER_ID, kRetryPeriod, nullptr);
        Clipboard.retriesLeft = kClipboardRetryLimit;
        CloseClipboard();
        return 0;
    }
    ClipboardWord taken = TakeWordFromBlock(data);
    CloseClipboard();

    if (!taken.word[0]) {
        Clipboard.lastWord[0] = '\0';
        return 0;
    }
    if (Settings.popUpOnDoubleCopy) {
        if (std::strcmp(taken.word, Clipboard.lastWord) != 0) {
            std::strcpy(Clipboard.lastWord, taken.word);
            return 0;
        }
        if (notification && GetTickCount() - Clipboard.lastChangeTime > kDoubleCopyWindow) return 0;
    }
    // Not under a modal window, whose command may be using the word edit.
    if (BringModalWindowToFront()) return 0;
    const LookupResult result = ShowClipboardWord(taken.word);
    std::strcpy(Clipboard.lastWord, taken.word);
    if (!ClipboardWordStoodAlone(taken)) return 0;
    // A word not found pops up too when it has a suggestion to show.
    return result == LookupResult::Ok || ShowDidYouMean(taken.word) ? 1 : 0;
}

INT_PTR OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
    DWORD now = GetTickCount();
    if (now - Clipboard.previousDrawTime > kDebounce) {
        if (IsClipboardFormatAvailable(CF_TEXT) && Settings.popUpOnDoubleCopy && LookupClipboard(1)) ShowMainWindow();
        Clipboard.lastChangeTime = GetTickCount();
    }
    Clipboard.previousDrawTime = now;
    HWND next = WindowState.nextClipboardViewer;
    if (next) SendMessageA(next, WM_DRAWCLIPBOARD, wParam, lParam);
    return 1;
}

INT_PTR OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
    HWND& next = WindowState.nextClipboardViewer;
    if (reinterpret_cast<HWND>(wParam) == next)
        next = reinterpret_cast<HWND>(lParam);
    else if (next)
        SendMessageA(next, WM_CHANGECBCHAIN, wParam, lParam);
    return 1;
}

INT_PTR OnClipboardTimer() {
    if (LookupClipboard(0)) {
        ShowMainWindow();
        Clipboard.retriesLeft = 0;
        KillTimer(WindowState.mainWindow, CLIPBOARD_TIMER_ID);
    } else if (Clipboard.retriesLeft > 0 && --Clipboard.retriesLeft == 0) {
        KillTimer(WindowState.mainWindow, CLIPBOARD_TIMER_ID);
    }
    return 1;
}

void ShowCommand() {
    if (Settings.lookUpClipboardOnShow) {
        LookupClipboard(0);
        PasteFromClipboard();
    }
    ShowMainWindow();
}

INT_PTR OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        SendMessageA(WindowState.mainWindow, WM_COMMAND, IDM_SHOW, 0);
    } else if (mouseMessage == WM_RBUTTONUP) {
        // Under a modal window the menu's Close would quit beneath it.
        if (BringModalWindowToFront()) return 0;
        HMENU menu = LoadMenuA(WindowState.instance, MAKEINTRESOURCEA(IDM_TRAYMENU));
        if (!menu) return 0;
        HMENU popup = GetSubMenu(menu, 0);
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor;
        GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user
        // clicks elsewhere.
        HWND window = WindowState.mainWindow;
        SetForegroundWindow(window);
        int chosen = static_cast<int>(
            TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, window, nullptr));
        PostMessageA(window, WM_NULL, 0, 0);
        DestroyMenu(menu);
        if (chosen) SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
    }
    return 0;
}
