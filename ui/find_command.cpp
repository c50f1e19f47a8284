#include "ui/find_command.h"

#include <string>

#include "platform/files.h"
#include "platform/window.h"
#include "storage/dictionary_format.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"
#include "ui/search_commands.h"

void FindCommand() {
    const LookupResult result = LookupWord(MissedDescription::Clear, PluralRetry::On);
    if (result == LookupResult::Ok) {
        SetModified(0);
    } else if (unsigned char letter = EditState.UnreadLetter) {
        // Not "not found": the words of that letter could not be read.
        std::string file = PlatformShownPath(LetterPath(CurrentDictionary.folder, letter));
        ShowMessageBox(("Could not read the dictionary file '" + file + "'.").c_str(), "Error", kMsgIconError);
        SetModified(1);
    } else if (Settings.similarOnNotFound) {
        SetModified(ShowSimilarWords() ? 0 : 1);
    } else {
        SetDescriptionEditText("");
        SetModified(1);
    }
}
