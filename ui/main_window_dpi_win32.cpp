#include "ui/main_window_dpi_win32.h"

#include "platform/dictionary_fonts.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "ui/main_layout.h"
#include "ui/program_state.h"
#include "ui/toolbar_pictures_win32.h"
#include "ui/toolbar_win32.h"

namespace {

// The line under the toolbar sits one pixel below it at 96 DPI.
constexpr int kSeparatorTop96 = 29;
// The least height the window may be given at 96 DPI; its least width
// follows the toolbar (ui/toolbar_win32.h).
constexpr int kMinimumHeight96 = 200;

// The template's layout at 96 DPI, learnt once from the controls the dialog
// manager made; every layout at every DPI and size is made from it.
MainLayout Layout96;
// The size in points of the template's font, for making it at another DPI.
int DialogFontPoints = 8;

HWND Control(int id) { return GetDlgItem(WindowState.mainWindow, id); }

ScreenRect ClientRectOf(int id) {
    RECT rect;
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(nullptr, WindowState.mainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Place(int id, const ScreenRect& r) {
    SetWindowPos(Control(id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives the window the client size `width` x `height`, its centre where it was.
void ResizeClientKeepingCentre(HWND window, int width, int height) {
    RECT frame = {0, 0, width, height};
    AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)), WindowState.dpi);
    RECT now;
    GetWindowRect(window, &now);
    int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    int left = (now.left + now.right - outerWidth) / 2, top = (now.top + now.bottom - outerHeight) / 2;
    SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The controls' font at the window's DPI, after a move to another DPI: the
// template's face and size, made as the dialog manager makes it.
void ReplaceDialogFont() {
    HFONT current = WindowState.dialogFont;
    if (!current) current = reinterpret_cast<HFONT>(SendMessageA(WindowState.mainWindow, WM_GETFONT, 0, 0));
    LOGFONTW font = {};
    if (!current || !GetObjectW(current, sizeof font, &font)) return;
    font.lfHeight = -MulDivRounded(DialogFontPoints, static_cast<int>(WindowState.dpi), 72);
    font.lfWidth = 0;
    HFONT replacement = CreateFontIndirectW(&font);
    if (!replacement) return;
    for (HWND child = GetWindow(WindowState.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(replacement), TRUE);
    // The dialog manager's own font stays with the dialog, which frees it.
    if (WindowState.dialogFont) DeleteObject(WindowState.dialogFont);
    WindowState.dialogFont = replacement;
}

HICON LoadIconSized(int metric) {
    int side = SystemMetricForDpi(metric, WindowState.dpi);
    return static_cast<HICON>(
        LoadImageA(WindowState.instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}

}  // namespace

void PrepareMainWindowLayout(HWND window) {
    WindowState.mainWindow = window;
    WindowState.dpi = WindowDpi(window);
    // The dialog manager made the controls with its base units; back to the
    // template's dialog units by them, and to pixels at 96 DPI.
    RECT units = {0, 0, 4, 8};
    MapDialogRect(window, &units);
    auto at96 = [&](const ScreenRect& pixels) { return PixelsAt96(DialogUnitsOf(pixels, units.right, units.bottom)); };
    RECT client;
    GetClientRect(window, &client);
    ScreenRect client96 = at96({0, 0, client.right, client.bottom});
    ScreenRect separator = at96(ClientRectOf(IDC_SEPARATOR));
    separator = {separator.left, kSeparatorTop96, separator.right, kSeparatorTop96 + separator.bottom - separator.top};
    Layout96 = {separator,          at96(ClientRectOf(IDC_WORD)),  at96(ClientRectOf(IDM_FIND)),
                at96(ClientRectOf(IDC_DESCRIPTION)), client96.right, client96.bottom};

    LOGFONTW font = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (dialogFont && GetObjectW(dialogFont, sizeof font, &font) && font.lfHeight < 0)
        DialogFontPoints = MulDivRounded(-font.lfHeight, 72, static_cast<int>(WindowState.dpi));

    MainLayout scaled = ScaleMainLayout(Layout96, static_cast<int>(WindowState.dpi));
    if (scaled.clientWidth != client.right || scaled.clientHeight != client.bottom)
        ResizeClientKeepingCentre(window, scaled.clientWidth, scaled.clientHeight);
    GetClientRect(window, &client);
    LayOutMainWindow(client.right, client.bottom);
}

void LayOutMainWindow(int clientWidth, int clientHeight) {
    MainLayout placed =
        StretchMainLayout(ScaleMainLayout(Layout96, static_cast<int>(WindowState.dpi)), clientWidth, clientHeight);
    Place(IDC_SEPARATOR, placed.separator);
    Place(IDC_WORD, placed.word);
    Place(IDM_FIND, placed.find);
    Place(IDC_DESCRIPTION, placed.description);
    // The toolbar keeps the width it was made with unless told: the buttons
    // past it would stay out of reach however wide the window grows.
    if (WindowState.toolbar) {
        RECT bar;
        GetWindowRect(WindowState.toolbar, &bar);
        SetWindowPos(WindowState.toolbar, nullptr, 0, 0, clientWidth, bar.bottom - bar.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

POINT MinimumMainWindowSize() {
    return {MinimumWindowWidth(), ScaleToDpi(kMinimumHeight96, static_cast<int>(WindowState.dpi))};
}

void SetMainWindowIcons() {
    HICON big = LoadIconSized(SM_CXICON), small = LoadIconSized(SM_CXSMICON);
    SendMessageA(WindowState.mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(WindowState.mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (WindowState.bigIcon) DestroyIcon(WindowState.bigIcon);
    if (WindowState.smallIcon) DestroyIcon(WindowState.smallIcon);
    WindowState.bigIcon = big;
    WindowState.smallIcon = small;
}

void OnMainWindowDpiChanged(UINT dpi, const RECT& suggested) {
    if (dpi == 0) return;
    HWND window = WindowState.mainWindow;
    WindowState.dpi = dpi;
    ReplaceDialogFont();
    // The dictionary fonts over the controls' font, each at the new DPI.
    if (WindowState.wordFont && CurrentDictionary.IsOpen())
        ApplyDictionaryFonts(CurrentDictionary.wordFont, CurrentDictionary.descriptionFont);
    if (WindowState.toolbar) SizeToolbarForDpi();
    SetMainWindowIcons();
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The same size at another DPI brings no WM_SIZE: lay out here too.
    RECT client;
    GetClientRect(window, &client);
    LayOutMainWindow(client.right, client.bottom);
    KeepDialogManagerFromRescaling(window);
}

void ReleaseMainWindowPictures() {
    ReleaseToolbarPictures();
    if (WindowState.bigIcon) DestroyIcon(WindowState.bigIcon);
    if (WindowState.smallIcon) DestroyIcon(WindowState.smallIcon);
    if (WindowState.dialogFont) DeleteObject(WindowState.dialogFont);
    WindowState.bigIcon = WindowState.smallIcon = nullptr;
    WindowState.dialogFont = nullptr;
}
