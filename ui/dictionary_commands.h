// Dictionaries as the user sees them: opening one shows its name in the
// title, its fonts on the edits and the typed word looked up in it.
#pragma once

#include "storage/dictionary.h"

// Opens the dictionary in `folder` (storage/dictionary.h) and, when it was
// not open, sets the title, looks the typed word up again (clearing the
// description when it is not found) and applies its fonts.
int SelectDictionary(const char* folder);
// F8 / F7: the next (previous) dictionary of the catalogue, wrapping.
void NextDictionary();
void PreviousDictionary();
// The dictionaries as a menu under the toolbar's dictionary button.
void DictionaryMenu();
// Tells the user of each dictionary left out of the catalogue because code
// page 1251 cannot hold its folder's name, so that it can be renamed.
void TellUnlistedDictionaries();

// After the new-dictionary dialog: creates the dictionary, opens the first
// one of the catalogue when no letter has been loaded yet, and tells the
// user how it went.
void NewDictionary(const char* folder, int dual, int caseSensitive);
// After the information dialog's OK: rewrites the header with its fields
// and shows the new name in the title.
void ApplyDictionaryInfo(const HeaderEdit& edit);
