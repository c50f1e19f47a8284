#include "ui/suggestions.h"

#include "lookup/suggest.h"
#include "platform/window.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

bool ShowDidYouMean(const char* typed) {
    const MissSuggestions found = SuggestionsForMiss(CurrentDictionary, typed, WindowLookupOptions(PluralRetry::On), 1);
    if (found.words.empty()) return false;
    SetDescriptionEditText(("not found; did you mean " + found.words.front() + "?").c_str());
    SetModified(0);
    return true;
}
