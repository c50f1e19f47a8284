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
// word begins with the typed word. Each dictionary is opened in turn as the
// user would open it, so the last one that opens stays open.
std::vector<std::string> SearchResultLines();

// What the dialogs do when a line is selected: the main window shows it.
void PreviewSimilarWord(const char* word);
void ApplyResultLine(const char* line);
