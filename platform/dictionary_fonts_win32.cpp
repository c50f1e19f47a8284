// The open dictionary's two fonts on the edits and the all-dictionaries list.
#include "platform/dictionary_fonts_win32.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

#include "platform/dictionary_fonts.h"
#include "platform/dpi_scale.h"
#include "platform/wide_text_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

// The numbers of the two structures are the same fields in the same order;
// only the face name differs in its characters.
LOGFONTW LogFontOf(const FontRecord& record) {
    static_assert(offsetof(LOGFONTW, lfFaceName) == offsetof(FontRecord, faceName), "the fields before the name");
    LOGFONTW font = {};
    std::memcpy(&font, &record, offsetof(FontRecord, faceName));
    size_t length = strnlen(record.faceName, sizeof record.faceName);
    std::wstring face = WideText(std::string(record.faceName, length));
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return font;
}

char32_t RecordFontOf(const LOGFONTW& font, FontRecord& record) {
    char32_t unheld = 0;
    std::string face = Cp1251Text(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE), &unheld);
    if (unheld) return unheld;
    std::memcpy(&record, &font, offsetof(FontRecord, faceName));
    std::memset(record.faceName, 0, sizeof record.faceName);
    face.copy(record.faceName, sizeof record.faceName - 1);
    return 0;
}

static HFONT CreateFromRecord(const FontRecord& record) {
    LOGFONTW font = LogFontOf(record);
    return CreateFontIndirectW(&font);
}

HFONT ReplaceDictionaryFont(DictionaryFont which, const FontRecord& record) {
    bool word = which == DictionaryFont::Word;
    HFONT& handle = word ? WindowState.wordFont : WindowState.descriptionFont;
    HFONT previous = handle;
    // The header keeps the font at 96 DPI; the edits show it at the window's.
    handle = CreateFromRecord(FontRecordAtDpi(record, static_cast<int>(WindowState.dpi)));
    SendDlgItemMessageW(WindowState.mainWindow, word ? IDC_WORD : IDC_DESCRIPTION, WM_SETFONT,
                        reinterpret_cast<WPARAM>(handle), TRUE);
    return previous;
}

void ApplyDictionaryFonts(const FontRecord& wordFont, const FontRecord& descriptionFont) {
    HFONT previous = ReplaceDictionaryFont(DictionaryFont::Word, wordFont);
    if (WindowState.allDictionariesDialog)
        SendDlgItemMessageW(WindowState.allDictionariesDialog, IDC_LIST, WM_SETFONT,
                            reinterpret_cast<WPARAM>(WindowState.wordFont), TRUE);
    if (previous) DeleteObject(previous);
    previous = ReplaceDictionaryFont(DictionaryFont::Description, descriptionFont);
    if (previous) DeleteObject(previous);
}
