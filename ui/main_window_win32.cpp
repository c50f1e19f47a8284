// The main window's dialog procedure: it dispatches; the work is done by the
// operations of storage/, lookup/ and ui/edit_state.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "lookup/browse.h"
#include "lookup/editing.h"
#include "lookup/history.h"
#include "lookup/similar.h"
#include "res/resource.h"
#include "settings/hotkey.h"
#include "settings/settings.h"
#include "settings/version_check_win32.h"
#include "storage/dictionary.h"
#include "ui/edit_state.h"
#include "ui/main_window_win32.h"
#include "ui/modal_guard_win32.h"
#include "ui/tray_clipboard_win32.h"
#include "ui/windows_win32.h"

enum { kOptionsGeneralPage = 0, kOptionsAboutPage = 1 };

// The least size the window may be given; the toolbar may ask for more width.
constexpr int kMinimumWidth = 320;
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

// Toolbar commands and their tooltip strings, in toolbar order.
static const struct { int command, tooltip; } kTooltips[] = {
    {IDM_NEW, IDS_NEWDICT},     {IDM_OPEN, IDS_SELECTDICT},     {IDM_INFO, IDS_INFO},
    {IDM_PREVWORD, IDS_PREVWORD}, {IDM_NEXT20, IDS_NEXT20},     {IDM_NEXTWORD, IDS_NEXTWORD},
    {IDM_SIM, IDS_SIMILAR},     {IDM_ALLDICT, IDS_ALLDICT},     {IDM_HISTBACK, IDS_HISTBACK},
    {IDM_HISTMENU, IDS_HISTMENU}, {IDM_HISTFORWARD, IDS_HISTFORWARD}, {IDM_ADD, IDS_ADD},
    {IDM_DEL, IDS_DELETE},      {IDM_SETTINGS, IDS_SETTINGS},   {IDM_HIDE, IDS_HIDE},
    {IDM_QUIT, IDS_QUIT},
};

void CaptureLayout() {
    static const int kControls[] = {IDC_SEPARATOR, IDM_FIND, IDC_WORD, IDC_DESCRIPTION};
    for (int i = 0; i < 4; ++i) GetWindowRect(GetDlgItem(MainWindow, kControls[i]), &LayoutRects[i]);
    GetClientRect(MainWindow, &LayoutRects[kClientRect]);
}

static int Width(const RECT& r) { return r.right - r.left; }
static int Height(const RECT& r) { return r.bottom - r.top; }

static RECT ClientRectOf(int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(MainWindow, id), &rect);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&rect), 2);
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

    SetWindowPos(GetDlgItem(MainWindow, IDC_SEPARATOR), nullptr, 0, 0, cx, Height(LayoutRects[kSeparatorRect]), keep);
    RECT word = ClientRectOf(IDC_WORD);
    SetWindowPos(GetDlgItem(MainWindow, IDC_WORD), nullptr, 0, 0, Width(LayoutRects[kWordRect]) + dx, Height(word), keep);
    RECT find = ClientRectOf(IDM_FIND);
    SetWindowPos(GetDlgItem(MainWindow, IDM_FIND), nullptr, find.left + dx, find.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT description = ClientRectOf(IDC_DESCRIPTION);
    SetWindowPos(GetDlgItem(MainWindow, IDC_DESCRIPTION), nullptr, 0, 0, Width(description) + dx,
                 Height(description) + dy, keep);
    // The toolbar keeps the width it was made with unless told: the buttons
    // past it would stay out of reach however wide the window grows.
    if (Toolbar) {
        RECT bar;
        GetWindowRect(Toolbar, &bar);
        SetWindowPos(Toolbar, nullptr, 0, 0, cx, Height(bar), keep | SWP_NOACTIVATE);
    }
    CaptureLayout();

    if (kind != SIZE_MINIMIZED && kind != SIZE_MAXIMIZED) {
        RECT window;
        GetWindowRect(MainWindow, &window);
        Settings.pos = {window.left, window.top};
        Settings.size = {Width(window), Height(window)};
    }
}

// The toolbar is one row above controls laid out at fixed heights, so
// every command stays in reach only while the window is as wide as the
// whole row: a wrapping toolbar would push those controls down at every
// narrow size. The width follows the toolbar as the system draws it.
static int MinimumWindowWidth() {
    if (!Toolbar) return kMinimumWidth;
    LRESULT buttons = SendMessageA(Toolbar, TB_BUTTONCOUNT, 0, 0);
    RECT last = {};
    if (buttons <= 0 || !SendMessageA(Toolbar, TB_GETITEMRECT, static_cast<WPARAM>(buttons - 1),
                                      reinterpret_cast<LPARAM>(&last)))
        return kMinimumWidth;
    RECT frame = {0, 0, last.right, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(MainWindow, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(MainWindow, GWL_EXSTYLE)));
    return std::max(kMinimumWidth, static_cast<int>(frame.right - frame.left));
}

