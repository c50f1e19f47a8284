// The open dictionary and the catalogue of the dictionaries found beside
// the program: storage's state, with the held letter (letter_buffer.h).
#pragma once

#include <cstdint>

#include "platform/font_record.h"
#include "storage/dictionary_format.h"
#include "storage/text_case.h"

constexpr int kCatalogSlots = 100;
constexpr int kCatalogFolderSize = 192;

struct OpenDictionaryRecord {
    char Folder[256];        // empty: no dictionary is open
    char DisplayName[256];
    int32_t Dual;
    int32_t CaseSensitive;
    FontRecord WordFont;
    FontRecord DescriptionFont;
};
extern OpenDictionaryRecord CurrentDictionary;

struct CatalogEntry {
    char Folder[kCatalogFolderSize];
    // The header's first 64 bytes plus a terminator of our own, so a name
    // that fills its whole field still reads as a string.
    char DisplayName[kHeaderNameSize + 1];
};
// Slots are filled from 0 in the order the folder listing gives; a slot's
// index is the dictionary's identity in menus and result lists.
struct CatalogRecord {
    CatalogEntry Slots[kCatalogSlots];
    int Count;
};
extern CatalogRecord DictionaryCatalog;

bool IsDictionaryOpen();
// How the open dictionary compares its words.
CaseRule OpenCaseRule();
// No dictionary open, an empty catalogue and no letter held.
void ResetDictionaryState();
