// "Create new dictionary" and "Dictionary Info": the two modal dialogs
// about dictionaries. Each returns what the user asked for; the caller
// makes the change and tells the user (ui/dictionary_commands.h).
#pragma once

#include <string>

#include "storage/dictionary.h"

struct NewDictionaryRequest {
    std::string folder;   // up to 255 bytes as typed
    bool dual;
    bool caseSensitive;
};
// Asks for a new dictionary's folder and flags; false when cancelled.
bool AskNewDictionary(NewDictionaryRequest* request);

struct DictionaryInfoChange {
    std::string name;
    bool dual;
    bool caseSensitive;
};
// Shows the dictionary's folder, counts, flags and fonts. A font chosen
// here goes to the edits and the header at once. True when the user closed
// it with OK: `change` holds the name and flags to store.
bool ShowDictionaryInfo(Dictionary& dictionary, DictionaryInfoChange* change);
