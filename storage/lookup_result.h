// What a look-up, or the loading of a letter, came to. The numbers are the
// ones users see: the tool's exit status and the "result" of its JSON.
#pragma once

enum class LookupResult : int {
    Ok = 0,                 // found; also: nothing to look up, a letter held
    LetterCannotOpen = 3,   // the word's letter file is not there (or, marked
                            // unreadable in a WordMatch, cannot be read)
    NoDictionary = 5,       // no dictionary is open
    NotFound = 6,           // the letter holds no entry of the word
    // The letter file is there but could not be read whole (a read error,
    // too large to hold, no memory): nothing of it is held, and the next
    // load tries again. A look-up answers it as LetterCannotOpen, marked
    // unreadable; editing refuses to change it.
    LetterCannotRead = 7,
};

// The number users see.
inline int ResultNumber(LookupResult result) { return static_cast<int>(result); }
