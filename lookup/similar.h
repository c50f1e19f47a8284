// Similar words of a word that is not found, and the search for a word's
// beginning in every dictionary: the lines the two list dialogs show.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "storage/catalog.h"
#include "storage/dictionary.h"
#include "storage/letter_view.h"

// The words of the held letter that share the longest prefix with the typed
// word (its leading blanks passed over), compared folded by `rule`; none for
// a blank word or an empty letter.
std::vector<std::string> SimilarWords(const LetterView& letter, const char* typed, CaseRule rule);

// Bound for the gathered result lines, NULs counted.
constexpr size_t kSearchResultsSize = 0x80000;

// What the search looks for in every dictionary: the letter of the typed
// word's first byte, folded whatever the dictionaries' rules, and the whole
// word folded once, by the rule of the window's dictionary when it starts.
struct SearchKey {
    unsigned char letter;
    std::string folded;
};
SearchKey SearchKeyOf(const char* typed, CaseRule rule);

// The lines gathered so far, "word (Name-index)" each.
struct SearchResults {
    std::vector<std::string> lines;
    size_t used = 0;   // bytes, a NUL counted for each line
    // No more lines are gathered once this is true.
    bool Full() const { return used > kSearchResultsSize - 100; }
};
// Adds a line for every entry of the dictionary (catalogue slot `index`,
// shown as `displayName`) whose word, folded by its rule, begins with the
// key, ASCII case aside; walks the key's letter file as the look-up does.
void AddSearchResultLines(Dictionary& dictionary, const SearchKey& key, const char* displayName, int index,
                          SearchResults& results);

// The word and catalogue index of a result line; false when the line does
// not end in a valid "(Name-index)" of the catalogue.
bool SplitResultLine(const CatalogRecord& catalog, const std::string& line, std::string* word, int* index);