void KeepToolbarInReach() {
    RECT window;
    if (!GetWindowRect(MainWindow, &window)) return;
    int minimum = MinimumWindowWidth();
    if (Width(window) < minimum)
        SetWindowPos(MainWindow, nullptr, 0, 0, minimum, Height(window), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static INT_PTR OnNotify(LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != TTN_NEEDTEXTA && header->code != TTN_NEEDTEXTW) return 1;
    if (!Settings.tooltips) return 0;
    // Both forms carry the string as a resource id of this instance.
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    info->hinst = ProgramInstance;
    for (const auto& tip : kTooltips)
        if (static_cast<UINT_PTR>(tip.command) == header->idFrom) {
            info->lpszText = MAKEINTRESOURCEA(tip.tooltip);
            break;
        }
    return 1;
}

static INT_PTR OnSysCommand(WPARAM command) {
    if (command == SC_MINIMIZE) {
        ShowWindow(MainWindow, Settings.traymin ? SW_HIDE : SW_MINIMIZE);
        return 1;
    }
    if (command == SC_CLOSE && Settings.minonclose && Settings.traymin) {
        ShowWindow(MainWindow, SW_HIDE);
        return 1;
    }
    return 0;
}

static void ToggleFocus() {
    HWND word = GetDlgItem(MainWindow, IDC_WORD);
    HWND target = GetFocus() == word ? GetDlgItem(MainWindow, IDC_DESCRIPTION) : word;
    SetFocus(target);
    SendMessageA(target, EM_SETSEL, 0, 2048);
}

static void OnCommand(int id) {
    // Under a modal window a command from the tray, the hot key or another
    // instance would run beneath it; Quit stays, so the program can always
    // be ended.
    bool isCommand = std::find(std::begin(kCommands), std::end(kCommands), id) != std::end(kCommands);
    if (isCommand && id != IDM_QUIT && BringModalWindowToFront()) return;
    switch (id) {
    case IDM_ESCAPE:
        if (Settings.traymin) SendMessageA(MainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
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
    case IDM_NEW: ShowNewDictionaryDialog(); break;
    case IDM_OPEN: DictionaryMenu(); break;
    case IDM_FIND: FindCommand(); break;
    case IDM_SIM: ShowSimilarWords(); break;
    case IDM_ADD: AddWordCommand(); break;
    case IDM_DEL: DeleteEntry(1); break;
    case IDM_SETTINGS: ShowOptionsSheet(kOptionsGeneralPage); break;
    case IDM_HIDE: SendMessageA(MainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case IDM_QUIT: Quit(); break;
    case IDM_FOCUSTOGGLE: ToggleFocus(); break;
    case IDM_INFO:
        if (CatalogCount > 0) ShowDictionaryInfo();
        break;
    case IDM_ABOUT: ShowOptionsSheet(kOptionsAboutPage); break;
    case IDM_SHOW: ShowCommand(); break;
    case IDM_ALLDICT: SearchAllDictionaries(); break;
    default: break;
    }
}

static void OnInitDialog(HWND window) {
    MainWindow = window;
    CaptureLayout();
    SetWindowLongPtrA(window, GWLP_USERDATA, INSTANCE_MARK);
    if (InitializeMainWindow() != 0) return;
    SubclassEdit(GetDlgItem(window, IDC_WORD), EditKeyProc);
    SubclassEdit(GetDlgItem(window, IDC_DESCRIPTION), EditKeyProc);
    if (Settings.clipcopy) PasteFromClipboard();
    KeyboardLayoutPending = 0;
    LoadKeyboardLayoutA(Settings.startinbul ? "00000402" : "00000409", KLF_ACTIVATE);
    NextClipboardViewer = SetClipboardViewer(window);
    SetModified(0);
    UpdateToolbarState();
    RegisterHotKey(MainWindow, HOTKEY_ID, HotkeyToModifiers(Settings.hotkey), Settings.hotkey & 0xFF);
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
        if (Settings.minonfocus && wParam == 0 && IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
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
        if (message == TaskbarCreatedMessage && message != 0) OnTaskbarCreated();
        return 0;
    }
}
