#include "ui/suggestions.h"

#include "lookup/word_counts.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "ui/edit_state.h"

OpenSuggestions SuggestionsForMiss(const char* typed, PluralRetry plural, BaseForms forms, size_t limit) {
    OpenSuggestions found;
    std::string word(typed);
    word.erase(word.find_last_not_of(' ') + 1);
    if (!IsDictionaryOpen() || word.find_first_not_of(' ') == std::string::npos) return found;
    const CaseRule rule = OpenCaseRule();
    found.wordFound = FindWord(word.c_str(), rule, plural, forms).result == kResultOk;
    if (found.wordFound) return found;
    const DictionaryWords words = WordsOfDictionary(CurrentDictionary.Folder, rule);
    found.unreadable = words.unreadable;
    for (Suggestion& suggestion : SuggestWords(words, word.c_str(), rule, FormsWordCounts(), limit))
        found.words.push_back(std::move(suggestion.word));
    return found;
}

bool ShowDidYouMean(const char* typed) {
    const BaseForms forms = Settings.findBaseForms ? BaseForms::On : BaseForms::Off;
    const OpenSuggestions found = SuggestionsForMiss(typed, PluralRetry::On, forms, 1);
    if (found.words.empty()) return false;
    SetDescriptionEditText(("not found; did you mean " + found.words.front() + "?").c_str());
    SetModified(0);
    return true;
}
