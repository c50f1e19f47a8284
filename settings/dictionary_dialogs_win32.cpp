// "Create new dictionary" and "Dictionary Info": the two modal dialogs that
// make a dictionary and look after the open one, and the font chooser
// behind the Info dialog's two "Set Font" buttons.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "res/resource.h"
#include "settings/fonts_win32.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "ui/windows_win32.h"

namespace {

constexpr int kNameBytes = 256;  // the edit has no limit; 255 bytes are read

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

INT_PTR CALLBACK NewDictionaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
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
            int dual = Checked(dialog, IDC_DUAL) ? 1 : 0;
            int caseSensitive = Checked(dialog, IDC_CASESENSITIVE) ? 1 : 0;
            char name[kNameBytes];
            GetDlgItemTextA(dialog, IDC_DICTNAME, name, sizeof name);
            // Enter reaches here even while OK is disabled.
            if (name[0] == '\0') return TRUE;
            // Hidden first: CreateDictionary's message box stands alone.
            ShowWindow(dialog, SW_HIDE);
            CreateDictionary(name, dual, caseSensitive);
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
    ShowFontSample(dialog, IDC_WORDFONT_SAMPLE, WordFontHandle, CurrentDictionary.WordFont);
    ShowFontSample(dialog, IDC_DESCFONT_SAMPLE, DescriptionFontHandle, CurrentDictionary.DescriptionFont);
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
    SetDlgItemNumber(dialog, IDC_WORDCOUNT, stats.entries);
    SetDlgItemNumber(dialog, IDC_DICTSIZE, stats.size);

    CheckDlgButton(dialog, IDC_DUAL, CurrentDictionary.Dual ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CASESENSITIVE, CurrentDictionary.CaseSensitive ? BST_CHECKED : BST_UNCHECKED);

    ShowFontSamples(dialog);
}

// 0: the word font; otherwise the description font. The choice is shown in
// the edits and the dialog's samples at once and saved to the header; a
// cancelled chooser changes nothing. The chooser belongs to the Info
// dialog: owned by the main window it would enable that window on closing
// while the Info dialog is still up.
void ChooseDictionaryFont(HWND dialog, int which) {
    FontRecord& record = which == 0 ? CurrentDictionary.WordFont : CurrentDictionary.DescriptionFont;
    LOGFONTA font;
    static_assert(sizeof font == sizeof record, "the header keeps a LOGFONTA");
    std::memcpy(&font, &record, sizeof font);

    CHOOSEFONTA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = dialog;
    chooser.lpLogFont = &font;
    chooser.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&chooser)) return;

    std::memcpy(&record, &font, sizeof record);
    // The replaced object goes only when no sample draws with it any more.
    HFONT replaced = ReplaceDictionaryFont(which);
    ShowFontSamples(dialog);
    if (replaced) DeleteObject(replaced);
    WriteDictionaryHeader(nullptr);
}

INT_PTR CALLBACK DictionaryInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FillDictionaryInfo(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            char name[kNameBytes];
            GetDlgItemTextA(dialog, IDC_DICTNAME, name, sizeof name);
            HeaderEdit edit{name, Checked(dialog, IDC_DUAL), Checked(dialog, IDC_CASESENSITIVE)};
            WriteDictionaryHeader(&edit);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
        case IDCLOSE:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_WORDFONT_SET:
            ChooseDictionaryFont(dialog, 0);
            return TRUE;
        case IDC_DESCFONT_SET:
            ChooseDictionaryFont(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void ShowNewDictionaryDialog() {
    DialogBoxParamA(ProgramInstance, MAKEINTRESOURCEA(IDD_NEWDICT), MainWindow, NewDictionaryDialogProc, 0);
}

void ShowDictionaryInfo() {
    if (CatalogCount == 0 || CurrentDictionary.Folder[0] == '\0') return;
    DialogBoxParamA(ProgramInstance, MAKEINTRESOURCEA(IDD_DICTINFO), MainWindow, DictionaryInfoDialogProc, 0);
}
