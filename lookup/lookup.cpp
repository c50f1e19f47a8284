#include "lookup/lookup.h"

#include <vector>

#include "lookup/word_forms.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"

// The word as typed, then (when allowed) without its final S.
static WordMatch FindTypedWord(const char* word, CaseRule rule, PluralRetry plural) {
    WordMatch match;
    if (*word == '\0') return match;
    match.letter = FoldChar(static_cast<unsigned char>(*word), rule);
    int loaded = LoadLetter(match.letter);
    if (loaded != kResultOk) {
        match.result = loaded == kResultLetterCannotRead ? kResultLetterCannotOpen : loaded;
        return match;
    }
    const LetterView held = HeldLetter();
    std::string key = FoldString(word, rule);
    match.entry = FindFoldedWord(held, key, rule);
    if (match.entry < 0 && plural == PluralRetry::On && !key.empty() && key.back() == 'S') {
        key.pop_back();
        match.entry = FindFoldedWord(held, key, rule);
        match.withoutFinalS = match.entry >= 0;
    }
    // A page of the mapped letter could not be read and read as zeros: the
    // answer is the one the file read again gives (or its read error).
    if (match.entry < 0 && HeldLetterFaulted()) return FindTypedWord(word, rule, plural);
    match.result = match.entry >= 0 ? kResultOk : kResultNotFound;
    return match;
}

// The first base form of `word` that the dictionary holds. A base may start
// with another letter (went -> go), so each is looked up in its own letter.
static WordMatch FindBaseForm(const char* word, CaseRule rule) {
    WordMatch match;
    for (const std::string& base : BaseFormsOf(word, rule)) {
        unsigned char letter = FoldChar(static_cast<unsigned char>(base[0]), rule);
        if (LoadLetter(letter) != kResultOk) continue;
        int32_t entry = FindFoldedWord(HeldLetter(), FoldString(base.c_str(), rule), rule);
        if (entry < 0) continue;
        match.result = kResultOk;
        match.entry = entry;
        match.baseForm = base;
        match.letter = letter;
        break;
    }
    return match;
}

WordMatch FindWord(const char* word, CaseRule rule, PluralRetry plural, BaseForms forms) {
    while (*word == ' ') ++word;
    WordMatch typed = FindTypedWord(word, rule, plural);
    bool fallback = plural == PluralRetry::On && forms == BaseForms::On;
    if (!fallback || typed.result == kResultOk || typed.result == kResultNoDictionary || *word == '\0')
        return typed;
    WordMatch base = FindBaseForm(word, rule);
    if (base.result == kResultOk) return base;
    // Browsing and similar words go on from the word's own letter.
    if (LetterBuffer.Letter != typed.letter) LoadLetter(typed.letter);
    return typed;
}
