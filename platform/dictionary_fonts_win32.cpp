// The open dictionary's two fonts on the edits and the all-dictionaries list.
#include "platform/dictionary_fonts_win32.h"

#include <cstring>

#include "platform/dictionary_fonts.h"
#include "platform/dpi_scale.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

static HFONT CreateFromRecord(const FontRecord& record) {
    LOGFONTA font;
    static_assert(sizeof font == sizeof record, "the header keeps a LOGFONTA");
    std::memcpy(&font, &record, sizeof font);
    return CreateFontIndirectA(&font);
}

HFONT ReplaceDictionaryFont(DictionaryFont which, const FontRecord& record) {
    bool word = which == DictionaryFont::Word;
    HFONT& handle = word ? WindowState.wordFont : WindowState.descriptionFont;
    HFONT previous = handle;
    // The header keeps the font at 96 DPI; the edits show it at the window's.
    handle = CreateFromRecord(FontRecordAtDpi(record, static_cast<int>(WindowState.dpi)));
    SendDlgItemMessageA(WindowState.mainWindow, word ? IDC_WORD : IDC_DESCRIPTION, WM_SETFONT,
                        reinterpret_cast<WPARAM>(handle), TRUE);
    return previous;
}

void ApplyDictionaryFonts(const FontRecord& wordFont, const FontRecord& descriptionFont) {
    HFONT previous = ReplaceDictionaryFont(DictionaryFont::Word, wordFont);
    if (WindowState.allDictionariesDialog)
        SendDlgItemMessageA(WindowState.allDictionariesDialog, IDC_LIST, WM_SETFONT,
                            reinterpret_cast<WPARAM>(WindowState.wordFont), TRUE);
    if (previous) DeleteObject(previous);
    previous = ReplaceDictionaryFont(DictionaryFont::Description, descriptionFont);
    if (previous) DeleteObject(previous);
}
