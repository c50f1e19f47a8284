// Changing one letter file of the open dictionary as a single step that no
// other writer can come between: under the dictionary's write lock the file
// is read afresh, the change is applied to what is on disk, the result is
// written once (atomically), and the letter buffer is left holding exactly
// what the file holds. What the change is (lookup/entry_edits.h) is the
// caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "storage/letter_view.h"

enum class LetterChangeOutcome {
    Done,
    NotThere,      // the entry to replace or delete is not in the file
    AlreadyThere,  // the entry to add is in the file already
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

// Makes the file's new bytes from its present ones: Done with the bytes in
// `changed` and the place of the change in `offset`, or why not.
using LetterRewrite =
    std::function<LetterChangeOutcome(const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset)>;

LetterChangeResult ChangeLetter(unsigned char letter, const LetterRewrite& rewrite);
