// The open dictionary's fonts on the windows: the word font on the word
// edit and the all-dictionaries list, the description font on the
// description edit. Implemented by dictionary_fonts_win32.cpp and
// headless.cpp.
#pragma once

#include "platform/font_record.h"

void ApplyDictionaryFonts(const FontRecord& wordFont, const FontRecord& descriptionFont);
