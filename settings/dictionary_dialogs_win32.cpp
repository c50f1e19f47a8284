// The two dictionary dialogs, and the font chooser behind the Info dialog's
// two "Set Font" buttons.
#include "settings/dictionary_dialogs_win32.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/cp1251.h"
#include "platform/dictionary_fonts_win32.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/wide_text_win32.h"
#include "platform/files.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "storage/dictionary.h"
#include "storage/dictionary_format.h"
#include "storage/letter_file.h"

namespace {

constexpr size_t kNameBytes = 255;  // the edit has no limit; 255 bytes are read
// Posted to the Info dialog so that the message about a letter file that
// could not be counted comes over the dialog.
constexpr UINT kTellUncounted = WM_APP + 1;

std::wstring WideOfUtf8(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    if (!wide.empty()) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The name typed into the dialog's name edit, at most 255 bytes. A name the
// code page cannot hold is refused by the character, never stored garbled:
// false, after a message box, and the dialog stays.
bool TypedName(HWND dialog, const char* what, std::string* name) {
    char32_t unheld = 0;
    *name = DialogItemText(dialog, IDC_DICTNAME, &unheld);
    if (unheld) {
        std::string text = std::string("The ") + what + " cannot be used: " + UnheldCharacterReason(unheld) + ".";
        ShowMessage(dialog, text.c_str(), "Error", MB_ICONERROR | MB_OK, std::u32string(1, unheld));
        return false;
    }
    if (name->size() > kNameBytes) name->resize(kNameBytes);
    return true;
}

INT_PTR CALLBACK NewDictionaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        CheckDlgButton(dialog, IDC_DUAL, BST_CHECKED);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DICTNAME:
            if (HIWORD(wParam) == EN_CHANGE)
                EnableWindow(GetDlgItem(dialog, IDOK), GetWindowTextLengthW(GetDlgItem(dialog, IDC_DICTNAME)) > 0);
            return TRUE;
        case IDOK: {
            auto* request = reinterpret_cast<NewDictionaryRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
            std::string name;
            // Enter reaches here even while OK is disabled.
            if (!TypedName(dialog, "folder name", &name) || name.empty()) return TRUE;
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
    SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetDlgItemTextW(dialog, id, LogFontOf(record).lfFaceName);
}

// What the Info dialog shows and changes; the dialog keeps the pointer.
struct InfoDialogData {
    Dictionary* dictionary;
    DictionaryInfoChange* change;
    std::wstring uncounted;   // the message about a letter file that could not be counted
};

InfoDialogData& DataOf(HWND dialog) { return *reinterpret_cast<InfoDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// Each sample is drawn in the live object of its font.
void ShowFontSamples(HWND dialog) {
    const Dictionary& dictionary = *DataOf(dialog).dictionary;
    ShowFontSample(dialog, IDC_WORDFONT_SAMPLE, WindowState.wordFont, dictionary.wordFont);
    ShowFontSample(dialog, IDC_DESCFONT_SAMPLE, WindowState.descriptionFont, dictionary.descriptionFont);
}

void SetDlgItemNumber(HWND dialog, int id, unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llu", value);
    SetDialogItemText(dialog, id, text);
}

void FillDictionaryInfo(HWND dialog) {
    Dictionary& dictionary = *DataOf(dialog).dictionary;
    // Shown as Windows gives it, whatever characters the folders above hold.
    std::wstring folder = WideText(dictionary.Path());
    wchar_t full[256];
    DWORD length = GetFullPathNameW(folder.c_str(), 256, full, nullptr);
    // A path that cannot be formed or does not fit: the folder as stored.
    std::wstring shown = length > 0 && length < 256 ? std::wstring(full, length) : WideText(dictionary.folder);
    SetDialogItemText(dialog, IDC_DICTNAME, dictionary.displayName.c_str());
    SetDlgItemTextW(dialog, IDC_FOLDER, shown.c_str());

    // Counting walks every letter file; the letter the main window was
    // showing is loaded again afterwards, so browsing from the shown word
    // does not walk the last letter instead.
    unsigned char shownLetter = dictionary.held.letter;
    Statistics stats = DictionaryStatistics(dictionary);
    LoadLetter(dictionary, shownLetter);
    if (stats.unreadable) {
        // Counts without that file would pass for the whole dictionary's.
        SetDlgItemTextW(dialog, IDC_WORDCOUNT, L"unknown");
        SetDlgItemTextW(dialog, IDC_DICTSIZE, L"unknown");
        // The path is in the code page, the system's reason in UTF-8.
        DataOf(dialog).uncounted =
            L"Could not read the dictionary file '" +
            WideText(PlatformShownPath(LetterPath(dictionary.folder, stats.unreadable))) + L"'" +
            (stats.why.empty() ? L"" : L" (" + WideOfUtf8(stats.why) + L")") +
            L". The word count and size on disk are unknown.";
        PostMessageW(dialog, kTellUncounted, 0, 0);
    } else {
        SetDlgItemNumber(dialog, IDC_WORDCOUNT, stats.entries);
        SetDlgItemNumber(dialog, IDC_DICTSIZE, stats.size);
    }

    CheckDlgButton(dialog, IDC_DUAL, dictionary.dual ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_CASESENSITIVE, dictionary.caseSensitive ? BST_CHECKED : BST_UNCHECKED);

    ShowFontSamples(dialog);
}

// The choice is shown in the edits and the dialog's samples at once and
// saved to the header; a cancelled chooser changes nothing. The chooser
// belongs to the Info dialog: owned by the main window it would enable that
// window on closing while the Info dialog is still up.
void ChooseDictionaryFont(HWND dialog, DictionaryFont which) {
    Dictionary& dictionary = *DataOf(dialog).dictionary;
    FontRecord& record = which == DictionaryFont::Word ? dictionary.wordFont : dictionary.descriptionFont;
    LOGFONTW font = LogFontOf(record);
    // The chooser counts points by the screen's DPI; the header keeps the
    // height at 96 DPI.
    int screenDpi = static_cast<int>(ScreenDpi());
    font.lfHeight = ScaleToDpi(record.height, screenDpi);
    font.lfWidth = ScaleToDpi(record.width, screenDpi);

    CHOOSEFONTW chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = dialog;
    chooser.lpLogFont = &font;
    chooser.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&chooser)) return;

    // The header keeps the face name in the code page.
    FontRecord chosen = record;
    if (char32_t unheld = RecordFontOf(font, chosen)) {
        std::string text = "The font cannot be kept: its name's " + UnheldCharacterReason(unheld) + ".";
        ShowMessage(dialog, text.c_str(), "Error", MB_ICONERROR | MB_OK, std::u32string(1, unheld));
        return;
    }
    chosen.height = StoredFontHeight(font.lfHeight, chooser.iPointSize, screenDpi);
    chosen.width = ScaleFromDpi(font.lfWidth, screenDpi);
    record = chosen;
    // The replaced object goes only when no sample draws with it any more.
    HFONT replaced = ReplaceDictionaryFont(which, record);
    ShowFontSamples(dialog);
    if (replaced) DeleteObject(replaced);
    WriteDictionaryHeader(dictionary, nullptr);
}

INT_PTR CALLBACK DictionaryInfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillDictionaryInfo(dialog);
        return TRUE;
    case kTellUncounted:
        // A modal dialog is shown only once its queue is empty: show it
        // first, so the message comes over the counts it speaks of.
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        MessageBoxW(dialog, DataOf(dialog).uncounted.c_str(), L"Error", MB_ICONERROR | MB_OK);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            DictionaryInfoChange* change = DataOf(dialog).change;
            std::string name;
            if (!TypedName(dialog, "name", &name)) return TRUE;
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
    return DialogBoxParamW(WindowState.instance, MAKEINTRESOURCEW(IDD_NEWDICT), WindowState.mainWindow,
                           NewDictionaryDialogProc, reinterpret_cast<LPARAM>(request)) == IDOK;
}

bool ShowDictionaryInfo(Dictionary& dictionary, DictionaryInfoChange* change) {
    InfoDialogData data{&dictionary, change, std::wstring()};
    return DialogBoxParamW(WindowState.instance, MAKEINTRESOURCEW(IDD_DICTINFO), WindowState.mainWindow,
                           DictionaryInfoDialogProc, reinterpret_cast<LPARAM>(&data)) == IDOK;
}
