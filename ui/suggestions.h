// Spelling suggestions for the open dictionary (lookup/suggest.h), as the
// Similar Words dialog, the double-copy pop-up and the tool ask for them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "lookup/suggest.h"

struct OpenSuggestions {
    bool wordFound = false;           // the look-up finds the word: no suggestions
    std::vector<std::string> words;   // best first
    // Letters whose file could not be read: their words were not searched.
    std::vector<unsigned char> unreadable;
};
// The suggestions for the typed word (its blanks around it passed over)
// when the look-up, with `plural` and `forms` as the caller looks words
// up, does not find it; none when it does. The lists come from the open
// dictionary's letter files as they are now (storage/dictionary_words.h).
OpenSuggestions SuggestionsForMiss(const char* typed, PluralRetry plural, BaseForms forms,
                                   size_t limit = kMostSuggestions);
// For a copied word that is not found: when it has a suggestion, the
// description edit shows "not found; did you mean WORD?" (true), and the
// edits count as unchanged, so that Add never stores that text.
bool ShowDidYouMean(const char* typed);
