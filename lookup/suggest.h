// Spelling suggestions for a word that is not found: the words of the whole
// dictionary within a small edit distance of it.
//
// Who is a candidate: every word of the lists (storage/letter_words.h: one
// for each word the look-up can find) whose restricted Damerau-Levenshtein
// distance (lookup/spelling_edits.h) from the typed word is at least 1 and at
// most 1 for a word of up to 4 letters, 2 for a longer one; both words
// folded by the dictionary's rule, the typed one without its leading and
// trailing blanks.
// In what order, each key deciding only between equals of the keys before:
//   1. the smaller distance;
//   2. the fewer substitutions that are not a neighbour key (so a swap or a
//      slip to the next key comes first);
//   3. the more common word (lookup/word_counts.h);
//   4. the closer in length to the typed word;
//   5. the program's word order: CompareNoCase, then the letter file's
//      byte, then the entry's place in it.
// At most kMostSuggestions of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "lookup/word_counts.h"
#include "storage/dictionary.h"
#include "storage/dictionary_words.h"

constexpr size_t kMostSuggestions = 20;

struct Suggestion {
    std::string word;          // as stored
    int distance = 0;
    int farSubstitutions = 0;
    uint32_t count = 0;        // how common (0: not known)
    unsigned char letter = 0;  // its letter file
    uint32_t entry = 0;        // its entry's offset there
};

// The greatest distance a suggestion for a word of `letters` letters may have.
int MostSuggestionDistance(size_t letters);

// The suggestions for `typed` among `words` (folded by `rule`), best first,
// at most `limit` (and never more than kMostSuggestions). The caller has
// looked the word up: a word the look-up finds (itself, without its final
// S, or through a base form) asks for none.
std::vector<Suggestion> SuggestWords(const DictionaryWords& words, const char* typed, CaseRule rule,
                                     const WordCounts& counts, size_t limit = kMostSuggestions);

// The suggestions of a dictionary for a word it does not find, as the
// Similar Words dialog, the double-copy pop-up and the tool ask for them.
struct MissSuggestions {
    bool wordFound = false;           // the look-up finds the word: no suggestions
    std::vector<std::string> words;   // best first
    // Letters whose file could not be read: their words were not searched.
    std::vector<unsigned char> unreadable;
};
// The suggestions for the typed word (its blanks around it passed over)
// when the look-up, with `options` as the caller looks words up, does not
// find it; none when it does. The lists come from the dictionary's letter
// files as they are now (storage/dictionary_words.h), the counts from its
// program folder's forms folder.
MissSuggestions SuggestionsForMiss(Dictionary& dictionary, const char* typed, LookupOptions options,
                                   size_t limit = kMostSuggestions);
