// The catalogue of the dictionaries beside the program (DictionaryCatalog,
// storage/dictionary_state.h): listing them and finding slots.
#pragma once

#include <vector>

#include "platform/files.h"

// Refills the catalogue: every folder of the program folder that holds a
// header and does not begin with '.', at most kCatalogSlots of them.
void ListDictionaries();
// The folders with a header that the listing leaves out because code page
// 1251 cannot hold their names (Windows), so that the user can be told.
std::vector<UnnamableFolder> UnlistedDictionaries();
// The first slot whose display name (byDisplayName non-zero) or folder
// equals `name` without regard to ASCII case; -1 when there is none.
int FindCatalogIndex(const char* name, int byDisplayName);
// The slot of the open dictionary's folder, or -1.
int CurrentCatalogIndex();
// The slot after (before) the open dictionary's, wrapping around; -1 when
// there is nowhere to go: fewer than two dictionaries, or the open one is
// not listed.
int NextCatalogIndex();
int PreviousCatalogIndex();
