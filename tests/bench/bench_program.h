// The program's operations as the benchmarks use them: the one place that
// calls into storage/ and lookup/, so a change of their signatures is
// mended here alone. Each call plays the user's part on the headless
// platform (the word into the word edit, then the command).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Opens the dictionary in `folder` (relative to the current folder) with
// every process-wide record at its start, auto-completion off.
bool BenchOpenDictionary(const char* folder);
// Reads the letter file afresh; false when it did not load.
bool BenchLoadLetter(unsigned char letter);
void BenchUnloadLetter();
// Loads another letter, as the base-form fallback does, so that the held
// one is kept aside.
void BenchLeaveLetter(unsigned char other);
// Lets go of every letter held or kept in memory: the next load reads the
// file, as a new process does.
void BenchForgetLetters();
// Keeps the indexes of the letters searched so far for later readings, as
// the tool does after a look-up.
void BenchKeepLetterIndexes();
// The held letter came with an index ready: one a reading before kept.
bool BenchHeldLetterIndexed();
// Bytes held for the loaded letter (the file and its appended NUL).
size_t BenchLoadedBytes();

// Looks the word up as the Find command does; true when it was found.
bool BenchLookUp(const std::string& word, bool pluralRetry);
// The word completion offers for the typed text, "" for none.
std::string BenchCompletion(const std::string& typed);
// The word shown after Down (Up) from `word`.
std::string BenchNextWord(const std::string& word);
std::string BenchPreviousWord(const std::string& word);
// Add from the word and description edits, without questions (a stored
// word is replaced); true when the entry was written.
bool BenchAddEntry(const std::string& word, const std::string& description);
// Deletes the entry of `word` without asking; false when the write failed.
bool BenchDeleteEntry(const std::string& word);
// The spelling suggestions for a word the open dictionary lacks, as the
// Similar Words list asks for them (the look-up first); their number.
size_t BenchSuggest(const std::string& word);
// Lets go of the suggestion lists held in memory: the next query takes them
// back from where they were kept, or builds them, as a new process does.
void BenchForgetSuggestionLists();
// The memory the held suggestion lists take, and how many letters they cover.
size_t BenchSuggestionListBytes();
size_t BenchSuggestionLetters();
// Words to ask suggestions for, made from the open dictionary's own: the
// middle word of its largest letter with two letters swapped, and with one
// dropped.
std::vector<std::string> BenchMisspellings();
// Unloads the letter and closes the dictionary.
void BenchCloseDictionary();
