// Dictionaries as the user sees them: opening one shows its name in the
// title, its fonts on the edits and the typed word looked up in it.
#pragma once

#include "storage/dictionary.h"

// Opens the dictionary in `folder` as the window's (storage/dictionary.h)
// and, when it was not open, sets the title, looks the typed word up again
// (clearing the description when it is not found) and applies its fonts.
OpenOutcome SelectDictionary(const char* folder);
// F8 / F7: the next (previous) dictionary of the catalogue, wrapping.
void NextDictionary();
void PreviousDictionary();
// The dictionaries as a menu under the toolbar's dictionary button.
void DictionaryMenu();
// At start: lists the program folder's dictionaries, tells the user of
// each one left out because code page 1251 cannot hold its folder's name
// (so that it can be renamed), and opens the one the settings name.
void OpenStartDictionary();

// After the new-dictionary dialog: creates the dictionary, lists the
// catalogue again, opens the first one of the catalogue when no letter has
// been loaded yet, and tells the user how it went.
void NewDictionary(const char* folder, int dual, int caseSensitive);
// After the information dialog's OK: rewrites the header with its fields
// and shows the new name in the title and the catalogue.
void ApplyDictionaryInfo(const HeaderEdit& edit);
