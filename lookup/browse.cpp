#include "lookup/browse.h"

// Browsing and completion come with their own change; until then the
// commands do nothing and the typed word is never completed.
void PreviousWord() {}
void NextWord() {}
void NextWordsMenu() {}
const char* CompletionCandidate() { return nullptr; }
