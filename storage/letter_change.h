// Changing letter files of a dictionary as a single step that no
// other writer can come between: under the dictionary's write lock each
// file is read afresh, the change is made of those bytes (never of the
// letter buffer's, which may be a mapping of a file another program is
// rewriting), the result is written once: one file atomically, several as
// one staged change (storage/staged_commit.h), so that after any
// interruption they are all old or all new once the dictionary is next
// opened. The dictionary is left holding exactly what the file holds.
// What the change is (lookup/entry_edits.h) is the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "storage/dictionary.h"
#include "storage/letter_view.h"

enum class LetterChangeOutcome {
    Done,          // the files hold the change
    NotThere,      // the entry to replace or delete is not in the file
    AlreadyThere,  // the entry to add is in the file already
    Busy,          // another writer kept the dictionary for the whole wait
    CannotRead,    // the file is there but cannot be read whole
    CannotWrite,   // the new files could not be written; the old ones stay
    NoMemory,
};

struct LetterChangeResult {
    LetterChangeOutcome outcome;
    // The file on disk was not what the dictionary held for that letter:
    // another writer changed it since it was loaded here.
    bool changedElsewhere;
    // Done: where the entry was inserted or removed in the first file changed.
    int32_t offset;
    // The letter whose file the outcome is about (CannotRead, CannotWrite).
    unsigned char letter = 0;
    // CannotWrite: why, as the system said.
    WriteFailure why = WriteFailure::None;
};

// The letter files of a dictionary folder as a change reads them: each read
// afresh under the lock, once, into memory of its own.
class PresentLetters {
public:
    // The folder as files are opened.
    explicit PresentLetters(std::string folder) : folder_(std::move(folder)) {}
    struct File {
        unsigned char letter;
        FileReadOutcome outcome;
        std::vector<unsigned char> bytes;   // the file's bytes and one NUL after them (Read)
        LetterView view;
    };
    // The file of `letter` as it is now (no data when there is none); null
    // when it is there but cannot be read whole, or there is no memory.
    const LetterView* Present(unsigned char letter);
    // The files read, in the order they were asked for.
    const std::vector<std::unique_ptr<File>>& Files() const { return files_; }
    // The first letter whose file could not be read (0: none), and whether
    // it was for want of memory.
    unsigned char Unreadable() const { return unreadable_; }
    bool OutOfMemory() const { return outOfMemory_; }

private:
    std::string folder_;
    std::vector<std::unique_ptr<File>> files_;
    unsigned char unreadable_ = 0;
    bool outOfMemory_ = false;
};

// The new bytes of the files a change makes, in the order they are written.
struct ChangedLetter {
    unsigned char letter;
    std::vector<unsigned char> bytes;
    int32_t offset;   // the place of the change
};
struct ChangedLetters {
    std::vector<ChangedLetter> files;
    // The file of `letter` among them, or null.
    ChangedLetter* Of(unsigned char letter);
};

// Makes the files' new bytes from their present ones: Done with them in
// `changed`, or why not (CannotRead when a Present gave null).
using LettersRewrite = std::function<LetterChangeOutcome(PresentLetters& present, ChangedLetters& changed)>;
LetterChangeResult ChangeLetters(Dictionary& dictionary, const LettersRewrite& rewrite);

// One letter file: its new bytes in `changed` with the place of the change
// in `offset`, or why not.
using LetterRewrite =
    std::function<LetterChangeOutcome(const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset)>;
LetterChangeResult ChangeLetter(Dictionary& dictionary, unsigned char letter, const LetterRewrite& rewrite);
