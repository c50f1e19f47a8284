#include "lookup/completion.h"

#include <string>

#include "storage/letter_buffer.h"
#include "storage/letter_file.h"

const char* CompletionCandidate(const char* typed, CaseRule rule) {
    while (*typed == ' ') ++typed;
    if (*typed == '\0') return nullptr;
    LoadLetter(FoldChar(static_cast<unsigned char>(*typed), rule));
    const LetterView held = HeldLetter();
    int32_t found = FindFoldedPrefix(held, FoldString(typed, rule), rule);
    return found >= 0 ? held.StringAt(found) : nullptr;
}
