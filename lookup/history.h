// The words looked up successfully, the last 20 distinct ones, in memory
// only, and the rules of walking them. The window keeps the record
// (ui/program_state.h).
#pragma once

#include <cstdint>

constexpr int kHistorySlots = 20;
constexpr int kHistorySlotSize = 50;

struct WordHistoryRecord {
    uint16_t Count;
    uint16_t Current;   // the word last added or last walked to
    char Slots[kHistorySlots][kHistorySlotSize];   // 0 is the oldest
};
// Records a word after a successful look-up, unless it is held already
// (ASCII case aside), empty, or too long for a slot; the 21st word drops the
// oldest. True when it was added.
bool AddToHistory(WordHistoryRecord& history, const char* word);
// Page Up / Page Down: the slot to show after a step back (forward),
// wrapping at both ends; -1 when the history is empty.
int StepHistoryBack(WordHistoryRecord& history);
int StepHistoryForward(WordHistoryRecord& history);
