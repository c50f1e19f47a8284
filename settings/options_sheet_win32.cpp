#include "settings/options_sheet_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "platform/wide_text_win32.h"
#include "platform/window_options_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "settings/about_picture_win32.h"
#include "settings/hotkey.h"
#include "settings/settings.h"
#include "settings/start_with_windows_win32.h"
#include "settings/version_check_win32.h"
#include "storage/catalog.h"

// Check boxes of the General page and the field each one shows, in the
// order they are set.
static const struct { int control; int32_t SettingsRecord::*field; } kCheckBoxes[] = {
    {IDC_STARTINBUL, &SettingsRecord::startInBulgarian},
    {IDC_SIMONNOTFOUND, &SettingsRecord::similarOnNotFound},
    {IDC_CLIPCOPY, &SettingsRecord::lookUpClipboardAtStart},
    {IDC_TRAYMIN, &SettingsRecord::minimizeToTray},
    {IDC_STARTMIN, &SettingsRecord::startMinimized},
    {IDC_MONITOR, &SettingsRecord::lookUpClipboardOnShow},
    {IDC_DBLPOPUP, &SettingsRecord::popUpOnDoubleCopy},
    {IDC_TOOLTIPS, &SettingsRecord::showTooltips},
    {IDC_FLAT, &SettingsRecord::flatToolbar},
    {IDC_MINONCLOSE, &SettingsRecord::hideOnClose},
    {IDC_MULTINST, &SettingsRecord::allowSeveralInstances},
    {IDC_ONTOP, &SettingsRecord::alwaysOnTop},
    {IDC_AUTOCOMPLETE, &SettingsRecord::autoComplete},
    {IDC_MINONFOCUS, &SettingsRecord::hideOnFocusLoss},
    {IDC_BASEFORMS, &SettingsRecord::findBaseForms},
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

// What the General page shows and changes; its page keeps the pointer.
struct GeneralPageData {
    SettingsRecord* settings;
    const CatalogRecord* catalog;
};

static GeneralPageData& DataOf(HWND page) {
    return *reinterpret_cast<GeneralPageData*>(GetWindowLongPtrW(page, DWLP_USER));
}

static void InitializeGeneralPage(HWND page) {
    SettingsRecord& settings = *DataOf(page).settings;
    const CatalogRecord& catalog = *DataOf(page).catalog;
    for (const auto& box : kCheckBoxes)
        CheckDlgButton(page, box.control, settings.*box.field ? BST_CHECKED : BST_UNCHECKED);
    // The marks stay as stored: only the parent's click clears them.
    if (!settings.minimizeToTray) {
        Enable(page, IDC_STARTMIN, false);
        Enable(page, IDC_MINONCLOSE, false);
    }
    if (!settings.lookUpClipboardOnShow) Enable(page, IDC_DBLPOPUP, false);

    HWND list = GetDlgItem(page, IDC_STARTDICT);
    for (int i = 0; i < catalog.Count; ++i) {
        std::wstring name = WideText(catalog.Slots[i].DisplayName);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, FindCatalogIndex(catalog, settings.startDictionary, 0), 0);

    SendDlgItemMessageW(page, IDC_HOTKEY, HKM_SETHOTKEY, settings.hotKey, 0);
    // Asked each time: the user or another program may have changed it.
    CheckDlgButton(page, IDC_STARTWITHWINDOWS, StartsWithWindows() ? BST_CHECKED : BST_UNCHECKED);
}

static void ApplyGeneralPage(HWND page) {
    SettingsRecord& settings = *DataOf(page).settings;
    const CatalogRecord& catalog = *DataOf(page).catalog;
    for (const auto& box : kCheckBoxes) {
        settings.*box.field = Checked(page, box.control) ? 1 : 0;
        if (box.field == &SettingsRecord::popUpOnDoubleCopy && !settings.lookUpClipboardOnShow)
            settings.popUpOnDoubleCopy = 0;
    }
    settings.hotKey = static_cast<uint32_t>(SendDlgItemMessageW(page, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));

    ShowTrayIcon(settings.minimizeToTray != 0);

    // A folder name too long to be stored as the start dictionary would name
    // none at the next start; the previous choice is kept instead.
    LRESULT chosen = SendDlgItemMessageW(page, IDC_STARTDICT, CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && chosen < catalog.Count &&
        std::strlen(catalog.Slots[chosen].Folder) < sizeof settings.startDictionary)
        std::strcpy(settings.startDictionary, catalog.Slots[chosen].Folder);

    SetToolbarFlat(settings.flatToolbar != 0);
    SetMainWindowTopmost(settings.alwaysOnTop != 0);
    SaveSettings(settings);
    RegisterShowHotKey(HotkeyToModifiers(settings.hotKey), settings.hotKey & 0xFF);
    SetStartWithWindows(page, Checked(page, IDC_STARTWITHWINDOWS));
}

static INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
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
        SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
        break;
    }
    return 0;
}

static void InitializeAboutPage(HWND page) {
    wchar_t text[2048] = {};
    LoadStringW(WindowState.instance, IDS_ABOUTTEXT, text, 2048);
    SetDlgItemTextW(page, IDC_ABOUTTEXT, text);
    wchar_t version[20] = {};
    LoadStringW(WindowState.instance, IDS_VERSION, version, 20);
    SetDlgItemTextW(page, IDC_VERSION, (std::wstring(L"Version: ") + version).c_str());
}

static INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitializeAboutPage(page);
        ShowAboutPicture(page);
        AttachVersionCheckPage(page);
        break;
    case WM_DESTROY:
        ReleaseAboutPicture(page);
        AttachVersionCheckPage(nullptr);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CHECKVERSION) CheckForNewVersion();
        break;
    case WM_NOTIFY:
        SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
        break;
    }
    return 0;
}

static HPROPSHEETPAGE CreatePage(int templateId, DLGPROC procedure, LPARAM data = 0) {
    PROPSHEETPAGEW page = {};
    page.lParam = data;
    page.dwSize = sizeof page;
    page.hInstance = WindowState.instance;
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pfnDlgProc = procedure;
    return CreatePropertySheetPageW(&page);
}

void ShowOptionsSheet(OptionsPage startPage, SettingsRecord& settings, const CatalogRecord& catalog) {
    GeneralPageData general{&settings, &catalog};
    HPROPSHEETPAGE pages[2] = {CreatePage(IDD_GENERAL, GeneralPageProc, reinterpret_cast<LPARAM>(&general)),
                               CreatePage(IDD_ABOUT, AboutPageProc)};
    if (!pages[0] || !pages[1]) {
        if (pages[0]) DestroyPropertySheetPage(pages[0]);
        if (pages[1]) DestroyPropertySheetPage(pages[1]);
        return;
    }
    PROPSHEETHEADERW sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_NOAPPLYNOW;
    sheet.hwndParent = WindowState.mainWindow;
    sheet.hInstance = WindowState.instance;
    sheet.pszCaption = L"Dictionary Options";
    sheet.nPages = 2;
    sheet.nStartPage = startPage == OptionsPage::General ? 0 : 1;
    sheet.phpage = pages;
    PropertySheetW(&sheet);
}
