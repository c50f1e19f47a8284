// Changing one letter file of the open dictionary as a single step that no
// other writer can come between: under the dictionary's write lock the file
// is read afresh, the change is applied to what is on disk, the result is
// written once (atomically), and the letter buffer is left holding exactly
// what the file holds.
#pragma once

#include <cstdint>
#include <string>

enum class LetterChangeKind {
    Add,      // a new entry, at its sorted place after the words equal to it
    Replace,  // the entry of the word gets the new description, in one write
    Delete,   // the entry of the word goes
};

struct LetterChange {
    LetterChangeKind kind;
    std::string word;         // as it is stored; compared folded to find an entry
    std::string description;  // Add and Replace
};

enum class LetterChangeOutcome {
    Done,
    NotThere,      // Replace, Delete: no entry of the word in the file
    AlreadyThere,  // Add: the file already holds the word
    Busy,          // another writer kept the dictionary for the whole wait
    CannotRead,    // the file is there but cannot be read whole
    CannotWrite,   // the new file could not be written; the old one stays
    NoMemory,
};

struct LetterChangeResult {
    LetterChangeOutcome outcome;
    // The file on disk was not what the letter buffer held for that letter:
    // another writer changed it since it was loaded here.
    bool changedElsewhere;
    // Done: where the entry was inserted or removed.
    int32_t offset;
};

LetterChangeResult ChangeLetter(unsigned char letter, const LetterChange& change);
