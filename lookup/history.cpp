#include "lookup/history.h"

#include <cstring>

#include "storage/text_case.h"

bool AddToHistory(WordHistoryRecord& history, const char* word) {
    for (int i = 0; i < history.Count; ++i)
        if (EqualNoCase(history.Slots[i], word)) return false;
    size_t length = std::strlen(word);
    // A word that does not fit a slot is left out rather than cut into a
    // different word that would later be looked up in its place.
    if (length == 0 || length >= kHistorySlotSize) return false;

    if (history.Count < kHistorySlots) {
        ++history.Count;
    } else {
        std::memmove(history.Slots[0], history.Slots[1], sizeof history.Slots - sizeof history.Slots[0]);
    }
    int newest = history.Count - 1;
    std::memcpy(history.Slots[newest], word, length + 1);
    history.Current = static_cast<uint16_t>(newest);
    return true;
}

int StepHistoryBack(WordHistoryRecord& history) {
    if (history.Count == 0) return -1;
    if (history.Current != 0 && history.Current < history.Count)
        --history.Current;
    else
        history.Current = static_cast<uint16_t>(history.Count - 1);
    return history.Current;
}

int StepHistoryForward(WordHistoryRecord& history) {
    if (history.Count == 0) return -1;
    if (history.Current + 1 < history.Count)
        ++history.Current;
    else
        history.Current = 0;
    return history.Current;
}
