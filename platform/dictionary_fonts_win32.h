// The dictionary fonts as font objects: the word edit, the all-dictionaries
// list and the Info dialog's samples draw with the objects kept in
// WindowState.
#pragma once

#include <windows.h>

#include "platform/font_record.h"

enum class DictionaryFont { Word, Description };

// A stored record (the 60 bytes of a LOGFONTA, its face name in code page
// 1251) as the wide structure, and back. Every number, the charset
// included, is kept as it is. Back fails, changing nothing, when the code
// page cannot hold the face name: it returns the first such character.
LOGFONTW LogFontOf(const FontRecord& record);
char32_t RecordFontOf(const LOGFONTW& font, FontRecord& record);

// Makes a new object from `record` for one of the two fonts and gives it to
// its edit. Returns the object it replaced, which the caller releases once
// none of its own controls draws with it.
HFONT ReplaceDictionaryFont(DictionaryFont which, const FontRecord& record);
