// The window effects the portable logic needs, on the real main window.
#include <windows.h>
#include <commctrl.h>

#include "platform/window.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

void ReplaceWordEditText(const char* text) { SetDlgItemTextA(WindowState.mainWindow, IDC_WORD, text); }

int GetWordEditText(char* buffer, int limit) {
    if (limit <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(GetDlgItemTextA(WindowState.mainWindow, IDC_WORD, buffer, limit));
}

void GetWordEditSelection(int* start, int* end) {
    DWORD selection =
        static_cast<DWORD>(SendDlgItemMessageA(WindowState.mainWindow, IDC_WORD, EM_GETSEL, 0, 0));
    *start = LOWORD(selection);
    *end = HIWORD(selection);
}

void SetWordEditSelection(int start, int end) {
    SendDlgItemMessageA(WindowState.mainWindow, IDC_WORD, EM_SETSEL, static_cast<WPARAM>(start),
                        static_cast<LPARAM>(end));
}

void FocusWordEdit() { SetFocus(GetDlgItem(WindowState.mainWindow, IDC_WORD)); }

void SetDescriptionEditText(const char* text) { SetDlgItemTextA(WindowState.mainWindow, IDC_DESCRIPTION, text); }

int GetDescriptionEditText(char* buffer, int limit) {
    if (limit <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(GetDlgItemTextA(WindowState.mainWindow, IDC_DESCRIPTION, buffer, limit));
}

int GetDescriptionEditLineCount() {
    return static_cast<int>(SendDlgItemMessageA(WindowState.mainWindow, IDC_DESCRIPTION, EM_GETLINECOUNT, 0, 0));
}

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
    return MessageBoxA(WindowState.mainWindow, text, caption, style);
}

void SetMainWindowTitle(const char* title) {
    if (WindowState.mainWindow) SetWindowTextA(WindowState.mainWindow, title);
}

bool IsMainWindowHidden() {
    return !IsWindowVisible(WindowState.mainWindow) || IsIconic(WindowState.mainWindow);
}

bool GetMainWindowNormalRect(int* left, int* top, int* right, int* bottom) {
    HWND window = WindowState.mainWindow;
    if (!window || IsIconic(window) || IsZoomed(window)) return false;
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    *left = rect.left;
    *top = rect.top;
    *right = rect.right;
    *bottom = rect.bottom;
    return true;
}

void SetToolbarButtonEnabled(int command, bool enabled) {
    if (WindowState.toolbar)
        SendMessageA(WindowState.toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled ? 1 : 0, 0));
}

void SetFindButtonEnabled(bool enabled) { EnableWindow(GetDlgItem(WindowState.mainWindow, IDM_FIND), enabled); }

// The button's rectangle in toolbar coordinates; the toolbar finds the
// button's position from its command, separators counted.
static RECT ToolbarButtonRect(int command) {
    RECT button = {0, 0, 0, 0};
    LRESULT index = SendMessageA(WindowState.toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
    if (index >= 0)
        SendMessageA(WindowState.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&button));
    return button;
}

int TrackToolbarMenu(int buttonCommand, const std::vector<MenuItemSpec>& items) {
    if (items.empty()) return 0;
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const MenuItemSpec& item : items)
        AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.id),
                    item.text.c_str());
    RECT button = ToolbarButtonRect(buttonCommand);
    POINT corner = {button.left, button.bottom};
    ClientToScreen(WindowState.toolbar, &corner);
    int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y + 1,
                                                   WindowState.mainWindow, nullptr));
    DestroyMenu(menu);
    return chosen;
}
