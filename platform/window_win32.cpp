// The window effects the portable logic needs, on the real main window. Its
// text crosses to Windows as UTF-16 (platform/wide_text_win32.h).
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "platform/window.h"
#include "platform/window_state_win32.h"
#include "platform/wide_text_win32.h"
#include "res/resource.h"

static HWND Edit(int id) { return GetDlgItem(WindowState.mainWindow, id); }

// At most limit - 1 bytes of the edit's text and a NUL.
static int ReadEdit(int id, char* buffer, int limit) {
    if (limit <= 0) return 0;
    std::wstring wide = WindowTextOf(Edit(id));
    if (wide.size() >= static_cast<size_t>(limit)) wide.resize(static_cast<size_t>(limit) - 1);
    std::string text = Cp1251Text(wide);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

static char32_t UnheldCharacterOf(int id) {
    char32_t unheld = 0;
    Cp1251Text(WindowTextOf(Edit(id)), &unheld);
    return unheld;
}

void ReplaceWordEditText(const char* text) { SetDialogItemText(WindowState.mainWindow, IDC_WORD, text); }

int GetWordEditText(char* buffer, int limit) { return ReadEdit(IDC_WORD, buffer, limit); }

char32_t WordEditUnheldCharacter() { return UnheldCharacterOf(IDC_WORD); }

void GetWordEditSelection(int* start, int* end) {
    DWORD selection = static_cast<DWORD>(SendMessageW(Edit(IDC_WORD), EM_GETSEL, 0, 0));
    *start = LOWORD(selection);
    *end = HIWORD(selection);
}

void SetWordEditSelection(int start, int end) {
    SendMessageW(Edit(IDC_WORD), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void FocusWordEdit() { SetFocus(Edit(IDC_WORD)); }

void SetDescriptionEditText(const char* text) { SetDialogItemText(WindowState.mainWindow, IDC_DESCRIPTION, text); }

int GetDescriptionEditText(char* buffer, int limit) { return ReadEdit(IDC_DESCRIPTION, buffer, limit); }

char32_t DescriptionEditUnheldCharacter() { return UnheldCharacterOf(IDC_DESCRIPTION); }

int GetDescriptionEditLineCount() {
    return static_cast<int>(SendMessageW(Edit(IDC_DESCRIPTION), EM_GETLINECOUNT, 0, 0));
}

int ShowMessageBox(const char* text, const char* caption, unsigned style, const std::u32string& named) {
    return ShowMessage(WindowState.mainWindow, text, caption, style, named);
}

void SetMainWindowTitle(const char* title) {
    if (WindowState.mainWindow) SetWindowTextW(WindowState.mainWindow, WideText(title).c_str());
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
        SendMessageW(WindowState.toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled ? 1 : 0, 0));
}

void SetFindButtonEnabled(bool enabled) { EnableWindow(GetDlgItem(WindowState.mainWindow, IDM_FIND), enabled); }

// The button's rectangle in toolbar coordinates; the toolbar finds the
// button's position from its command, separators counted.
static RECT ToolbarButtonRect(int command) {
    RECT button = {0, 0, 0, 0};
    LRESULT index = SendMessageW(WindowState.toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
    if (index >= 0)
        SendMessageW(WindowState.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&button));
    return button;
}

int TrackToolbarMenu(int buttonCommand, const std::vector<MenuItemSpec>& items) {
    if (items.empty()) return 0;
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const MenuItemSpec& item : items)
        AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.id),
                    WideText(item.text).c_str());
    RECT button = ToolbarButtonRect(buttonCommand);
    POINT corner = {button.left, button.bottom};
    ClientToScreen(WindowState.toolbar, &corner);
    int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y + 1,
                                                   WindowState.mainWindow, nullptr));
    DestroyMenu(menu);
    return chosen;
}
