// A dictionary's letter files built in memory: entries already stored keep
// their places, new ones land where insertion puts them (sorted by the
// case-insensitive comparison, after the equal words already there), and
// each letter file is then written once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/dictionary_format.h"
#include "storage/text_case.h"

enum class AddOutcome {
    Stored,               // the entry is in the build
    Duplicate,            // the build holds the same word with the same description
    EmptyWord,            // left out: the word is empty
    EmptyDescription,     // left out: the description is empty
    WordTooLong,          // left out: longer than the longest word
    DescriptionTooLong,   // left out: longer than the longest description
};

// All the entries of a word: the word itself and its continuations.
struct WordGroup {
    uint32_t first = UINT32_MAX;    // entries of the group, chained by `nextInGroup`
    uint32_t last = UINT32_MAX;
    uint32_t spellingEntry = 0;     // the word as first stored is the start of this entry's word
    uint32_t spellingLength = 0;
    int highest = 0;                // highest continuation number in use (1: the word alone)
};

struct DictionaryBuild {
    // The dictionary's case rule decides letters and equality: the caller
    // sets it before building.
    CaseRule rule = CaseRule::Folded;
    // Each entry as the letter file holds it, word NUL description NUL, one
    // after the other: no allocation per entry.
    std::string text;
    std::vector<uint64_t> start;          // of each entry's word in `text`
    std::vector<uint32_t> nextInGroup;
    std::vector<int> number;              // continuation number, 1 for the word itself
    std::vector<uint32_t> existing[256];  // per letter, in file order
    std::vector<uint32_t> added[256];     // per letter, in the order added
    std::unordered_map<std::string, WordGroup> groups;   // by folded base word
};

// Room for about this many entries of this many bytes in all.
void ReserveBuild(DictionaryBuild& build, size_t entries, size_t bytes);

// An entry read from the dictionary's own letter file: kept as it is.
void AddExistingEntry(DictionaryBuild& build, unsigned char letter, const std::string& word,
                      const std::string& description);
// A new entry. A word that is stored already becomes a continuation entry
// ("word  {2}", shown after the first one by the look-up); the same word
// with the same description is a duplicate and is left out. Words longer
// than `longest` bytes are refused, as are descriptions longer than
// `longestDescription`.
AddOutcome AddNewEntry(DictionaryBuild& build, std::string word, std::string description,
                       size_t longest = kLongestWord, size_t longestDescription = kLongestDescription);

const char* EntryWord(const DictionaryBuild& build, uint32_t entry);
const char* EntryDescription(const DictionaryBuild& build, uint32_t entry);
uint32_t LastEntry(const DictionaryBuild& build);

// The letter file's bytes: the existing entries merged with the new ones.
std::string BuildLetterBytes(const DictionaryBuild& build, unsigned char letter);

// The continuation number of "word {N}" or "word  {N}" and its base word; 0
// when the word is not a continuation.
int ContinuationNumber(const std::string& word, std::string& base);
