#include "ui/browse_commands.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lookup/browse.h"
#include "lookup/history.h"
#include "platform/window.h"
#include "res/resource.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

// Browsing reads the word edit afresh, as the user left it, blanks and all.
static const int kTypedWordSize = 256;

static std::string TypedWord() {
    char typed[kTypedWordSize];
    GetWordEditText(typed, sizeof typed);
    return typed;
}

// The held letter, kept alive while a command reads it: showing a word may
// make the dictionary hold another.
static std::shared_ptr<LetterBytes> HeldBytes() {
    const std::shared_ptr<LetterBytes>& bytes = CurrentDictionary.held.bytes;
    return bytes && !bytes->View().Empty() ? bytes : nullptr;
}

static void ShowEntry(const LetterView& letter, int32_t offset) {
    if (offset >= 0 && letter.ByteAt(offset) != 0) ShowWord(letter.StringAt(offset));
}

void PreviousWord() {
    const std::shared_ptr<LetterBytes> bytes = HeldBytes();
    if (!bytes) return;
    const LetterView held = bytes->View();
    ShowEntry(held, EntryBefore(held, TypedWord().c_str()));
}

void NextWord() {
    const std::shared_ptr<LetterBytes> bytes = HeldBytes();
    if (!bytes) return;
    const LetterView held = bytes->View();
    ShowEntry(held, EntryAfter(held, TypedWord().c_str()));
}

// Pops the menu up and shows the word of the chosen item. The menu keeps
// the words' text, not their places: a clipboard look-up while it is up
// may load another letter or add to the history.
static void ShowChosenWord(int buttonCommand, const std::vector<MenuItemSpec>& items) {
    int chosen = TrackToolbarMenu(buttonCommand, items);
    for (const MenuItemSpec& item : items)
        if (chosen >= 1 && item.id == chosen) ShowWord(item.text.c_str());
}

void NextWordsMenu() {
    const std::shared_ptr<LetterBytes> bytes = HeldBytes();
    if (!bytes) return;
    const LetterView held = bytes->View();
    std::vector<MenuItemSpec> items;
    for (int32_t entry : NextWordsEntries(held, TypedWord().c_str()))
        items.push_back({static_cast<int>(items.size()) + 1, held.StringAt(entry), false});
    if (!items.empty()) ShowChosenWord(IDM_NEXT20, items);
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
    ShowChosenWord(IDM_HISTMENU, items);
}
