// How common words are, where open data says so: the table beside the word
// forms (forms/frequency.txt, made by scripts/build-word-forms.py: WordNet's
// sense counts of English words; for Bulgarian, which has no such list, the
// size of the word's entries in the default dictionary), one "word TAB
// count" a line in code page 1251. Spelling suggestions rank common words
// first among equally close ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

// The file in the program folder's forms folder.
extern const char* const kWordCountsFile;

class WordCounts {
public:
    // The count of a word (any letter case); 0 for a word the table lacks.
    uint32_t Of(const std::string& word) const;
    // Adds the lines of a table's text; a line that is not "word TAB
    // digits" is passed over.
    void AddLines(const char* text, size_t size);
    size_t Size() const { return counts_.size(); }

private:
    std::unordered_map<std::string, uint32_t> counts_;   // by word folded case-insensitively
};

// The table of the forms folder, read once and kept while its file stays as
// it was; empty when there is none.
const WordCounts& FormsWordCounts();
void ForgetFormsWordCounts();
