// Letters read earlier, kept with their indexes while their files stay as
// they were, so that going back to a letter does not read it again: the
// look-up's base-form fallback leaves the typed word's letter and comes
// back to it, and a word list (the tool's) jumps between letters. A letter
// another writer replaced (its stamp changed) is read again. Each
// dictionary value keeps its own (storage/dictionary.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/letter_bytes.h"

// What the program keeps unless told otherwise.
constexpr size_t kDefaultLetterCacheBytes = 64u << 20;

class KeptLetters {
public:
    // At most `bytes` of letters (their bytes and indexes) are kept; 0 turns
    // the keeping off. What no longer fits is dropped.
    void SetBudget(size_t bytes);
    size_t Budget() const { return budget_; }
    // Drops every kept letter.
    void Forget();
    // Keeps letter bytes the dictionary lets go of, when the keeping is on,
    // they were read from their file as it is (not an edit's), no page of
    // them faulted, and they fit.
    void SetAside(std::shared_ptr<LetterBytes> bytes);
    // The letter kept for the file at `path` when that file still has the
    // stamp it was read with, no longer kept; null when there is none such
    // (a kept letter whose file changed is dropped).
    std::shared_ptr<LetterBytes> Take(const std::string& path);
    // Keeps, for later processes, the indexes of the kept letters that were
    // only walked (storage/letter_index_store.h).
    void KeepWalkedIndexes();

private:
    struct Kept {
        std::shared_ptr<LetterBytes> bytes;
        size_t size;   // Bytes() when it was kept, or its indexes since
        unsigned long long lastUse;
    };
    void Drop(size_t at);
    // Drops the least recently used letters until `needed` more bytes fit.
    bool MakeRoom(size_t needed);

    size_t budget_ = kDefaultLetterCacheBytes;
    size_t used_ = 0;
    unsigned long long uses_ = 0;
    std::vector<Kept> kept_;
};

// Another budget for as long as it lives: a word list's run.
class LetterCacheScope {
public:
    LetterCacheScope(KeptLetters& kept, size_t bytes) : kept_(kept), previous_(kept.Budget()) { kept.SetBudget(bytes); }
    ~LetterCacheScope() { kept_.SetBudget(previous_); }
    LetterCacheScope(const LetterCacheScope&) = delete;
    LetterCacheScope& operator=(const LetterCacheScope&) = delete;

private:
    KeptLetters& kept_;
    size_t previous_;
};
