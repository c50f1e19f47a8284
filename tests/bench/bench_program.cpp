#include "tests/bench/bench_program.h"

#include "lookup/completion.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "storage/dictionary_words.h"
#include "storage/letter_buffer.h"
#include "storage/letter_cache.h"
#include "storage/letter_file.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"
#include "ui/suggestions.h"

bool BenchOpenDictionary(const char* folder) {
    StartHeadlessProgram();
    Settings.autoComplete = 0;
    return SelectDictionary(folder) == kResultOk;
}

bool BenchLoadLetter(unsigned char letter) {
    LoadLetter(0);
    return LoadLetter(letter) == kResultOk && LetterBuffer.Data != nullptr;
}

void BenchUnloadLetter() { LoadLetter(0); }

void BenchLeaveLetter(unsigned char other) { LoadLetter(other); }

void BenchForgetLetters() {
    ForgetKeptLetters();
    ForgetLetter(0);
}

void BenchKeepLetterIndexes() { KeepWalkedLetterIndexes(); }

bool BenchHeldLetterIndexed() { return LetterBuffer.Index.built; }

size_t BenchLoadedBytes() { return LetterBuffer.Data ? static_cast<size_t>(LetterBuffer.Length) : 0; }

bool BenchLookUp(const std::string& word, bool pluralRetry) {
    SetWordEditText(word.c_str());
    return LookupWord(MissedDescription::Clear, pluralRetry ? PluralRetry::On : PluralRetry::Off) == kResultOk;
}

std::string BenchCompletion(const std::string& typed) {
    SetWordEditText(typed.c_str());  // with auto-completion off this only fills the word's mirror
    const char* candidate = CompletionCandidate(EditState.WordText, OpenCaseRule());
    return candidate ? candidate : "";
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
    return AddEntry(Confirmation::DontAsk) == 1 && Headless().messages.empty();
}

bool BenchDeleteEntry(const std::string& word) {
    SetWordEditText(word.c_str());
    DeleteEntry(Confirmation::DontAsk);
    return Headless().messages.empty();
}

void BenchCloseDictionary() { ResetDictionaryState(); }

size_t BenchSuggest(const std::string& word) {
    return SuggestionsForMiss(word.c_str(), PluralRetry::On, BaseForms::On).words.size();
}

void BenchForgetSuggestionLists() { ForgetDictionaryWords(); }

size_t BenchSuggestionListBytes() { return HeldDictionaryWordsBytes(); }

size_t BenchSuggestionLetters() { return WordsOfDictionary(CurrentDictionary.Folder, OpenCaseRule()).letters.size(); }

std::vector<std::string> BenchMisspellings() {
    const DictionaryWords words = WordsOfDictionary(CurrentDictionary.Folder, OpenCaseRule());
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
