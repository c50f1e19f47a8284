// The options property sheet: the General page edits Settings and the
// start-with-Windows entry, the About page shows the version and runs the
// new-version check.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "res/resource.h"
#include "settings/hotkey.h"
#include "settings/settings.h"
#include "settings/start_with_windows_win32.h"
#include "settings/version_check_win32.h"
#include "storage/dictionary.h"
#include "ui/windows_win32.h"

// Check boxes of the General page and the field each one shows, in the
// order they are set.
static const struct { int control; int32_t SettingsRecord::*field; } kCheckBoxes[] = {
    {IDC_STARTINBUL, &SettingsRecord::startinbul},   {IDC_SIMONNOTFOUND, &SettingsRecord::simonnotfound},
    {IDC_CLIPCOPY, &SettingsRecord::clipcopy},       {IDC_TRAYMIN, &SettingsRecord::traymin},
    {IDC_STARTMIN, &SettingsRecord::startmin},       {IDC_MONITOR, &SettingsRecord::monitor},
    {IDC_DBLPOPUP, &SettingsRecord::dblpopup},       {IDC_TOOLTIPS, &SettingsRecord::tooltips},
    {IDC_FLAT, &SettingsRecord::flat},               {IDC_MINONCLOSE, &SettingsRecord::minonclose},
    {IDC_MULTINST, &SettingsRecord::multinst},       {IDC_ONTOP, &SettingsRecord::ontop},
    {IDC_AUTOCOMPLETE, &SettingsRecord::autocomplete}, {IDC_MINONFOCUS, &SettingsRecord::minonfocus},
};

static bool Checked(HWND page, int control) { return IsDlgButtonChecked(page, control) == BST_CHECKED; }

static void Enable(HWND page, int control, bool enabled) {
    EnableWindow(GetDlgItem(page, control), enabled ? TRUE : FALSE);
}

// The options under "Minimize to tray" and "Monitor clipboard" mean nothing
// without them: clear them when their parent is cleared, and grey them out.
static void FollowTrayMinimize(HWND page) {
    bool on = Checked(page, IDC_TRAYMIN);
    if (!on) {
        CheckDlgButton(page, IDC_STARTMIN, BST_UNCHECKED);
        CheckDlgButton(page, IDC_MINONCLOSE, BST_UNCHECKED);
    }
    Enable(page, IDC_STARTMIN, on);
    Enable(page, IDC_MINONCLOSE, on);
}

static void FollowClipboardMonitor(HWND page) {
    bool on = Checked(page, IDC_MONITOR);
    if (!on) CheckDlgButton(page, IDC_DBLPOPUP, BST_UNCHECKED);
    Enable(page, IDC_DBLPOPUP, on);
}

static void InitializeGeneralPage(HWND page) {
    for (const auto& box : kCheckBoxes)
        CheckDlgButton(page, box.control, Settings.*box.field ? BST_CHECKED : BST_UNCHECKED);
    // The marks stay as stored: only the parent's click clears them.
    if (!Settings.traymin) {
        Enable(page, IDC_STARTMIN, false);
        Enable(page, IDC_MINONCLOSE, false);
    }
    if (!Settings.monitor) Enable(page, IDC_DBLPOPUP, false);

    HWND list = GetDlgItem(page, IDC_STARTDICT);
    for (int i = 0; i < CatalogCount; ++i)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DictionaryCatalog[i].DisplayName));
    SendMessageA(list, CB_SETCURSEL, FindCatalogIndex(Settings.startdict, 0), 0);

    SendDlgItemMessageA(page, IDC_HOTKEY, HKM_SETHOTKEY, Settings.hotkey, 0);
    // Asked each time: the user or another program may have changed it.
    CheckDlgButton(page, IDC_STARTWITHWINDOWS, StartsWithWindows() ? BST_CHECKED : BST_UNCHECKED);
}

