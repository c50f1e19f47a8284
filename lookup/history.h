// The words looked up successfully, last 20 distinct ones, in memory only.
#pragma once

#include <cstdint>

constexpr int kHistorySlots = 20;
constexpr int kHistorySlotSize = 50;

struct WordHistoryRecord {
    uint16_t Count;
    uint16_t Current;   // the word last added or last walked to
    char Slots[kHistorySlots][kHistorySlotSize];   // 0 is the oldest
};
extern WordHistoryRecord WordHistory;

// Records WordText after a successful look-up, unless it is already held.
void AddToHistory();
// Page Up / Page Down: step through the history, wrapping at both ends.
void HistoryBack();
void HistoryForward();
// The history as a menu, newest first; the walking position stays put.
void HistoryMenu();
