#include "tests/bench/bench_program.h"

#include "lookup/browse.h"
#include "lookup/editing.h"
#include "lookup/lookup.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "ui/edit_state.h"

bool BenchOpenDictionary(const char* folder) {
    ResetHeadless();
    ResetDictionaryState();
    ResetEditState();
    Settings = SettingsRecord{};
    Settings.autocomplete = 0;
    return OpenDictionary(folder) == kResultOk;
}

bool BenchLoadLetter(unsigned char letter) {
    LoadLetter(0);
    return LoadLetter(letter) == kResultOk && LetterBuffer.Data != nullptr;
}

void BenchUnloadLetter() { LoadLetter(0); }

size_t BenchLoadedBytes() { return LetterBuffer.Data ? static_cast<size_t>(LetterBuffer.Length) : 0; }

bool BenchLookUp(const std::string& word, bool pluralRetry) {
    SetWordEditText(word.c_str());
    return LookupWord(1, pluralRetry ? -1 : 0) == kResultOk;
}

std::string BenchCompletion(const std::string& typed) {
    SetWordEditText(typed.c_str());  // with auto-completion off this only fills WordText
    const char* candidate = CompletionCandidate();
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
    return AddEntry(0) == 1 && Headless().messages.empty();
}

bool BenchDeleteEntry(const std::string& word) {
    SetWordEditText(word.c_str());
    DeleteEntry(0);
    return Headless().messages.empty();
}

void BenchCloseDictionary() { ResetDictionaryState(); }
