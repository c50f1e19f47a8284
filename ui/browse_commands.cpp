#include "ui/browse_commands.h"

#include <cstdint>
#include <string>
#include <vector>

#include "lookup/browse.h"
#include "lookup/history.h"
#include "platform/window.h"
#include "res/resource.h"
#include "storage/letter_buffer.h"
#include "ui/lookup_command.h"

// Browsing reads the word edit afresh, as the user left it, blanks and all.
static const int kTypedWordSize = 256;

static std::string TypedWord() {
    char typed[kTypedWordSize];
    GetWordEditText(typed, sizeof typed);
    return typed;
}

static void ShowEntry(const LetterView& letter, int32_t offset) {
    if (offset >= 0 && letter.ByteAt(offset) != 0) ShowWord(letter.StringAt(offset));
}

void PreviousWord() {
    const LetterView held = HeldLetter();
    if (held.Empty()) return;
    ShowEntry(held, EntryBefore(held, TypedWord().c_str()));
}

void NextWord() {
    const LetterView held = HeldLetter();
    if (held.Empty()) return;
    ShowEntry(held, EntryAfter(held, TypedWord().c_str()));
}

void NextWordsMenu() {
    const LetterView held = HeldLetter();
    if (held.Empty()) return;
    std::vector<int32_t> entries = NextWordsEntries(held, TypedWord().c_str());
    if (entries.empty()) return;
    std::vector<MenuItemSpec> items;
    for (int32_t entry : entries) items.push_back({static_cast<int>(items.size()) + 1, held.StringAt(entry), false});
    int chosen = TrackToolbarMenu(IDM_NEXT20, items);
    // The listed entry itself, so that every item the menu offers shows. A
    // clipboard look-up while the menu was up may have loaded another
    // letter: the entry is read from what is held now, within its bounds.
    if (chosen >= 1 && chosen <= static_cast<int>(entries.size())) ShowEntry(HeldLetter(), entries[chosen - 1]);
}

static void ShowHistoryWord(int slot) {
    if (slot >= 0) ShowWord(WordHistory.Slots[slot]);
}

void HistoryBack() { ShowHistoryWord(StepHistoryBack(WordHistory)); }

void HistoryForward() { ShowHistoryWord(StepHistoryForward(WordHistory)); }

void HistoryMenu() {
    if (WordHistory.Count == 0) return;
    std::vector<MenuItemSpec> items;
    for (int k = WordHistory.Count; k >= 1; --k) items.push_back({k, WordHistory.Slots[k - 1], false});
    int chosen = TrackToolbarMenu(IDM_HISTMENU, items);
    if (chosen >= 1 && chosen <= WordHistory.Count) ShowHistoryWord(chosen - 1);
}
