#include "ui/find_command.h"

#include "platform/window.h"
#include "settings/settings.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/search_commands.h"

void FindCommand() {
    int result = LookupWord(MissedDescription::Clear, PluralRetry::On);
    if (result == kResultOk) {
        SetModified(0);
    } else if (Settings.similarOnNotFound) {
        SetModified(ShowSimilarWords() ? 0 : 1);
    } else {
        SetDescriptionEditText("");
        SetModified(1);
    }
}
