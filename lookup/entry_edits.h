// Adding, replacing and deleting one entry of a dictionary: where a new
// entry goes and which entry goes, as a change of a letter file's bytes
// applied to the file on disk under the dictionary's lock
// (storage/letter_change.h); and the rules of the Add and Delete commands,
// which the window and the tool both call and whose outcomes each tells in
// its own way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "platform/files.h"
#include "storage/dictionary.h"
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

// The word of the reverse entry that a dual dictionary stores for an entry
// whose description the look-up shows as `shown` (lookup/description.h):
// that text without the blanks around it, when it is one line and fits a
// word; empty when there is none.
std::string ReverseWordOf(const std::string& shown);

// ---- The Add and Delete commands.

// Why a change of an entry was not made.
enum class Refusal {
    None,
    NoWord,               // the word is blank
    NoDescription,        // the description is empty
    WordTooLong,          // longer than kLongestWord
    DescriptionTooLong,   // longer than kLongestDescription
    NoDictionary,         // no dictionary is open (nothing to tell)
    CannotRead,           // the file of `letter` is there but cannot be read whole
    CannotWrite,          // the new file of `letter` could not be written (`failure`: why)
    NoMemory,             // not enough memory for the change
    Busy,                 // another writer kept the dictionary for the whole wait
    AddedMeanwhile,       // another program added `word` since it was looked up
    RemovedMeanwhile,     // another program removed `word` since it was looked up
};
struct Refused {
    Refusal why = Refusal::None;
    std::string word;          // the word the change was for
    unsigned char letter = 0;  // CannotRead, CannotWrite: the letter file
    WriteFailure failure = WriteFailure::None;
};
// What the user is told of a refusal (code page 1251): the window shows it
// in an error box, the tool prints it. Empty for NoDictionary.
std::string RefusalMessage(const Dictionary& dictionary, const Refused& refused);

enum class EntryOutcome {
    Stored,     // the word had no entry and has one now
    Replaced,   // the word's entry has the new description
    KeptOld,    // the word has an entry and the confirmation kept it as it is
    Deleted,    // the word's entry is gone
    NotThere,   // delete: the word has no entry (or is blank); nothing changed
    Refused,    // nothing was changed: `refused` says why
};

// The reverse entry of a dual dictionary: the caller decides whether the
// description is one line (the window by its edit's lines, the tool by its
// line breaks), and the look-up's description of the stored entry decides
// its word (ReverseWordOf).
enum class ReverseEntry { None, WithIt };

struct EntryChange {
    EntryOutcome outcome = EntryOutcome::Refused;
    // Refused; or KeptOld whose reverse entry could not be stored.
    Refused refused;
    // The reverse entry's word: stored with the entry (both letter files
    // changed, or neither), or with the kept one (a change of its letter
    // alone); empty when there is none.
    std::string reverseWord;
    // With a reverse entry: the entry's description as the look-up shows it.
    std::string entryShown;
    // Deleted: where the entry was in its letter, which the dictionary holds.
    int32_t offset = -1;
    // The word without the blanks around it, as it was stored or deleted.
    std::string word;
};

// Whether to replace the entry of a word that has one; asked only then.
using ReplaceConfirmation = std::function<bool()>;

// Why AddEntry refuses the word and description before it reads any file
// (the blank, empty and too long checks, and no dictionary open); None
// when it goes on. The window checks the characters of its edits after it.
Refusal EntryTextRefusal(const Dictionary& dictionary, const std::string& word, const std::string& description);
// Stores the word (without the blanks around it; text beyond a byte more
// than an entry may hold is not read) with the description. A word that
// has an entry is replaced when `confirm` says so, else kept. Refused with
// nothing changed when the word is blank or too long, the description empty
// or too long, or the files cannot be changed.
EntryChange AddEntry(Dictionary& dictionary, const std::string& word, const std::string& description,
                     ReverseEntry reverse, const ReplaceConfirmation& confirm);
// Removes the entry of the word (without the blanks around it).
EntryChange DeleteEntry(Dictionary& dictionary, const std::string& word);
