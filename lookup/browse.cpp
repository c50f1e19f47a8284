#include "lookup/browse.h"

#include <cstdint>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "platform/platform.h"
#include "storage/letter_file.h"
#include "storage/text_compare.h"
#include "ui/edit_state.h"

// Browsing reads the word edit afresh, as the user left it, blanks and all.
static const int kTypedWordSize = 256;
static const int kNextWordsButton = 6;
static const int kNextWordsMax = 20;

// Stepping forward treats entries that begin this close to the end as past
// it; the previous-word walk and the menu's continuation use the smaller one.
static const int32_t kNextMargin = 10;
static const int32_t kPreviousMargin = 5;

void ShowWord(const char* word) {
    std::string copy(word);  // the edit's change handler may move the source
    SetWordEditText(copy.c_str());
    LookupWord(1, 0);
}

// Every offset handed out below is under Length, and the letter buffer ends
// in a NUL, so the word there is a terminated string inside the buffer.
static const char* WordAt(int32_t offset) {
    return reinterpret_cast<const char*>(LetterBuffer.Data + offset);
}

static void ShowEntry(int32_t offset) {
    if (ByteAt(offset) != 0) ShowWord(WordAt(offset));
}

// The entry after the one at `offset` (skips word and description by their
// NULs without looking for an empty string); may be Length or beyond.
static int32_t NextEntry(int32_t offset) { return StringEnd(DescriptionOf(offset)) + 1; }

static bool HasEntries() { return ByteAt(0) != 0; }

static std::string TypedWord() {
    char typed[kTypedWordSize];
    GetWordEditText(typed, sizeof typed);
    return typed;
}

void NextWord() {
    if (!HasEntries()) return;
    std::string typed = TypedWord();
    const int32_t limit = LetterBuffer.Length - kNextMargin;

    for (int32_t p = 0; p < limit; p = NextEntry(p)) {
        bool equal = CompareNoCase(WordAt(p), typed.c_str()) == 0;
        if (DescriptionOf(p) >= limit) break;
        if (equal) {
            int32_t next = NextEntry(p);
            // The entry after an exact match is shown even in the margin.
            if (next < LetterBuffer.Length) ShowEntry(next);
            return;
        }
    }
    // The typed word is not there (or sits at the very end): the first entry
    // that sorts after it.
    for (int32_t p = 0; p < limit; p = NextEntry(p)) {
        if (CompareNoCase(WordAt(p), typed.c_str()) > 0) {
            ShowEntry(p);
            return;
        }
        if (DescriptionOf(p) >= limit) return;
    }
}

void PreviousWord() {
    if (!HasEntries()) return;
    std::string typed = TypedWord();
    const int32_t length = LetterBuffer.Length;
    const int32_t rememberLimit = length - kPreviousMargin;

    // The walk reaches the appended NUL, an empty word: an empty word edit
    // matches it there and goes back to the last entry.
    int32_t remembered = -1;
    for (int32_t p = 0; p < length; p = NextEntry(p)) {
        if (CompareNoCase(WordAt(p), typed.c_str()) == 0) {
            if (remembered >= 0) ShowEntry(remembered);
            return;
        }
        if (p < rememberLimit) remembered = p;
        if (DescriptionOf(p) >= length) break;
    }
    remembered = -1;
    for (int32_t p = 0; p < length; p = NextEntry(p)) {
        if (CompareNoCase(WordAt(p), typed.c_str()) >= 0) {
            if (remembered >= 0) ShowEntry(remembered);
            return;
        }
        if (p < rememberLimit) remembered = p;
        if (DescriptionOf(p) >= length) break;
    }
    // The typed word sorts after every entry.
    if (remembered >= 0) ShowEntry(remembered);
}

void NextWordsMenu() {
    if (!HasEntries()) return;
    std::string typed = TypedWord();
    const int32_t limit = LetterBuffer.Length - kNextMargin;

    int32_t first = -1;
    for (int32_t p = 0; p < limit; p = NextEntry(p)) {
        if (CompareNoCase(WordAt(p), typed.c_str()) >= 0) {
            first = p;
            break;
        }
        if (DescriptionOf(p) >= limit) return;
    }
    if (first < 0) return;

    std::vector<int32_t> offsets;
    std::vector<MenuItemSpec> items;
    for (int32_t p = first;;) {
        offsets.push_back(p);
        items.push_back({static_cast<int>(items.size()) + 1, WordAt(p), false});
        if (static_cast<int>(items.size()) == kNextWordsMax) break;
        p = NextEntry(p);
        if (p >= LetterBuffer.Length - kPreviousMargin || ByteAt(p) == 0) break;
    }
    int chosen = TrackToolbarMenu(kNextWordsButton, items);
    // The listed entry itself, so that every item the menu offers shows.
    if (chosen >= 1 && chosen <= static_cast<int>(offsets.size())) ShowEntry(offsets[chosen - 1]);
}

// True when the word at `offset`, folded, begins with the (folded) key.
static bool FoldedWordStartsWith(int32_t offset, const std::string& key) {
    for (size_t i = 0; i < key.size(); ++i)
        if (FoldChar(ByteAt(offset + static_cast<int32_t>(i))) != static_cast<unsigned char>(key[i]))
            return false;
    return true;
}

const char* CompletionCandidate() {
    const char* text = WordText;
    while (*text == ' ') ++text;
    if (*text == '\0') return nullptr;
    LoadLetter(FoldChar(static_cast<unsigned char>(*text)));
    std::string key = FoldedCopy(text);

    const char* candidate = nullptr;
    if (LetterBuffer.Data) {
        for (int32_t p = 0; ByteAt(p) != 0; p = EntryWalkStep(p))
            if (FoldedWordStartsWith(p, key)) {
                candidate = WordAt(p);
                break;
            }
    }
    AutoCompleted = 1;
    return candidate;
}