static void ApplyGeneralPage(HWND page) {
    for (const auto& box : kCheckBoxes) {
        Settings.*box.field = Checked(page, box.control) ? 1 : 0;
        if (box.field == &SettingsRecord::dblpopup && !Settings.monitor) Settings.dblpopup = 0;
    }
    Settings.hotkey = static_cast<uint32_t>(SendDlgItemMessageA(page, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));

    ShowTrayIcon(Settings.traymin ? NIM_ADD : NIM_DELETE);

    // A folder name too long for startdict would name no dictionary at the
    // next start; the previous choice is kept instead.
    LRESULT chosen = SendDlgItemMessageA(page, IDC_STARTDICT, CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && chosen < CatalogCount &&
        std::strlen(DictionaryCatalog[chosen].Folder) < sizeof Settings.startdict)
        std::strcpy(Settings.startdict, DictionaryCatalog[chosen].Folder);

    LRESULT style = SendMessageA(Toolbar, TB_GETSTYLE, 0, 0) & ~TBSTYLE_FLAT;
    if (Settings.flat) style |= TBSTYLE_FLAT;
    SendMessageA(Toolbar, TB_SETSTYLE, 0, style);
    SetWindowPos(Toolbar, nullptr, 0, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Toolbar, nullptr, TRUE);

    SetWindowPos(MainWindow, Settings.ontop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    SaveSettings();

    // A second registration under the same id would leave the old key
    // combination working beside the new one.
    UnregisterHotKey(MainWindow, HOTKEY_ID);
    RegisterHotKey(MainWindow, HOTKEY_ID, HotkeyToModifiers(Settings.hotkey), Settings.hotkey & 0xFF);

    SetStartWithWindows(page, Checked(page, IDC_STARTWITHWINDOWS));
}

static INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitializeGeneralPage(page);
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) break;
        if (LOWORD(wParam) == IDC_TRAYMIN) FollowTrayMinimize(page);
        if (LOWORD(wParam) == IDC_MONITOR) FollowClipboardMonitor(page);
        break;
    case WM_NOTIFY:
        // Only a page that was shown gets PSN_APPLY, so an untouched page
        // never overwrites the settings.
        if (reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY) ApplyGeneralPage(page);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        break;
    }
    return 0;
}

static void InitializeAboutPage(HWND page) {
    char text[2048] = {};
    LoadStringA(ProgramInstance, IDS_ABOUTTEXT, text, sizeof text);
    SetDlgItemTextA(page, IDC_ABOUTTEXT, text);
    char version[20] = {};
    LoadStringA(ProgramInstance, IDS_VERSION, version, sizeof version);
    char line[64];
    std::snprintf(line, sizeof line, "Version: %s", version);
    SetDlgItemTextA(page, IDC_VERSION, line);
}

static INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitializeAboutPage(page);
        AttachVersionCheckPage(page);
        break;
    case WM_DESTROY:
        AttachVersionCheckPage(nullptr);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CHECKVERSION) CheckForNewVersion();
        break;
    case WM_NOTIFY:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        break;
    }
    return 0;
}

static HPROPSHEETPAGE CreatePage(int templateId, DLGPROC procedure) {
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof page;
    page.hInstance = ProgramInstance;
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = procedure;
    return CreatePropertySheetPageA(&page);
}

void ShowOptionsSheet(int startPage) {
    HPROPSHEETPAGE pages[2] = {CreatePage(IDD_GENERAL, GeneralPageProc), CreatePage(IDD_ABOUT, AboutPageProc)};
    if (!pages[0] || !pages[1]) {
        if (pages[0]) DestroyPropertySheetPage(pages[0]);
        if (pages[1]) DestroyPropertySheetPage(pages[1]);
        return;
    }
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_NOAPPLYNOW;
    sheet.hwndParent = MainWindow;
    sheet.hInstance = ProgramInstance;
    sheet.pszCaption = "Dictionary Options";
    sheet.nPages = 2;
    sheet.nStartPage = startPage == 0 ? 0 : 1;
    sheet.phpage = pages;
    PropertySheetA(&sheet);
}
