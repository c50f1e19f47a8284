// Browsing from the typed word: the arrow keys, the next-words menu and the
// history walk, each showing the word it arrives at.
#pragma once

// Up arrow: the entry before the typed word.
void PreviousWord();
// Down arrow: the entry after the typed word.
void NextWord();
// Ctrl+Down: up to 20 entries from the typed word on, as a menu.
void NextWordsMenu();
// Page Up / Page Down: step through the history, wrapping at both ends.
void HistoryBack();
void HistoryForward();
// The history as a menu, newest first; the walking position stays put.
void HistoryMenu();
