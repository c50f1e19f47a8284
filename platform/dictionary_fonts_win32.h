// The dictionary fonts as font objects: the word edit, the all-dictionaries
// list and the Info dialog's samples draw with the objects kept in
// WindowState.
#pragma once

#include <windows.h>

#include "platform/font_record.h"

enum class DictionaryFont { Word, Description };

// Makes a new object from `record` for one of the two fonts and gives it to
// its edit. Returns the object it replaced, which the caller releases once
// none of its own controls draws with it.
HFONT ReplaceDictionaryFont(DictionaryFont which, const FontRecord& record);
