#include "lookup/completion.h"

#include "storage/letter_file.h"

std::string CompletionCandidate(Dictionary& dictionary, const char* typed) {
    while (*typed == ' ') ++typed;
    if (*typed == '\0') return std::string();
    const CaseRule rule = dictionary.Rule();
    LoadLetter(dictionary, FoldChar(static_cast<unsigned char>(*typed), rule));
    const LetterView held = dictionary.held.View();
    const int32_t found = FindFoldedPrefix(held, FoldString(typed, rule), rule);
    return found >= 0 ? std::string(held.StringAt(found)) : std::string();
}
