// Files of the program folder that the look-up reads beside the
// dictionaries (the word-form tables, lookup/word_forms.h, and the table of
// how common words are, lookup/word_counts.h): read once and kept, with the
// index of their entries, while their files keep the stamp they were read
// with. A dictionary value keeps them for its look-ups (storage/dictionary.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "storage/letter_bytes.h"

class KeptTables {
public:
    // At most `most` files are kept; the one read first goes first.
    explicit KeptTables(size_t most) : most_(most) {}
    // The file at `path` as it now is, read now unless it is kept with its
    // present stamp; null when it is not there or cannot be read. An empty
    // file holds no data. `searched`: a table that is searched as a letter
    // file is, whose index a process before may have kept.
    std::shared_ptr<LetterBytes> At(const std::string& path, bool searched) {
        std::shared_ptr<LetterBytes> table;
        Read(path, searched, true, table);
        return table;
    }
    // The same, with the outcome of reading it, which tells a file that is
    // not there from one that cannot be read (`table` null for both).
    // Without `mayMap` it is read into memory, as after a mapping that
    // faulted (LetterBytes::Faulted).
    FileReadOutcome Read(const std::string& path, bool searched, bool mayMap, std::shared_ptr<LetterBytes>& table);
    // Keeps, for later processes, the indexes of tables that were only
    // walked (storage/letter_index_store.h).
    void KeepWalkedIndexes();
    void Forget() { kept_.clear(); }

private:
    size_t most_;
    std::vector<std::shared_ptr<LetterBytes>> kept_;
};
