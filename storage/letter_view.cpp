#include "storage/letter_view.h"

#include <cstdint>
#include <cstring>

#include "storage/letter_index_store.h"

int32_t LetterView::StringEnd(int32_t offset) const {
    if (!data || offset < 0 || offset >= length) return offset;
    // The appended NUL at length - 1 bounds the search.
    const void* nul = std::memchr(data + offset, 0, static_cast<size_t>(length - offset));
    return nul ? static_cast<int32_t>(static_cast<const unsigned char*>(nul) - data) : length - 1;
}

const LetterIndex* LetterView::SortedIndex() const {
    if (!index || !data) return nullptr;
    if (!index->built) {
        BuildLetterIndex(data, length, *index);
        KeepBuiltIndex(data, length, *index);
    }
    return index->sorted ? index : nullptr;
}

// Whether the folded bytes at `word` begin with the folded key.
static bool FoldedStartsWith(const unsigned char* word, const std::string& foldedKey, CaseRule rule) {
    const unsigned char* key = reinterpret_cast<const unsigned char*>(foldedKey.data());
    for (size_t i = 0; i < foldedKey.size(); ++i)
        if (FoldChar(word[i], rule) != key[i]) return false;
    return true;
}

int32_t FindFoldedWord(const LetterView& view, const std::string& foldedKey, CaseRule rule) {
    if (view.index && !view.index->built && !view.index->walkedOnce) {
        view.index->walkedOnce = true;
        return WalkToFoldedWord(view.data, view.length, foldedKey, rule);
    }
    if (const LetterIndex* index = view.SortedIndex()) {
        for (IndexRange range : FoldedPrefixRanges(view.data, *index, foldedKey, rule)) {
            // The words as long as the key sort first in a range; the
            // exact rule may have to pass over some that differ in case.
            for (size_t i = range.begin; i < range.end; ++i) {
                const int32_t offset = index->entries[i];
                if (view.ByteAt(offset + static_cast<int32_t>(foldedKey.size())) != 0) break;
                if (FoldedStartsWith(view.data + offset, foldedKey, rule)) return offset;
            }
        }
        return -1;
    }
    LetterEntryWalker walker = view.Walk(EntryWalk::Strict);
    for (LetterEntry entry; walker.Next(entry);)
        if (entry.WordLength() == foldedKey.size() && FoldedStartsWith(view.data + entry.offset, foldedKey, rule))
            return static_cast<int32_t>(entry.offset);
    return -1;
}

// The entries of the look-up's walk whose word, folded, begins with
// `foldedKey`, in file order, `most` of them at most.
static std::vector<int32_t> PrefixEntries(const LetterView& view, const std::string& foldedKey, CaseRule rule,
                                          size_t most) {
    std::vector<int32_t> entries;
    if (const LetterIndex* index = view.SortedIndex()) {
        for (IndexRange range : FoldedPrefixRanges(view.data, *index, foldedKey, rule))
            for (size_t i = range.begin; i < range.end && entries.size() < most; ++i)
                if (FoldedStartsWith(view.data + index->entries[i], foldedKey, rule))
                    entries.push_back(index->entries[i]);
        return entries;
    }
    LetterEntryWalker walker = view.Walk(EntryWalk::Strict);
    for (LetterEntry entry; entries.size() < most && walker.Next(entry);)
        if (entry.WordLength() >= foldedKey.size() && FoldedStartsWith(view.data + entry.offset, foldedKey, rule))
            entries.push_back(static_cast<int32_t>(entry.offset));
    return entries;
}

int32_t FindFoldedPrefix(const LetterView& view, const std::string& foldedKey, CaseRule rule) {
    std::vector<int32_t> first = PrefixEntries(view, foldedKey, rule, 1);
    return first.empty() ? -1 : first.front();
}

std::vector<int32_t> FoldedPrefixEntries(const LetterView& view, const std::string& foldedKey, CaseRule rule) {
    return PrefixEntries(view, foldedKey, rule, SIZE_MAX);
}
