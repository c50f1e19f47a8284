// The main window's dialog procedure: it dispatches; the work is done by the
// commands of ui/ and the dialogs of settings/.
#include "ui/main_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "platform/window.h"
#include "platform/window_options_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "settings/dictionary_dialogs_win32.h"
#include "settings/hotkey.h"
#include "settings/options_sheet_win32.h"
#include "settings/settings.h"
#include "settings/version_check_win32.h"
#include "storage/dictionary_state.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_keys_win32.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/find_command.h"
#include "ui/modal_guard_win32.h"
#include "ui/quit_request_win32.h"
#include "ui/search_commands.h"
#include "ui/start_and_quit_win32.h"
#include "ui/toolbar_win32.h"
#include "ui/tray_clipboard_win32.h"

// The least height the window may be given; its least width follows the
// toolbar (ui/toolbar_win32.h).
constexpr int kMinimumHeight = 200;

// The commands of the window; other WM_COMMAND identifiers are the edits'
// notifications.
static const int kCommands[] = {
    IDM_ESCAPE,   IDM_PREVWORD, IDM_NEXTWORD, IDM_NEXT20,      IDM_NEXTDICT, IDM_PREVDICT, IDM_HISTBACK, IDM_HISTFORWARD,
    IDM_HISTMENU, IDM_NEW,      IDM_OPEN,     IDM_FIND,        IDM_SIM,      IDM_ADD,      IDM_DEL,      IDM_SETTINGS,
    IDM_HIDE,     IDM_QUIT,     IDM_INFO,     IDM_FOCUSTOGGLE, IDM_ABOUT,    IDM_SHOW,     IDM_ALLDICT,
};

// Window rectangles of the separator, the Find button and the two edits
// (screen coordinates) and the client rectangle, as last captured.
static RECT LayoutRects[5];
enum { kSeparatorRect, kFindRect, kWordRect, kDescriptionRect, kClientRect };

static void CaptureLayout() {
    static const int kControls[] = {IDC_SEPARATOR, IDM_FIND, IDC_WORD, IDC_DESCRIPTION};
    for (int i = 0; i < 4; ++i) GetWindowRect(GetDlgItem(WindowState.mainWindow, kControls[i]), &LayoutRects[i]);
    GetClientRect(WindowState.mainWindow, &LayoutRects[kClientRect]);
}

static int Width(const RECT& r) { return r.right - r.left; }
static int Height(const RECT& r) { return r.bottom - r.top; }

