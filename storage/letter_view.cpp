#include "storage/letter_view.h"

#include <cstring>

int32_t LetterView::StringEnd(int32_t offset) const {
    if (!data || offset < 0 || offset >= length) return offset;
    // The appended NUL at length - 1 bounds the search.
    const void* nul = std::memchr(data + offset, 0, static_cast<size_t>(length - offset));
    return nul ? static_cast<int32_t>(static_cast<const unsigned char*>(nul) - data) : length - 1;
}

// Whether the folded bytes at `word` begin with the folded key.
static bool FoldedStartsWith(const unsigned char* word, const std::string& foldedKey, CaseRule rule) {
    const unsigned char* key = reinterpret_cast<const unsigned char*>(foldedKey.data());
    for (size_t i = 0; i < foldedKey.size(); ++i)
        if (FoldChar(word[i], rule) != key[i]) return false;
    return true;
}

int32_t FindFoldedWord(const LetterView& view, const std::string& foldedKey, CaseRule rule) {
    LetterEntryWalker walker = view.Walk(EntryWalk::Strict);
    for (LetterEntry entry; walker.Next(entry);)
        if (entry.WordLength() == foldedKey.size() && FoldedStartsWith(view.data + entry.offset, foldedKey, rule))
            return static_cast<int32_t>(entry.offset);
    return -1;
}

int32_t FindFoldedPrefix(const LetterView& view, const std::string& foldedKey, CaseRule rule) {
    LetterEntryWalker walker = view.Walk(EntryWalk::Strict);
    for (LetterEntry entry; walker.Next(entry);)
        if (entry.WordLength() >= foldedKey.size() && FoldedStartsWith(view.data + entry.offset, foldedKey, rule))
            return static_cast<int32_t>(entry.offset);
    return -1;
}
