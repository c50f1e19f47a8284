#include "ui/toolbar_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "settings/settings.h"

// Menus drop from buttons found by their commands, so the order here is
// free to change.
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
constexpr int kToolbarEntries = sizeof kToolbarButtons / sizeof kToolbarButtons[0];
static_assert(kToolbarEntries == 24, "24 toolbar entries");
// Pictures in the toolbar bitmap.
constexpr int kToolbarPictures = 17;

// The least width the window may be given; the toolbar may ask for more.
constexpr int kMinimumWidth = 320;

static const DWORD kToolbarStyle = WS_CHILD | CCS_TOP | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;

// Toolbar commands and their tooltip strings.
static const struct { int command, tooltip; } kTooltips[] = {
    {IDM_NEW, IDS_NEWDICT},     {IDM_OPEN, IDS_SELECTDICT},     {IDM_INFO, IDS_INFO},
    {IDM_PREVWORD, IDS_PREVWORD}, {IDM_NEXT20, IDS_NEXT20},     {IDM_NEXTWORD, IDS_NEXTWORD},
    {IDM_SIM, IDS_SIMILAR},     {IDM_ALLDICT, IDS_ALLDICT},     {IDM_HISTBACK, IDS_HISTBACK},
    {IDM_HISTMENU, IDS_HISTMENU}, {IDM_HISTFORWARD, IDS_HISTFORWARD}, {IDM_ADD, IDS_ADD},
    {IDM_DEL, IDS_DELETE},      {IDM_SETTINGS, IDS_SETTINGS},   {IDM_HIDE, IDS_HIDE},
    {IDM_QUIT, IDS_QUIT},
};

void CreateToolbar() {
    DWORD style = kToolbarStyle | (Settings.flatToolbar ? TBSTYLE_FLAT : 0);
    WindowState.toolbar =
        CreateToolbarEx(WindowState.mainWindow, style, IDC_TOOLBAR, kToolbarPictures, WindowState.instance,
                        IDB_TOOLBAR, kToolbarButtons, kToolbarEntries, 16, 16, 16, 16, sizeof(TBBUTTON));
    EnableWindow(WindowState.toolbar, TRUE);
    // Two pixels below the window's top edge.
    SetWindowPos(WindowState.toolbar, HWND_TOP, 0, 2, 0, 0, SWP_NOSIZE);
    ShowWindow(WindowState.toolbar, SW_SHOW);
}

void FillToolbarTooltip(NMHDR* header) {
    // The string is a resource id of this instance. A wide window is asked
    // in the wide form, whose fields lie elsewhere.
    for (const auto& tip : kTooltips) {
        if (static_cast<UINT_PTR>(tip.command) != header->idFrom) continue;
        if (header->code == TTN_NEEDTEXTW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
            info->hinst = WindowState.instance;
            info->lpszText = MAKEINTRESOURCEW(tip.tooltip);
        } else {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
            info->hinst = WindowState.instance;
            info->lpszText = MAKEINTRESOURCEA(tip.tooltip);
        }
        break;
    }
}

// The toolbar is one row above controls laid out at fixed heights, so
// every command stays in reach only while the window is as wide as the
// whole row: a wrapping toolbar would push those controls down at every
// narrow size. The width follows the toolbar as the system draws it.
int MinimumWindowWidth() {
    if (!WindowState.toolbar) return kMinimumWidth;
    LRESULT buttons = SendMessageA(WindowState.toolbar, TB_BUTTONCOUNT, 0, 0);
    RECT last = {};
    if (buttons <= 0 || !SendMessageA(WindowState.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(buttons - 1),
                                      reinterpret_cast<LPARAM>(&last)))
        return kMinimumWidth;
    RECT frame = {0, 0, last.right, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(WindowState.mainWindow, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(WindowState.mainWindow, GWL_EXSTYLE)));
    return std::max(kMinimumWidth, static_cast<int>(frame.right - frame.left));
}

void KeepToolbarInReach() {
    RECT window;
    if (!GetWindowRect(WindowState.mainWindow, &window)) return;
    int minimum = MinimumWindowWidth();
    if (window.right - window.left < minimum)
        SetWindowPos(WindowState.mainWindow, nullptr, 0, 0, minimum, window.bottom - window.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
