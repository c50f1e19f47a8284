#include "ui/tray_clipboard_win32.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/wide_text_win32.h"
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

void ListenForTaskbarCreated() { WindowState.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated"); }

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

// The code page of the clipboard's code page text: that of the locale the
// program that left it named, else the system's.
static UINT ClipboardCodePage() {
    UINT codePage = CP_ACP;
    if (HANDLE locale = GetClipboardData(CF_LOCALE)) {
        if (const LCID* id = static_cast<const LCID*>(GlobalLock(locale))) {
            DWORD page = 0;
            if (GetLocaleInfoW(*id, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&page),
                               sizeof page / sizeof(wchar_t)) &&
                page)
                codePage = page;
            GlobalUnlock(locale);
        }
    }
    return codePage;
}

// The text of a clipboard block up to its first terminator. Another
// program's block need not hold one: the block's size bounds the reading.
template <typename Unit>
static std::basic_string<Unit> BlockText(HANDLE data) {
    std::basic_string<Unit> text;
    if (const Unit* units = static_cast<const Unit*>(GlobalLock(data))) {
        const Unit* end = units + GlobalSize(data) / sizeof(Unit);
        text.assign(units, std::find(units, end, Unit(0)));
        GlobalUnlock(data);
    }
    return text;
}

// The clipboard's text as the program's bytes: the Unicode text every
// program offers, or, where a program left only code page text, that read
// in its own code page.
static std::string ClipboardText(UINT format, HANDLE data) {
    if (format == CF_UNICODETEXT) {
        // Only the word at the start is taken: the rest is not converted.
        std::wstring text = BlockText<wchar_t>(data);
        size_t start = text.find_first_not_of(L' ');
        if (start != std::wstring::npos && text.size() > start + kClipboardWordLimit + 2)
            text.resize(start + kClipboardWordLimit + 2);
        return Cp1251Text(text);
    }
    std::string bytes = BlockText<char>(data);
    if (bytes.empty()) return bytes;
    UINT codePage = ClipboardCodePage();
    int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)), L'\0');
    if (!text.empty()) MultiByteToWideChar(codePage, 0, bytes.data(), size, &text[0], static_cast<int>(text.size()));
    return Cp1251Text(text);
}

// The clipboard's text format to read, 0 when it holds no text.
static UINT ClipboardTextFormat() {
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) return CF_UNICODETEXT;
    return IsClipboardFormatAvailable(CF_TEXT) ? CF_TEXT : 0;
}

static ClipboardWord TakeWordFromBlock(UINT format, HANDLE data) {
    std::string text = ClipboardText(format, data);
    return TakeClipboardWord(text.c_str(), text.size(), CurrentDictionary.Rule());
}

void PasteFromClipboard() {
    UINT format = ClipboardTextFormat();
    if (!format || !OpenClipboard(WindowState.mainWindow)) return;
    if (HANDLE data = GetClipboardData(format)) {
        ClipboardWord taken = TakeWordFromBlock(format, data);
        if (taken.word[0]) ShowClipboardWord(taken.word);
    }
    CloseClipboard();
}

// Looks the clipboard word up, subject to the double-copy rule; 1 when it
// was found and stood alone in the clipboard.
static int LookupClipboard(int notification) {
    UINT format = ClipboardTextFormat();
    if (!format || !OpenClipboard(WindowState.mainWindow)) return 0;
    HANDLE data = GetClipboardData(format);
    if (!data) {
        // The owner could not render it yet: try again shortly.
        SetTimer(WindowState.mainWindow, CLIPBOARD_TIMER_ID, kRetryPeriod, nullptr);
        Clipboard.retriesLeft = kClipboardRetryLimit;
        CloseClipboard();
        return 0;
    }
    ClipboardWord taken = TakeWordFromBlock(format, data);
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
        if (ClipboardTextFormat() && Settings.popUpOnDoubleCopy && LookupClipboard(1)) ShowMainWindow();
        Clipboard.lastChangeTime = GetTickCount();
    }
    Clipboard.previousDrawTime = now;
    HWND next = WindowState.nextClipboardViewer;
    if (next) SendMessageW(next, WM_DRAWCLIPBOARD, wParam, lParam);
    return 1;
}

INT_PTR OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
    HWND& next = WindowState.nextClipboardViewer;
    if (reinterpret_cast<HWND>(wParam) == next)
        next = reinterpret_cast<HWND>(lParam);
    else if (next)
        SendMessageW(next, WM_CHANGECBCHAIN, wParam, lParam);
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
        SendMessageW(WindowState.mainWindow, WM_COMMAND, IDM_SHOW, 0);
    } else if (mouseMessage == WM_RBUTTONUP) {
        // Under a modal window the menu's Close would quit beneath it.
        if (BringModalWindowToFront()) return 0;
        HMENU menu = LoadMenuW(WindowState.instance, MAKEINTRESOURCEW(IDM_TRAYMENU));
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
        PostMessageW(window, WM_NULL, 0, 0);
        DestroyMenu(menu);
        if (chosen) SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
    }
    return 0;
}
