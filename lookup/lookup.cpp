#include "lookup/lookup.h"

#include <algorithm>
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
        match.unreadable = loaded == kResultLetterCannotRead;
        match.result = match.unreadable ? kResultLetterCannotOpen : loaded;
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

// The first base form of `word` that the dictionary holds; with
// `rankedBelow` (folded), of those the tables rank above that base, none
// when they do not list it. A base may start with another letter (went ->
// go), so each is looked up in its own letter; one whose letter cannot be
// read is reported when no base is found.
static WordMatch FindBaseForm(const char* word, CaseRule rule, const std::string& rankedBelow = std::string()) {
    WordMatch match;
    std::vector<std::string> bases = BaseFormsOf(word, rule, &match.unreadableForms);
    if (!rankedBelow.empty()) {
        auto below = std::find_if(bases.begin(), bases.end(), [&](const std::string& base) {
            return FoldString(base.c_str(), rule) == rankedBelow;
        });
        if (below == bases.end()) return match;
        bases.erase(below, bases.end());
    }
    for (const std::string& base : bases) {
        unsigned char letter = FoldChar(static_cast<unsigned char>(base[0]), rule);
        int loaded = LoadLetter(letter);
        if (loaded == kResultLetterCannotRead && !match.unreadable) {
            match.result = kResultLetterCannotOpen;
            match.unreadable = true;
            match.letter = letter;
        }
        if (loaded != kResultOk) continue;
        int32_t entry = FindFoldedWord(HeldLetter(), FoldString(base.c_str(), rule), rule);
        if (entry < 0) continue;
        match.result = kResultOk;
        match.entry = entry;
        match.baseForm = base;
        match.letter = letter;
        match.unreadable = false;
        match.unreadableForms = UnreadableTable();
        break;
    }
    return match;
}

WordMatch FindWord(const char* word, CaseRule rule, PluralRetry plural, BaseForms forms) {
    while (*word == ' ') ++word;
    WordMatch typed = FindTypedWord(word, rule, plural);
    bool fallback = plural == PluralRetry::On && forms == BaseForms::On;
    if (fallback && typed.withoutFinalS) {
        // The word less its S is one base; the tables may rank another one
        // the dictionary holds above it (does: do before doe).
        std::string withoutS = FoldString(word, rule);
        withoutS.pop_back();
        WordMatch ranked = FindBaseForm(word, rule, withoutS);
        if (ranked.result == kResultOk) return ranked;
        return LetterBuffer.Letter == typed.letter ? typed : FindTypedWord(word, rule, plural);
    }
    // A word that is not there (nor its letter file) falls back; one whose
    // letter cannot be read is not known to be absent.
    bool absent = typed.result == kResultNotFound || (typed.result == kResultLetterCannotOpen && !typed.unreadable);
    if (!fallback || !absent || *word == '\0') return typed;
    WordMatch base = FindBaseForm(word, rule);
    // Browsing and similar words go on from the word's own letter.
    if (base.result != kResultOk && LetterBuffer.Letter != typed.letter) LoadLetter(typed.letter);
    if (base.result == kResultOk || base.unreadable) return base;
    typed.unreadableForms = base.unreadableForms;
    return typed;
}
