// Moving around the sorted entries of the loaded letter, and completing the
// word while it is typed.
#pragma once

void PreviousWord();
void NextWord();
void NextWordsMenu();
// The word of the first entry that begins with the typed text, or null.
const char* CompletionCandidate();
