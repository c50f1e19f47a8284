#include "ui/toolbar_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "ui/program_state.h"
#include "ui/toolbar_pictures_win32.h"

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

// Lengths at 96 DPI, scaled to the window's: the least width the window may
// be given (the toolbar may ask for more), the room around a button's
// picture, a separator's width and the toolbar's distance from the top.
constexpr int kMinimumWidth = 320;
constexpr int kPaddingX = 7, kPaddingY = 6;
constexpr int kSeparatorWidth = 8;
constexpr int kToolbarTop = 2;

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

void SizeToolbarForDpi() {
    HWND toolbar = WindowState.toolbar;
    int dpi = static_cast<int>(WindowState.dpi);
    int side = LoadToolbarPictures(toolbar, WindowState.dpi);
    int paddingX = ScaleToDpi(kPaddingX, dpi), paddingY = ScaleToDpi(kPaddingY, dpi);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(side, side));
    SendMessageA(toolbar, TB_SETPADDING, 0, MAKELPARAM(paddingX, paddingY));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(side + paddingX, side + paddingY));
    for (int i = 0; i < kToolbarEntries; ++i) {
        if (!(kToolbarButtons[i].fsStyle & TBSTYLE_SEP)) continue;
        TBBUTTONINFOA separator = {};
        separator.cbSize = sizeof separator;
        separator.dwMask = TBIF_BYINDEX | TBIF_SIZE | TBIF_IMAGE;
        separator.cx = static_cast<WORD>(ScaleToDpi(kSeparatorWidth, dpi));
        separator.iImage = separator.cx;  // a separator's "picture" is its width
        SendMessageA(toolbar, TB_SETBUTTONINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&separator));
    }
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    RECT client;
    GetClientRect(WindowState.mainWindow, &client);
    RECT bar;
    GetWindowRect(toolbar, &bar);
    SetWindowPos(toolbar, nullptr, 0, ScaleToDpi(kToolbarTop, dpi), client.right, bar.bottom - bar.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateToolbar() {
    DWORD style = WS_CHILD | kToolbarStyle | (Settings.flatToolbar ? TBSTYLE_FLAT : 0);
    WindowState.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, WindowState.mainWindow,
                                          reinterpret_cast<HMENU>(IDC_TOOLBAR), WindowState.instance, nullptr);
    SendMessageA(WindowState.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(WindowState.toolbar, TB_ADDBUTTONSA, kToolbarEntries, reinterpret_cast<LPARAM>(kToolbarButtons));
    SizeToolbarForDpi();
    EnableWindow(WindowState.toolbar, TRUE);
    SetWindowPos(WindowState.toolbar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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
    int least = ScaleToDpi(kMinimumWidth, static_cast<int>(WindowState.dpi));
    if (!WindowState.toolbar) return least;
    LRESULT buttons = SendMessageA(WindowState.toolbar, TB_BUTTONCOUNT, 0, 0);
    RECT last = {};
    if (buttons <= 0 || !SendMessageA(WindowState.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(buttons - 1),
                                      reinterpret_cast<LPARAM>(&last)))
        return least;
    RECT frame = {0, 0, last.right, 0};
    AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrA(WindowState.mainWindow, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(WindowState.mainWindow, GWL_EXSTYLE)),
                           WindowState.dpi);
    return std::max(least, static_cast<int>(frame.right - frame.left));
}

void KeepToolbarInReach() {
    RECT window;
    if (!GetWindowRect(WindowState.mainWindow, &window)) return;
    int minimum = MinimumWindowWidth();
    if (window.right - window.left < minimum)
        SetWindowPos(WindowState.mainWindow, nullptr, 0, 0, minimum, window.bottom - window.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
