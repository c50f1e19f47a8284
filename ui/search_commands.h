// The two list dialogs as commands: similar words of the typed word, and
// the search for its beginning in every dictionary.
#pragma once

#include <string>
#include <vector>

// Lists the spelling suggestions for the typed word (looked up first),
// then the words of its letter that share the longest beginning with it;
// non-zero when the user took one, which is then shown.
int ShowSimilarWords();
void SearchAllDictionaries();

// "word (Name-index)" for every entry of every catalogue dictionary whose
// word begins with the typed word. Each dictionary is read as a value of
// its own: the window's dictionary, title, edits and history stay as they
// are.
std::vector<std::string> SearchResultLines();

// What the dialogs do when a line is selected: the main window shows it,
// a result line in its own dictionary.
void PreviewSimilarWord(const char* word);
void ApplyResultLine(const char* line);
