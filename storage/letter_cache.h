// Letters read earlier in a run, kept with their indexes while their files
// stay as they were, for a run that looks up many words in any order (the
// tool's word lists): a list that jumps between letters then reads each
// letter file once. Off until a budget is set; the window holds one letter.
#pragma once

#include <cstddef>

// At most `bytes` of letters (their bytes and indexes) are kept; 0 turns
// the keeping off and drops whatever is kept.
void SetLetterCacheBudget(size_t bytes);
// Before the buffer takes another letter: keeps the held one, when the
// keeping is on, it was read from its file as it is, and it fits.
void SetAsideHeldLetter();
// Holds the letter kept for the file at `path` again when that file still
// has the stamp it was read with; false when there is none such (a kept
// letter whose file changed is dropped).
bool TakeKeptLetter(unsigned char letter, const char* path);

// Keeps letters for as long as it lives: a word list's run.
class LetterCacheScope {
public:
    explicit LetterCacheScope(size_t bytes) { SetLetterCacheBudget(bytes); }
    ~LetterCacheScope() { SetLetterCacheBudget(0); }
    LetterCacheScope(const LetterCacheScope&) = delete;
    LetterCacheScope& operator=(const LetterCacheScope&) = delete;
};
