// How common words are, where open data says so: the table beside the word
// forms (forms/frequency.txt, made by scripts/build-word-forms.py: WordNet's
// sense counts of English words; for Bulgarian, which has no such list, the
// size of the word's entries in the default dictionary), one "word TAB
// count" a line in code page 1251, the lines in the order of their words
// folded case-insensitively (as bytes). Spelling suggestions rank common
// words first among equally close ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "storage/dictionary.h"
#include "storage/letter_bytes.h"

// The file in the program folder's forms folder.
extern const char* const kWordCountsFile;

// A table searched where it lies, by halving: reading it costs nothing
// but the file's bytes, and a line out of order only loses its count.
class WordCounts {
public:
    WordCounts() = default;
    // A table of these lines.
    explicit WordCounts(std::string lines) : own_(std::move(lines)), text_(own_.data()), size_(own_.size()) {}
    WordCounts(WordCounts&& other) noexcept { *this = std::move(other); }
    WordCounts& operator=(WordCounts&& other) noexcept;
    // The table of a file's bytes, which it keeps alive.
    explicit WordCounts(std::shared_ptr<const LetterBytes> file);
    // The count of a word (any letter case); 0 for a word the table lacks
    // or whose count is not digits.
    uint32_t Of(const std::string& word) const;

private:
    std::string own_;
    std::shared_ptr<const LetterBytes> held_;
    const char* text_ = nullptr;
    size_t size_ = 0;
};

// The table of the forms folder of the dictionary's program folder, read
// once and kept with the dictionary while its file stays as it was
// (Dictionary::wordCounts); empty when there is none.
WordCounts FormsWordCounts(Dictionary& dictionary);
