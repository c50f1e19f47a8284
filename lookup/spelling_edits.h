// How far a typed word is from a dictionary word, as spelling suggestions
// (lookup/suggest.h) measure it: the restricted Damerau-Levenshtein distance
// (optimal string alignment: deletions, insertions, substitutions and swaps
// of neighbouring letters, each costing one, no letter edited twice), and
// among the alignments of that distance, the fewest substitutions that are
// unlikely slips of the hand.
#pragma once

#include <string>

struct SpellingDifference {
    int distance = 0;
    // Substitutions of a letter by one that is neither its neighbour on the
    // keyboard nor the same letter in another case.
    int farSubstitutions = 0;
};

// Of two words in code page 1251, as they compare (folded by the
// dictionary's rule).
SpellingDifference DifferenceOf(const std::string& typed, const std::string& word);

// Whether two letters are next to each other on the US English keyboard or
// on one of the two usual Bulgarian ones (the typewriter layout, 00000402,
// and the phonetic one), letter case aside.
bool NeighbourKeys(unsigned char a, unsigned char b);
