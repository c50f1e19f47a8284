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

// The word of the reverse entry that a dual dictionary stores for an entry
// whose description the look-up shows as `shown` (lookup/description.h):
// that text without the blanks around it, when it is one line and fits a
// word; empty when there is none.
std::string ReverseWordOf(const std::string& shown);
// Stores `word` with `description`, replacing the entry of that word when
// there is one (the reverse entry of an entry that stays as it is).
LetterChangeResult PutEntry(const std::string& word, const std::string& description);
struct ReverseEntry {
    std::string word;        // "" when there is none
    std::string entryShown;  // the entry's description as shown before the reverse entry is added
};
// Adds or replaces an entry (`edit`, Add or Replace) and, when
// `withReverse`, the reverse entry of the entry as the look-up then finds
// it (ReverseWordOf, with the entry's word as its description; it replaces
// an entry of that word): both letter files change, or neither.
LetterChangeResult ChangeEntryAndReverse(unsigned char letter, const EntryEdit& edit, bool withReverse,
                                         ReverseEntry& reverse);
