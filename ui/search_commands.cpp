#include "ui/search_commands.h"

#include <cstdio>

#include "lookup/similar.h"
#include "lookup/suggest.h"
#include "platform/list_dialogs.h"
#include "platform/window.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

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
    lines.similar = SimilarWords(CurrentDictionary.held.View(), EditState.WordText, CurrentDictionary.Rule());
    lines.suggestions =
        SuggestionsForMiss(CurrentDictionary, EditState.WordText, WindowLookupOptions(PluralRetry::On)).words;
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
    const SearchKey key = SearchKeyOf(EditState.WordText, CurrentDictionary.Rule());
    for (int i = 0; i < DictionaryCatalog.Count && !results.Full(); ++i) {
        const CatalogEntry& entry = DictionaryCatalog.Slots[i];
        Dictionary searched(CurrentDictionary.programFolder);
        if (OpenDictionary(searched, entry.Folder) != OpenOutcome::Opened) continue;
        AddSearchResultLines(searched, key, entry.DisplayName, i, results);
    }
    return results.lines;
}

void ApplyResultLine(const char* line) {
    std::string word;
    int index = 0;
    if (!SplitResultLine(DictionaryCatalog, line, &word, &index)) return;
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
