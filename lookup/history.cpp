#include "lookup/history.h"

#include <cstring>
#include <vector>

#include "lookup/browse.h"
#include "platform/platform.h"
#include "storage/text_compare.h"
#include "ui/edit_state.h"

WordHistoryRecord WordHistory = {0, 0, {}};

static const int kHistoryMenuButton = 13;

void AddToHistory() {
    for (int i = 0; i < WordHistory.Count; ++i)
        if (EqualNoCase(WordHistory.Slots[i], WordText)) return;
    size_t length = std::strlen(WordText);
    // A word that does not fit a slot is left out rather than cut into a
    // different word that would later be looked up in its place.
    if (length == 0 || length >= kHistorySlotSize) return;

    if (WordHistory.Count < kHistorySlots) {
        ++WordHistory.Count;
    } else {
        std::memmove(WordHistory.Slots[0], WordHistory.Slots[1],
                     sizeof WordHistory.Slots - sizeof WordHistory.Slots[0]);
    }
    int newest = WordHistory.Count - 1;
    std::memcpy(WordHistory.Slots[newest], WordText, length + 1);
    WordHistory.Current = static_cast<uint16_t>(newest);
    if (WordHistory.Count == 1) UpdateToolbarState();
}

static void ShowHistoryWord(int index) { ShowWord(WordHistory.Slots[index]); }

void HistoryBack() {
    if (WordHistory.Count == 0) return;
    if (WordHistory.Current != 0 && WordHistory.Current < WordHistory.Count)
        --WordHistory.Current;
    else
        WordHistory.Current = static_cast<uint16_t>(WordHistory.Count - 1);
    ShowHistoryWord(WordHistory.Current);
}

void HistoryForward() {
    if (WordHistory.Count == 0) return;
    if (WordHistory.Current + 1 < WordHistory.Count)
        ++WordHistory.Current;
    else
        WordHistory.Current = 0;
    ShowHistoryWord(WordHistory.Current);
}

void HistoryMenu() {
    if (WordHistory.Count == 0) return;
    std::vector<MenuItemSpec> items;
    for (int k = WordHistory.Count; k >= 1; --k)
        items.push_back({k, WordHistory.Slots[k - 1], false});
    int chosen = TrackToolbarMenu(kHistoryMenuButton, items);
    if (chosen >= 1 && chosen <= WordHistory.Count) ShowHistoryWord(chosen - 1);
}
