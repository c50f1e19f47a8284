// The open dictionary's two fonts on the edits.
#include <windows.h>

#include <cstring>

#include "res/resource.h"
#include "settings/fonts_win32.h"
#include "storage/dictionary.h"
#include "ui/windows_win32.h"

HFONT WordFontHandle = nullptr;
HFONT DescriptionFontHandle = nullptr;
// Owned by ui/similar_dialogs_win32.cpp; its list shows words in the word font.
extern HWND AllDictionariesDialog;

static HFONT CreateFromRecord(const FontRecord& record) {
    LOGFONTA font;
    static_assert(sizeof font == sizeof record, "the header keeps a LOGFONTA");
    std::memcpy(&font, &record, sizeof font);
    return CreateFontIndirectA(&font);
}

void ApplyDictionaryFonts() {
    HFONT previous = WordFontHandle;
    WordFontHandle = CreateFromRecord(CurrentDictionary.WordFont);
    SendDlgItemMessageA(MainWindow, IDC_WORD, WM_SETFONT, reinterpret_cast<WPARAM>(WordFontHandle), TRUE);
    if (AllDictionariesDialog)
        SendDlgItemMessageA(AllDictionariesDialog, IDC_LIST, WM_SETFONT, reinterpret_cast<WPARAM>(WordFontHandle),
                            TRUE);
    if (previous) DeleteObject(previous);

    previous = DescriptionFontHandle;
    DescriptionFontHandle = CreateFromRecord(CurrentDictionary.DescriptionFont);
    SendDlgItemMessageA(MainWindow, IDC_DESCRIPTION, WM_SETFONT, reinterpret_cast<WPARAM>(DescriptionFontHandle),
                        TRUE);
    if (previous) DeleteObject(previous);
}

HFONT ReplaceDictionaryFont(int which) {
    bool word = which == 0;
    HFONT& handle = word ? WordFontHandle : DescriptionFontHandle;
    HFONT previous = handle;
    handle = CreateFromRecord(word ? CurrentDictionary.WordFont : CurrentDictionary.DescriptionFont);
    SendDlgItemMessageA(MainWindow, word ? IDC_WORD : IDC_DESCRIPTION, WM_SETFONT, reinterpret_cast<WPARAM>(handle),
                        TRUE);
    return previous;
}
