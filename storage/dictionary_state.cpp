#include "storage/dictionary_state.h"

#include "storage/dictionary_words.h"
#include "storage/letter_buffer.h"
#include "storage/letter_cache.h"

static const OpenDictionaryRecord kNoDictionary = {"", "", 1, 0, DefaultFont, DefaultFont};

OpenDictionaryRecord CurrentDictionary = kNoDictionary;
CatalogRecord DictionaryCatalog;

bool IsDictionaryOpen() { return CurrentDictionary.Folder[0] != '\0'; }

CaseRule OpenCaseRule() { return CaseRuleOf(CurrentDictionary.CaseSensitive); }

void ResetDictionaryState() {
    ForgetLetter(0);
    ForgetKeptLetters();
    ForgetDictionaryWords();
    CurrentDictionary = kNoDictionary;
    DictionaryCatalog = CatalogRecord{};
}
