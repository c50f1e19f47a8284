#include "lookup/lookup.h"

#include <algorithm>
#include <vector>

#include "lookup/description.h"
#include "lookup/typed_word.h"
#include "lookup/word_forms.h"
#include "storage/letter_file.h"

// The match of the held letter's entry at `entry`, which it keeps alive.
static void HitAt(const Dictionary& dictionary, int32_t entry, WordMatch& match) {
    match.result = LookupResult::Ok;
    match.entry = entry;
    match.bytes = dictionary.held.bytes;
}

// The word as typed, then (when allowed) without its final S.
static WordMatch FindTypedWord(Dictionary& dictionary, const char* word, PluralRetry plural) {
    WordMatch match;
    if (*word == '\0') return match;
    const CaseRule rule = dictionary.Rule();
    match.letter = FoldChar(static_cast<unsigned char>(*word), rule);
    const LookupResult loaded = LoadLetter(dictionary, match.letter);
    if (loaded != LookupResult::Ok) {
        match.unreadable = loaded == LookupResult::LetterCannotRead;
        match.result = match.unreadable ? LookupResult::LetterCannotOpen : loaded;
        return match;
    }
    const LetterView held = dictionary.held.View();
    std::string key = FoldString(word, rule);
    int32_t entry = FindFoldedWord(held, key, rule);
    if (entry < 0 && plural == PluralRetry::On && !key.empty() && key.back() == 'S') {
        key.pop_back();
        entry = FindFoldedWord(held, key, rule);
        match.withoutFinalS = entry >= 0;
    }
    // A page of the mapped letter could not be read and read as zeros: the
    // answer is the one the file read again gives (or its read error).
    if (entry < 0 && dictionary.held.Faulted()) return FindTypedWord(dictionary, word, plural);
    if (entry >= 0) HitAt(dictionary, entry, match);
    return match;
}

// The first base form of `word` that the dictionary holds; with
// `rankedBelow` (folded), of those the tables rank above that base, none
// when they do not list it. A base may start with another letter (went ->
// go), so each is looked up in its own letter; one whose letter cannot be
// read is reported when no base is found.
static WordMatch FindBaseForm(Dictionary& dictionary, const char* word,
                              const std::string& rankedBelow = std::string()) {
    WordMatch match;
    const CaseRule rule = dictionary.Rule();
    std::vector<std::string> bases = BaseFormsOf(dictionary, word, &match.unreadableForms);
    if (!rankedBelow.empty()) {
        auto below = std::find_if(bases.begin(), bases.end(), [&](const std::string& base) {
            return FoldString(base.c_str(), rule) == rankedBelow;
        });
        if (below == bases.end()) return match;
        bases.erase(below, bases.end());
    }
    for (const std::string& base : bases) {
        unsigned char letter = FoldChar(static_cast<unsigned char>(base[0]), rule);
        const LookupResult loaded = LoadLetter(dictionary, letter);
        if (loaded == LookupResult::LetterCannotRead && !match.unreadable) {
            match.result = LookupResult::LetterCannotOpen;
            match.unreadable = true;
            match.letter = letter;
        }
        if (loaded != LookupResult::Ok) continue;
        int32_t entry = FindFoldedWord(dictionary.held.View(), FoldString(base.c_str(), rule), rule);
        if (entry < 0) continue;
        HitAt(dictionary, entry, match);
        match.baseForm = base;
        match.letter = letter;
        match.unreadable = false;
        match.unreadableForms = UnreadableTable();
        break;
    }
    return match;
}

WordMatch FindWord(Dictionary& dictionary, const char* word, LookupOptions options) {
    while (*word == ' ') ++word;
    const PluralRetry plural = options.plural;
    WordMatch typed = FindTypedWord(dictionary, word, plural);
    bool fallback = plural == PluralRetry::On && options.forms == BaseForms::On;
    if (fallback && typed.withoutFinalS) {
        // The word less its S is one base; the tables may rank another one
        // the dictionary holds above it (does: do before doe).
        std::string withoutS = FoldString(word, dictionary.Rule());
        withoutS.pop_back();
        WordMatch ranked = FindBaseForm(dictionary, word, withoutS);
        if (ranked.result == LookupResult::Ok) return ranked;
        return dictionary.held.letter == typed.letter ? typed : FindTypedWord(dictionary, word, plural);
    }
    // A word that is not there (nor its letter file) falls back; one whose
    // letter cannot be read is not known to be absent.
    bool absent = typed.result == LookupResult::NotFound ||
                  (typed.result == LookupResult::LetterCannotOpen && !typed.unreadable);
    if (!fallback || !absent || *word == '\0') return typed;
    WordMatch base = FindBaseForm(dictionary, word);
    // Browsing and similar words go on from the word's own letter.
    if (base.result != LookupResult::Ok && dictionary.held.letter != typed.letter) LoadLetter(dictionary, typed.letter);
    if (base.result == LookupResult::Ok || base.unreadable) return base;
    typed.unreadableForms = base.unreadableForms;
    return typed;
}

std::string DescriptionOf(const WordMatch& match) {
    if (match.result != LookupResult::Ok || !match.bytes) return std::string();
    const LetterView view = match.bytes->ReadView();
    return FormatDescription(view, view.DescriptionOf(match.entry));
}

TypedLookup LookUpTyped(Dictionary& dictionary, const std::string& typed, LookupOptions options) {
    TypedLookup found;
    if (IsBlankWord(WordToLookUp(typed))) {
        found.blank = true;
        found.match.result = LookupResult::Ok;
        found.word = typed;
        return found;
    }
    found.match = FindWord(dictionary, WordToLookUp(typed).c_str(), options);
    found.word = found.match.baseForm.empty() ? WordToLookUp(typed) : found.match.baseForm;
    if (found.match.withoutFinalS) found.word.pop_back();
    return found;
}
