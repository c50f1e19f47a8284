#include "lookup/browse.h"

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

int32_t EntryAfter(const LetterView& letter, const char* typed) {
    if (letter.Empty()) return -1;
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
