#include "lookup/lookup.h"

#include <string>

#include "storage/letter_buffer.h"
#include "storage/letter_file.h"

WordMatch FindWord(const char* word, CaseRule rule, PluralRetry plural) {
    WordMatch match;
    while (*word == ' ') ++word;
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
    match.result = match.entry >= 0 ? kResultOk : kResultNotFound;
    return match;
}