static RECT ClientRectOf(int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(WindowState.mainWindow, id), &rect);
    MapWindowPoints(nullptr, WindowState.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Stretches the controls with the window: the edits keep their right
// margins, the Find button its distance from the right edge, only the
// description grows in height, and the toolbar spans the width.
static void OnSize(WPARAM kind, LPARAM size) {
    if (size == 0) return;
    int cx = LOWORD(size);
    int cy = static_cast<short>(HIWORD(size));
    int dx = cx - Width(LayoutRects[kClientRect]);
    int dy = cy - Height(LayoutRects[kClientRect]);
    const UINT keep = SWP_NOMOVE | SWP_NOZORDER;

    SetWindowPos(GetDlgItem(WindowState.mainWindow, IDC_SEPARATOR), nullptr, 0, 0, cx, Height(LayoutRects[kSeparatorRect]), keep);
    RECT word = ClientRectOf(IDC_WORD);
    SetWindowPos(GetDlgItem(WindowState.mainWindow, IDC_WORD), nullptr, 0, 0, Width(LayoutRects[kWordRect]) + dx, Height(word), keep);
    RECT find = ClientRectOf(IDM_FIND);
    SetWindowPos(GetDlgItem(WindowState.mainWindow, IDM_FIND), nullptr, find.left + dx, find.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT description = ClientRectOf(IDC_DESCRIPTION);
    SetWindowPos(GetDlgItem(WindowState.mainWindow, IDC_DESCRIPTION), nullptr, 0, 0, Width(description) + dx,
                 Height(description) + dy, keep);
    // The toolbar keeps the width it was made with unless told: the buttons
    // past it would stay out of reach however wide the window grows.
    if (WindowState.toolbar) {
        RECT bar;
        GetWindowRect(WindowState.toolbar, &bar);
        SetWindowPos(WindowState.toolbar, nullptr, 0, 0, cx, Height(bar), keep | SWP_NOACTIVATE);
    }
    CaptureLayout();

    if (kind != SIZE_MINIMIZED && kind != SIZE_MAXIMIZED) {
        RECT window;
        GetWindowRect(WindowState.mainWindow, &window);
        Settings.windowPosition = {window.left, window.top};
        Settings.windowSize = {Width(window), Height(window)};
    }
}

static INT_PTR OnNotify(LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != TTN_NEEDTEXTA && header->code != TTN_NEEDTEXTW) return 1;
    if (!Settings.showTooltips) return 0;
    FillToolbarTooltip(header);
    return 1;
}

static INT_PTR OnSysCommand(WPARAM command) {
    if (command == SC_MINIMIZE) {
        ShowWindow(WindowState.mainWindow, Settings.minimizeToTray ? SW_HIDE : SW_MINIMIZE);
        return 1;
    }
    if (command == SC_CLOSE && Settings.hideOnClose && Settings.minimizeToTray) {
        ShowWindow(WindowState.mainWindow, SW_HIDE);
        return 1;
    }
    return 0;
}

static void ToggleFocus() {
    HWND word = GetDlgItem(WindowState.mainWindow, IDC_WORD);
    HWND target = GetFocus() == word ? GetDlgItem(WindowState.mainWindow, IDC_DESCRIPTION) : word;
    SetFocus(target);
    SendMessageA(target, EM_SETSEL, 0, kEndOfText);
}

static void NewDictionaryCommand() {
    NewDictionaryRequest request;
    if (AskNewDictionary(&request))
        NewDictionary(request.folder.c_str(), request.dual ? 1 : 0, request.caseSensitive ? 1 : 0);
}

static void DictionaryInfoCommand() {
    if (DictionaryCatalog.Count == 0 || !IsDictionaryOpen()) return;
    DictionaryInfoChange change;
    if (ShowDictionaryInfo(&change)) ApplyDictionaryInfo({change.name.c_str(), change.dual, change.caseSensitive});
}

static void OnCommand(int id) {
    // Under a modal window a command from the tray, the hot key or another
    // instance would run beneath it; Quit stays, so the program can always
    // be ended.
    bool isCommand = std::find(std::begin(kCommands), std::end(kCommands), id) != std::end(kCommands);
    if (isCommand && id != IDM_QUIT && BringModalWindowToFront()) return;
    switch (id) {
    case IDM_ESCAPE:
        if (Settings.minimizeToTray) SendMessageA(WindowState.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else Quit();
        break;
    case IDM_PREVWORD: PreviousWord(); break;
    case IDM_NEXTWORD: NextWord(); break;
    case IDM_NEXT20: NextWordsMenu(); break;
    case IDM_NEXTDICT: NextDictionary(); break;
    case IDM_PREVDICT: PreviousDictionary(); break;
    case IDM_HISTBACK: HistoryBack(); break;
    case IDM_HISTFORWARD: HistoryForward(); break;
    case IDM_HISTMENU: HistoryMenu(); break;
    case IDM_NEW: NewDictionaryCommand(); break;
    case IDM_OPEN: DictionaryMenu(); break;
    case IDM_FIND: FindCommand(); break;
    case IDM_SIM: ShowSimilarWords(); break;
    case IDM_ADD: AddWordCommand(); break;
    case IDM_DEL: DeleteEntry(Confirmation::Ask); break;
    case IDM_SETTINGS: ShowOptionsSheet(OptionsPage::General); break;
    case IDM_HIDE: SendMessageA(WindowState.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case IDM_QUIT: Quit(); break;
    case IDM_FOCUSTOGGLE: ToggleFocus(); break;
    case IDM_INFO: DictionaryInfoCommand(); break;
    case IDM_ABOUT: ShowOptionsSheet(OptionsPage::About); break;
    case IDM_SHOW: ShowCommand(); break;
    case IDM_ALLDICT: SearchAllDictionaries(); break;
    default: break;
    }
}

static void OnInitDialog(HWND window) {
    WindowState.mainWindow = window;
    CaptureLayout();
    SetWindowLongPtrA(window, GWLP_USERDATA, INSTANCE_MARK);
    if (InitializeMainWindow() != 0) return;
    SubclassEdits();
    if (Settings.lookUpClipboardAtStart) PasteFromClipboard();
    WindowState.keyboardLayoutPending = false;
    LoadKeyboardLayoutA(Settings.startInBulgarian ? "00000402" : "00000409", KLF_ACTIVATE);
    WindowState.nextClipboardViewer = SetClipboardViewer(window);
    SetModified(0);
    UpdateToolbarState();
    RegisterShowHotKey(HotkeyToModifiers(Settings.hotKey), Settings.hotKey & 0xFF);
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return 1;
    case WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MinimumWindowWidth(), kMinimumHeight};
        return 0;
    case WM_NOTIFY:
        return OnNotify(lParam);
    case WM_ACTIVATEAPP:
        if (Settings.hideOnFocusLoss && wParam == 0 && IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
        return 1;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_CLOSE:
        Quit();
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 1;
    case WM_QUERYENDSESSION:
        // The program never holds up the end of a session.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return 1;
    case WM_ENDSESSION:
        if (wParam) Quit();
        return 1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        if (HIWORD(wParam) == EN_CHANGE) OnEditChange(LOWORD(wParam));
        return 1;
    case WM_DRAWCLIPBOARD:
        return OnDrawClipboard(wParam, lParam);
    case WM_CHANGECBCHAIN:
        return OnChangeClipboardChain(wParam, lParam);
    case WM_TIMER:
        return wParam == CLIPBOARD_TIMER_ID ? OnClipboardTimer() : 0;
    case WM_HOTKEY:
        SendMessageA(window, WM_COMMAND, IDM_SHOW, 0);
        return 1;
    case WM_TRAYNOTIFY:
        return OnTrayNotify(lParam);
    case WM_VERSION_CHECKED:
        OnVersionChecked(wParam);
        return 1;
    default:
        if (message == WindowState.taskbarCreatedMessage && message != 0) OnTaskbarCreated();
        if (IsQuitRequest(message)) Quit();
        return 0;
    }
}
