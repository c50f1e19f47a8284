// Adding, replacing and deleting one entry of a letter file: where a new
// entry goes and which entry goes, as a change of the file's bytes, applied
// to the file on disk under the dictionary's lock (storage/letter_change.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/letter_change.h"
#include "storage/text_case.h"

enum class EntryEditKind {
    Add,      // a new entry, at its sorted place after the words equal to it
    Replace,  // the entry of the word gets the new description, in one write
    Delete,   // the entry of the word goes
};

struct EntryEdit {
    EntryEditKind kind;
    std::string word;         // as it is stored; compared folded to find an entry
    std::string description;  // Add and Replace
};

// The letter file's new bytes from its present ones: Done with the place of
// the change in `offset`; NotThere when the word to replace or delete has no
// entry, AlreadyThere when the look-up finds the word to add.
LetterChangeOutcome EditLetterBytes(const EntryEdit& edit, const LetterView& present, CaseRule rule,
                                    std::vector<unsigned char>& changed, int32_t& offset);
// Makes the edit in the open dictionary's letter file `letter`.
LetterChangeResult ChangeEntry(unsigned char letter, const EntryEdit& edit);
