#include "lookup/browse.h"

#include <algorithm>

#include "storage/text_case.h"

// Stepping forward treats entries that begin this close to the end as past
// it; the previous-word walk and the menu's continuation use the smaller one.
static const int32_t kNextMargin = 10;
static const int32_t kPreviousMargin = 5;

// The entry after the one at `offset` (skips word and description by their
// NULs without looking for an empty string); may be the length or beyond.
static int32_t NextEntry(const LetterView& letter, int32_t offset) {
    return letter.StringEnd(letter.DescriptionOf(offset)) + 1;
}

static int Compare(const LetterView& letter, int32_t offset, const char* typed) {
    return CompareNoCase(letter.StringAt(offset), typed);
}

// An entry to show: one with a word.
static int32_t Shown(const LetterView& letter, int32_t offset) { return letter.ByteAt(offset) != 0 ? offset : -1; }

// The index of a sorted letter whose entries fill the file. Stepping from
// entry to entry then visits exactly the indexed entries, and as their
// words are in order, halving finds the entries the walks below find.
static const LetterIndex* BrowseIndex(const LetterView& letter) {
    const LetterIndex* index = letter.SortedIndex();
    return index && index->wholeFile && !index->entries.Empty() ? index : nullptr;
}

static int32_t IndexedEntryAfter(const LetterView& letter, const LetterIndex& index, const char* typed) {
    const IndexEntries& entries = index.entries;
    const int32_t limit = letter.length - kNextMargin;
    size_t at = FirstNotBefore(letter.data, index, typed);
    if (at < entries.Count() && Compare(letter, entries[at], typed) == 0 && letter.DescriptionOf(entries[at]) < limit)
        return at + 1 < entries.Count() ? entries[at + 1] : -1;
    at = FirstAfter(letter.data, index, typed);
    return at < entries.Count() && entries[at] < limit ? entries[at] : -1;
}

static int32_t IndexedEntryBefore(const LetterView& letter, const LetterIndex& index, const char* typed) {
    // An empty word matches the empty word at the very end.
    size_t at = *typed ? FirstNotBefore(letter.data, index, typed) : index.entries.Count();
    size_t remembered = std::min(at, EntriesBefore(index, letter.length - kPreviousMargin));
    return remembered > 0 ? index.entries[remembered - 1] : -1;
}

static std::vector<int32_t> IndexedNextWords(const LetterView& letter, const LetterIndex& index, const char* typed) {
    std::vector<int32_t> shown;
    const IndexEntries& entries = index.entries;
    size_t at = FirstNotBefore(letter.data, index, typed);
    if (at >= entries.Count() || entries[at] >= letter.length - kNextMargin) return shown;
    for (; at < entries.Count() && entries[at] < letter.length - kPreviousMargin; ++at) {
        shown.push_back(entries[at]);
        if (static_cast<int>(shown.size()) == kNextWordsMax) break;
    }
    return shown;
}

int32_t EntryAfter(const LetterView& letter, const char* typed) {
    if (letter.Empty()) return -1;
    if (const LetterIndex* index = BrowseIndex(letter)) return IndexedEntryAfter(letter, *index, typed);
    const int32_t limit = letter.length - kNextMargin;
    for (int32_t p = 0; p < limit; p = NextEntry(letter, p)) {
        bool equal = Compare(letter, p, typed) == 0;
        if (letter.DescriptionOf(p) >= limit) break;
        if (equal) {
            int32_t next = NextEntry(letter, p);
            // The entry after an exact match is shown even in the margin.
            return next < letter.length ? Shown(letter, next) : -1;
        }
    }
    // The typed word is not there (or sits at the very end): the first entry
    // that sorts after it.
    for (int32_t p = 0; p < limit; p = NextEntry(letter, p)) {
        if (Compare(letter, p, typed) > 0) return Shown(letter, p);
        if (letter.DescriptionOf(p) >= limit) return -1;
    }
    return -1;
}

int32_t EntryBefore(const LetterView& letter, const char* typed) {
    if (letter.Empty()) return -1;
    if (const LetterIndex* index = BrowseIndex(letter)) return IndexedEntryBefore(letter, *index, typed);
    const int32_t length = letter.length;
    const int32_t rememberLimit = length - kPreviousMargin;

    // The walk reaches the appended NUL, an empty word: an empty word edit
    // matches it there and goes back to the last entry.
    int32_t remembered = -1;
    for (int32_t p = 0; p < length; p = NextEntry(letter, p)) {
        if (Compare(letter, p, typed) == 0) return remembered >= 0 ? Shown(letter, remembered) : -1;
        if (p < rememberLimit) remembered = p;
        if (letter.DescriptionOf(p) >= length) break;
    }
    remembered = -1;
    for (int32_t p = 0; p < length; p = NextEntry(letter, p)) {
        if (Compare(letter, p, typed) >= 0) return remembered >= 0 ? Shown(letter, remembered) : -1;
        if (p < rememberLimit) remembered = p;
        if (letter.DescriptionOf(p) >= length) break;
    }
    // The typed word sorts after every entry.
    return remembered >= 0 ? Shown(letter, remembered) : -1;
}

std::vector<int32_t> NextWordsEntries(const LetterView& letter, const char* typed) {
    std::vector<int32_t> entries;
    if (letter.Empty()) return entries;
    if (const LetterIndex* index = BrowseIndex(letter)) return IndexedNextWords(letter, *index, typed);
    const int32_t limit = letter.length - kNextMargin;

    int32_t first = -1;
    for (int32_t p = 0; p < limit; p = NextEntry(letter, p)) {
        if (Compare(letter, p, typed) >= 0) {
            first = p;
            break;
        }
        if (letter.DescriptionOf(p) >= limit) return entries;
    }
    if (first < 0) return entries;

    for (int32_t p = first;;) {
        entries.push_back(p);
        if (static_cast<int>(entries.size()) == kNextWordsMax) break;
        p = NextEntry(letter, p);
        if (p >= letter.length - kPreviousMargin || letter.ByteAt(p) == 0) break;
    }
    return entries;
}
