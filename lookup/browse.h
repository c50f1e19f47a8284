// Moving around the sorted entries of the loaded letter, and completing the
// word while it is typed.
#pragma once

// Up arrow: the entry before the typed word.
void PreviousWord();
// Down arrow: the entry after the typed word.
void NextWord();
// Ctrl+Down: up to 20 entries from the typed word on, as a menu.
void NextWordsMenu();
// The word of the first entry that begins with the typed text (folded), or
// null. Points into the letter buffer: copy it before the buffer changes.
const char* CompletionCandidate();

// Shows a word as the user would: into the word edit, then looked up.
void ShowWord(const char* word);
