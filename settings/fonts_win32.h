// The open dictionary's two font objects: the word edit, the
// all-dictionaries list and the Info dialog's samples draw with them.
#pragma once

#include <windows.h>

extern HFONT WordFontHandle;
extern HFONT DescriptionFontHandle;

// Makes a new object from one of CurrentDictionary's fonts (0: the word
// font, otherwise the description font) and gives it to its edit. Returns
// the object it replaced, which the caller releases once none of its own
// controls draws with it.
HFONT ReplaceDictionaryFont(int which);
