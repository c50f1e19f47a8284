// Letters read earlier, kept with their indexes while their files stay as
// they were, so that going back to a letter does not read it again: the
// look-up's base-form fallback leaves the typed word's letter and comes
// back to it, and a word list (the tool's) jumps between letters. A letter
// another writer replaced (its stamp changed) is read again.
#pragma once

#include <cstddef>

// What the program keeps unless told otherwise.
constexpr size_t kDefaultLetterCacheBytes = 64u << 20;

// At most `bytes` of letters (their bytes and indexes) are kept; 0 turns
// the keeping off. What no longer fits is dropped.
void SetLetterCacheBudget(size_t bytes);
size_t LetterCacheBudget();
// Drops every kept letter (another dictionary, or the program's start).
void ForgetKeptLetters();
// Before the buffer takes another letter: keeps the held one, when the
// keeping is on, it was read from its file as it is, and it fits.
void SetAsideHeldLetter();
// Holds the letter kept for the file at `path` again when that file still
// has the stamp it was read with; false when there is none such (a kept
// letter whose file changed is dropped).
bool TakeKeptLetter(unsigned char letter, const char* path);
// Keeps, for later processes, the indexes of the held and kept letters that
// were only walked (storage/letter_index_store.h).
void KeepWalkedLetterIndexes();

// Another budget for as long as it lives: a word list's run.
class LetterCacheScope {
public:
    explicit LetterCacheScope(size_t bytes) : previous_(LetterCacheBudget()) { SetLetterCacheBudget(bytes); }
    ~LetterCacheScope() { SetLetterCacheBudget(previous_); }
    LetterCacheScope(const LetterCacheScope&) = delete;
    LetterCacheScope& operator=(const LetterCacheScope&) = delete;

private:
    size_t previous_;
};
