// Similar words of a word that is not found, and the search in every
// dictionary.
#pragma once

#include <string>
#include <vector>

// Non-zero when the user took a word from the list.
int ShowSimilarWords();
void SearchAllDictionaries();

// The words of the loaded letter that share the longest prefix with the
// typed word (looks the typed word up first, which loads its letter).
std::vector<std::string> SimilarWords();
// "word (Name-index)" for every entry of every catalogue dictionary whose
// word begins with the typed word; leaves the last openable one open.
std::vector<std::string> SearchResultLines();
// The word and catalogue index of a result line; false when the line does
// not end in a valid "(Name-index)".
bool SplitResultLine(const std::string& line, std::string* word, int* index);

// What the dialogs do when a line is selected: the main window previews it.
void PreviewSimilarWord(const char* word);
void ApplyResultLine(const char* line);

// Bound for the gathered result lines, NULs counted.
constexpr size_t kSearchResultsSize = 0x80000;

// The two modal list dialogs, provided by the platform. Each selection of a
// line calls `onSelect` with its text. The similar-words dialog returns 1
// with the chosen line in `chosen`, or 0 when closed.
int RunSimilarWordsDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*),
                          std::string* chosen);
void RunAllDictionariesDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*));
