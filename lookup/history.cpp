#include "lookup/history.h"

// The history's walking and menu arrive with their own change; until then it
// stays empty and its toolbar buttons stay disabled.
WordHistoryRecord WordHistory = {0, 0, {}};

void AddToHistory() {}
void HistoryBack() {}
void HistoryForward() {}
void HistoryMenu() {}
