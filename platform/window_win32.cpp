// The window effects the portable logic needs, on the real main window.
#include <windows.h>
#include <commctrl.h>

#include "platform/platform.h"
#include "res/resource.h"
#include "ui/windows_win32.h"

// The edit raises EN_CHANGE synchronously inside WM_SETTEXT, so the mark
// covers exactly the notifications of the program's own writes.
static int ProgramWritesWordEdit = 0;

void SetWordEditText(const char* text) {
    ++ProgramWritesWordEdit;
    SetDlgItemTextA(MainWindow, IDC_WORD, text);
    --ProgramWritesWordEdit;
}

bool IsProgramWordEditChange() { return ProgramWritesWordEdit > 0; }

int GetWordEditText(char* buffer, int limit) {
    if (limit <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(GetDlgItemTextA(MainWindow, IDC_WORD, buffer, limit));
}

void GetWordEditSelection(int* start, int* end) {
    DWORD selection = static_cast<DWORD>(SendDlgItemMessageA(MainWindow, IDC_WORD, EM_GETSEL, 0, 0));
    *start = LOWORD(selection);
    *end = HIWORD(selection);
}

void SetWordEditSelection(int start, int end) {
    SendDlgItemMessageA(MainWindow, IDC_WORD, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void FocusWordEdit() { SetFocus(GetDlgItem(MainWindow, IDC_WORD)); }

void SetDescriptionEditText(const char* text) { SetDlgItemTextA(MainWindow, IDC_DESCRIPTION, text); }

int GetDescriptionEditText(char* buffer, int limit) {
    if (limit <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(GetDlgItemTextA(MainWindow, IDC_DESCRIPTION, buffer, limit));
}

int GetDescriptionEditLineCount() {
    return static_cast<int>(SendDlgItemMessageA(MainWindow, IDC_DESCRIPTION, EM_GETLINECOUNT, 0, 0));
}

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
    return MessageBoxA(MainWindow, text, caption, style);
}

void SetMainWindowTitle(const char* title) {
    if (MainWindow) SetWindowTextA(MainWindow, title);
}

bool IsMainWindowHidden() { return !IsWindowVisible(MainWindow) || IsIconic(MainWindow); }

bool GetMainWindowNormalRect(int* left, int* top, int* right, int* bottom) {
    if (!MainWindow || IsIconic(MainWindow) || IsZoomed(MainWindow)) return false;
    RECT rect;
    if (!GetWindowRect(MainWindow, &rect)) return false;
    *left = rect.left;
    *top = rect.top;
    *right = rect.right;
    *bottom = rect.bottom;
    return true;
}

void SetToolbarButtonEnabled(int command, bool enabled) {
    if (Toolbar) SendMessageA(Toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? 1 : 0, 0));
}

void SetFindButtonEnabled(bool enabled) { EnableWindow(GetDlgItem(MainWindow, IDM_FIND), enabled); }

int TrackToolbarMenu(int buttonPosition, const std::vector<MenuItemSpec>& items) {
    if (items.empty()) return 0;
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const MenuItemSpec& item : items)
        AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.id),
                    item.text.c_str());
    RECT button = {0, 0, 0, 0};
    SendMessageA(Toolbar, TB_GETITEMRECT, static_cast<WPARAM>(buttonPosition), reinterpret_cast<LPARAM>(&button));
    POINT corner = {button.left, button.bottom};
    ClientToScreen(Toolbar, &corner);
    int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y + 1,
                                                   MainWindow, nullptr));
    DestroyMenu(menu);
    return chosen;
}
