// Opening, creating and renaming dictionaries. Nothing here talks to the
// user: the outcomes say what happened, and the caller tells.
#pragma once

#include <cstdint>

#include "storage/lookup_result.h"

// True when `folder` names the open dictionary (ASCII case aside).
bool IsOpenDictionary(const char* folder);
// Reads the header of `folder` into CurrentDictionary and drops the held
// letter. kResultOk, also when it is open already (then nothing changes);
// kResultHeaderCannotOpen when its header cannot be read (nothing changes).
// A change of several files that a killed writer left is finished first.
int OpenDictionary(const char* folder);

enum class CreateOutcome { Created, AlreadyExists, FolderFailed, FileFailed };
// Makes the folder (unless it is there without a header) with a new header:
// the folder name as the display name, the two flags and DefaultFont twice.
// On success the catalogue is listed again.
CreateOutcome CreateDictionary(const char* folder, int dual, int caseSensitive);

// The information dialog's fields: the display name and the two flags.
struct HeaderEdit {
    const char* name;
    bool dual;
    bool caseSensitive;
};
// Rewrites the open dictionary's header from CurrentDictionary, with the
// dialog's fields when `edit` is given; the new name also goes to the
// catalogue slot that had the old one. False, changing nothing, when the
// header cannot be read or written.
bool WriteDictionaryHeader(const HeaderEdit* edit);

// True for a name that is one plain folder inside the program folder.
bool IsPlainFolderName(const char* name);
