// The catalogue of the dictionaries in a program folder: listing them and
// finding slots. A value: the window keeps one, the tool lists its own.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/dictionary.h"
#include "storage/dictionary_format.h"

constexpr int kCatalogSlots = 100;

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
    int Count = 0;
};

// Every folder of `programFolder` ("": the folder the caller made current)
// that holds a header and does not begin with '.', at most kCatalogSlots of
// them.
CatalogRecord ListDictionaries(const std::string& programFolder);
// The folders with a header that the listing leaves out because code page
// 1251 cannot hold their names (Windows), so that the user can be told.
std::vector<UnnamableFolder> UnlistedDictionaries(const std::string& programFolder);
// The first slot whose display name (byDisplayName non-zero) or folder
// equals `name` without regard to ASCII case; -1 when there is none.
int FindCatalogIndex(const CatalogRecord& catalog, const char* name, int byDisplayName);
// The slot of the dictionary's folder, or -1.
int CatalogIndexOf(const CatalogRecord& catalog, const Dictionary& dictionary);
// The slot after (before) the dictionary's, wrapping around; -1 when there
// is nowhere to go: fewer than two dictionaries, or it is not listed.
int NextCatalogIndex(const CatalogRecord& catalog, const Dictionary& dictionary);
int PreviousCatalogIndex(const CatalogRecord& catalog, const Dictionary& dictionary);
