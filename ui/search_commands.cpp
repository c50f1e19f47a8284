#include "ui/search_commands.h"

#include <cstdio>

#include "lookup/similar.h"
#include "platform/list_dialogs.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/suggestions.h"

// The word is shown as the user would pick it, then looked up.
static void ShowChosenWord(const char* word) {
    std::snprintf(EditState.WordText, sizeof EditState.WordText, "%s", word);
    SetWordEditText(word);
}

void PreviewSimilarWord(const char* word) {
    ShowChosenWord(word);
    SetWordEditSelection(0, kEndOfText);
    LookupWord(MissedDescription::Clear, PluralRetry::On);
    SetModified(0);
}

int ShowSimilarWords() {
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
    GetWordEditText(EditState.WordText, sizeof EditState.WordText);
    SimilarWordsLines lines;
    lines.similar = SimilarWords(HeldLetter(), EditState.WordText, OpenCaseRule());
    const BaseForms forms = Settings.findBaseForms ? BaseForms::On : BaseForms::Off;
    lines.suggestions = SuggestionsForMiss(EditState.WordText, PluralRetry::On, forms).words;
    std::string chosen;
    const bool none = lines.similar.empty() && lines.suggestions.empty();
    int result = none ? 0 : RunSimilarWordsDialog(lines, PreviewSimilarWord, &chosen, &Settings.similarWordsRect);
    if (result == 1) {
        ShowChosenWord(chosen.c_str());
        LookupWord(MissedDescription::Clear, PluralRetry::On);
        SetModified(0);
        FocusWordEdit();
    }
    SetWordEditSelection(0, kEndOfText);
    SetModified(result == 1 ? 0 : 1);
    return result == 1 ? 1 : 0;
}

std::vector<std::string> SearchResultLines() {
    SearchResults results;
    if (!EditState.WordText[0]) return results.lines;
    const SearchKey key = SearchKeyOf(EditState.WordText, OpenCaseRule());
    // The name and the index may change as dictionaries are opened.
    const int count = DictionaryCatalog.Count;
    for (int i = 0; i < count && !results.Full(); ++i) {
        CatalogEntry entry = DictionaryCatalog.Slots[i];
        if (SelectDictionary(entry.Folder) != kResultOk) continue;
        AddSearchResultLines(key, entry.DisplayName, i, results);
    }
    return results.lines;
}

void ApplyResultLine(const char* line) {
    std::string word;
    int index = 0;
    if (!SplitResultLine(line, &word, &index)) return;
    SetWordEditText(word.c_str());
    SelectDictionary(DictionaryCatalog.Slots[index].Folder);
    SetWordEditSelection(0, kEndOfText);
    LookupWord(MissedDescription::Clear, PluralRetry::On);
    SetModified(0);
}

void SearchAllDictionaries() {
    std::vector<std::string> lines = SearchResultLines();
    RunAllDictionariesDialog(lines, ApplyResultLine, &Settings.allDictionariesRect);
}
