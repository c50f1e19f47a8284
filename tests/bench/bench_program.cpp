#include "tests/bench/bench_program.h"

#include "lookup/completion.h"
#include "lookup/suggest.h"
#include "platform/headless.h"
#include "storage/dictionary_words.h"
#include "storage/letter_cache.h"
#include "storage/letter_file.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"
#include "ui/program_state.h"

bool BenchOpenDictionary(const char* folder) {
    StartHeadlessProgram();
    Settings.autoComplete = 0;
    return SelectDictionary(folder) != OpenOutcome::NoHeader;
}

bool BenchLoadLetter(unsigned char letter) {
    LoadLetter(CurrentDictionary, 0);
    return LoadLetter(CurrentDictionary, letter) == LookupResult::Ok && CurrentDictionary.held.View().data != nullptr;
}

void BenchUnloadLetter() { LoadLetter(CurrentDictionary, 0); }

void BenchLeaveLetter(unsigned char other) { LoadLetter(CurrentDictionary, other); }

void BenchForgetLetters() {
    CurrentDictionary.kept.Forget();
    ForgetLetter(CurrentDictionary, 0);
}

void BenchKeepLetterIndexes() { KeepWalkedIndexes(CurrentDictionary); }

bool BenchHeldLetterIndexed() { return CurrentDictionary.held.bytes && CurrentDictionary.held.bytes->index.built; }

size_t BenchLoadedBytes() { return static_cast<size_t>(CurrentDictionary.held.View().length); }

bool BenchLookUp(const std::string& word, bool pluralRetry) {
    SetWordEditText(word.c_str());
    return LookupWord(MissedDescription::Clear, pluralRetry ? PluralRetry::On : PluralRetry::Off) == LookupResult::Ok;
}

std::string BenchCompletion(const std::string& typed) {
    SetWordEditText(typed.c_str());  // with auto-completion off this only fills the word's mirror
    return CompletionCandidate(CurrentDictionary, EditState.WordText);
}

std::string BenchNextWord(const std::string& word) {
    SetWordEditText(word.c_str());
    NextWord();
    return Headless().wordEdit;
}

std::string BenchPreviousWord(const std::string& word) {
    SetWordEditText(word.c_str());
    PreviousWord();
    return Headless().wordEdit;
}

bool BenchAddEntry(const std::string& word, const std::string& description) {
    SetWordEditText(word.c_str());
    SetDescriptionEditText(description.c_str());
    return StoreEditsEntry(Confirmation::DontAsk) == 1 && Headless().messages.empty();
}

bool BenchDeleteEntry(const std::string& word) {
    SetWordEditText(word.c_str());
    DeleteWordCommand(Confirmation::DontAsk);
    return Headless().messages.empty();
}

void BenchCloseDictionary() { ResetProgramState(); }

size_t BenchSuggest(const std::string& word) {
    return SuggestionsForMiss(CurrentDictionary, word.c_str(), LookupOptions{}).words.size();
}

void BenchForgetSuggestionLists() { CurrentDictionary.wordLists = HeldWordLists(); }

size_t BenchSuggestionListBytes() { return CurrentDictionary.wordLists.Bytes(); }

size_t BenchSuggestionLetters() {
    return WordsOfDictionary(CurrentDictionary.Path(), CurrentDictionary.Rule(), CurrentDictionary.wordLists)
        .letters.size();
}

std::vector<std::string> BenchMisspellings() {
    const DictionaryWords words =
        WordsOfDictionary(CurrentDictionary.Path(), CurrentDictionary.Rule(), CurrentDictionary.wordLists);
    const LetterWords* largest = nullptr;
    for (const auto& list : words.letters)
        if (!largest || list->Count() > largest->Count()) largest = list.get();
    if (!largest || largest->Count() == 0) return {};
    std::string word = largest->View().Word(largest->Count() / 2);
    if (word.size() < 4) return {};
    std::string swapped = word, dropped = word;
    std::swap(swapped[1], swapped[2]);
    dropped.erase(2, 1);
    return {swapped, dropped};
}
