// The two dictionary dialogs, and the font chooser behind the Info dialog's
// two "Set Font" buttons.
#include "settings/dictionary_dialogs_win32.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/dictionary_fonts_win32.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/files.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "storage/dictionary.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"

namespace {

constexpr int kNameBytes = 256;  // the edit has no limit; 255 bytes are read
// Posted to the Info dialog so that the message about a letter file that
// could not be counted comes over the dialog.
constexpr UINT kTellUncounted = WM_APP + 1;
std::string UncountedMessage;

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

INT_PTR CALLBACK NewDictionaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        CheckDlgButton(dialog, IDC_DUAL, BST_CHECKED);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DICTNAME:
            if (HIWORD(wParam) == EN_CHANGE) {
                char name[kNameBytes];
                GetDlgItemTextA(dialog, IDC_DICTNAME, name, sizeof name);
                EnableWindow(GetDlgItem(dialog, IDOK), name[0] != '\0');
            }
            return TRUE;
        case IDOK: {
            auto* request = reinterpret_cast<NewDictionaryRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char name[kNameBytes];
            GetDlgItemTextA(dialog, IDC_DICTNAME, name, sizeof name);
            // Enter reaches here even while OK is disabled.
            if (name[0] == '\0') return TRUE;
            *request = {name, Checked(dialog, IDC_DUAL), Checked(dialog, IDC_CASESENSITIVE)};
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void ShowFontSample(HWND dialog, int id, HFONT font, const FontRecord& record) {
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    char face[sizeof record.faceName + 1] = {};
    std::memcpy(face, record.faceName, sizeof record.faceName);
    SetDlgItemTextA(dialog, id, face);
}

// Each sample is drawn in the live object of its font.
void ShowFontSamples(HWND dialog) {
    ShowFontSample(dialog, IDC_WORDFONT_SAMPLE, WindowState.wordFont, CurrentDictionary.WordFont);
    ShowFontSample(dialog, IDC_DESCFONT_SAMPLE, WindowState.descriptionFont, CurrentDictionary.DescriptionFont);
}

void SetDlgItemNumber(HWND dialog, int id, unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llu", value);
    SetDlgItemTextA(dialog, id, text);
}

void FillDictionaryInfo(HWND dialog) {
    char fullPath[256];
    DWORD length = GetFullPathNameA(CurrentDictionary.Folder, sizeof fullPath, fullPath, nullptr);
    // A path that cannot be formed or does not fit: the folder as stored.
    if (length == 0 || length >= sizeof fullPath)
        std::snprintf(fullPath, sizeof fullPath, "%s", CurrentDictionary.Folder);
    SetDlgItemTextA(dialog, IDC_DICTNAME, CurrentDictionary.DisplayName);
    SetDlgItemTextA(dialog, IDC_FOLDER, fullPath);

    // Counting walks every letter file; the letter the main window was
    // showing is loaded again afterwards, so browsing from the shown word
    // does not walk the last letter instead.
    unsigned char shownLetter = LetterBuffer.Letter;
    Statistics stats = DictionaryStatistics();
    LoadLetter(shownLetter);
    if (stats.unreadable) {
        // Counts without that file would pass for the whole dictionary's.
        SetDlgItemTextA(dialog, IDC_WORDCOUNT, "unknown");
        SetDlgItemTextA(dialog, IDC_DICTSIZE, "unknown");
        UncountedMessage = "Could not read the dictionary file '" +
                           PlatformShownPath(LetterPath(CurrentDictionary.Folder, stats.unreadable)) + "'" +
                           (stats.why.empty() ? "" : " (" + stats.why + ")") +
                           ". The word count and size on disk are unknown.";
        PostMessageA(dialog, kTellUncounted, 0, 0);
    } else {
        SetDlgItemNumber(dialog, IDC_WORDCOUNT, stats.entries);
        SetDlgItemNumber(dialog, IDC_DICTSIZE, stats.size);
    }

    CheckDlgButton(dialog, IDC_DUAL, CurrentDictionary.Dual ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CASESENSITIVE, CurrentDictionary.CaseSensitive ? BST_CHECKED : BST_UNCHECKED);

    ShowFontSamples(dialog);
}

// The choice is shown in the edits and the dialog's samples at once and
// saved to the header; a cancelled chooser changes nothing. The chooser
// belongs to the Info dialog: owned by the main window it would enable that
// window on closing while the Info dialog is still up.
void ChooseDictionaryFont(HWND dialog, DictionaryFont which) {
    FontRecord& record = which == DictionaryFont::Word ? CurrentDictionary.WordFont : CurrentDictionary.DescriptionFont;
    LOGFONTA font;
    static_assert(sizeof font == sizeof record, "the header keeps a LOGFONTA");
    // The chooser counts points by the screen's DPI; the header keeps the
    // height at 96 DPI.
    int screenDpi = static_cast<int>(ScreenDpi());
    std::memcpy(&font, &record, sizeof font);
    font.lfHeight = ScaleToDpi(record.height, screenDpi);
    font.lfWidth = ScaleToDpi(record.width, screenDpi);

    CHOOSEFONTA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = dialog;
    chooser.lpLogFont = &font;
    chooser.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&chooser)) return;

    std::memcpy(&record, &font, sizeof record);
    record.height = StoredFontHeight(font.lfHeight, chooser.iPointSize, screenDpi);
    record.width = ScaleFromDpi(font.lfWidth, screenDpi);
    // The replaced object goes only when no sample draws with it any more.
    HFONT replaced = ReplaceDictionaryFont(which, record);
    ShowFontSamples(dialog);
    if (replaced) DeleteObject(replaced);
    WriteDictionaryHeader(nullptr);
}

INT_PTR CALLBACK DictionaryInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        FillDictionaryInfo(dialog);
        return TRUE;
    case kTellUncounted:
        // A modal dialog is shown only once its queue is empty: show it
        // first, so the message comes over the counts it speaks of.
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        MessageBoxA(dialog, UncountedMessage.c_str(), "Error", MB_ICONERROR | MB_OK);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            auto* change = reinterpret_cast<DictionaryInfoChange*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char name[kNameBytes];
            GetDlgItemTextA(dialog, IDC_DICTNAME, name, sizeof name);
            *change = {name, Checked(dialog, IDC_DUAL), Checked(dialog, IDC_CASESENSITIVE)};
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
        case IDCLOSE:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_WORDFONT_SET:
            ChooseDictionaryFont(dialog, DictionaryFont::Word);
            return TRUE;
        case IDC_DESCFONT_SET:
            ChooseDictionaryFont(dialog, DictionaryFont::Description);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool AskNewDictionary(NewDictionaryRequest* request) {
    return DialogBoxParamA(WindowState.instance, MAKEINTRESOURCEA(IDD_NEWDICT), WindowState.mainWindow,
                           NewDictionaryDialogProc, reinterpret_cast<LPARAM>(request)) == IDOK;
}

bool ShowDictionaryInfo(DictionaryInfoChange* change) {
    return DialogBoxParamA(WindowState.instance, MAKEINTRESOURCEA(IDD_DICTINFO), WindowState.mainWindow,
                           DictionaryInfoDialogProc, reinterpret_cast<LPARAM>(change)) == IDOK;
}
