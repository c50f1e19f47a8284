// The words looked up successfully, last 20 distinct ones.
#pragma once

#include <cstdint>

struct WordHistoryRecord {
    uint16_t Count;
    uint16_t Current;
    char Slots[20][50];
};
extern WordHistoryRecord WordHistory;

void AddToHistory();
void HistoryBack();
void HistoryForward();
void HistoryMenu();
