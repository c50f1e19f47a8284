// What the main window keeps about its two edits: the record
// (ui/program_state.h keeps it with the window's other records).
#pragma once

#include "lookup/typed_word.h"

// The word edit's mirror: the most a look-up takes, and its terminator.
constexpr int kWordTextSize = static_cast<int>(kLongestTypedWord) + 1;
constexpr int kDescriptionTextSize = 10000;

// LastKey's marks for keys that type no character: after them the change
// handler does not complete the word.
constexpr unsigned char kBackspaceKeyMark = 8;
constexpr unsigned char kDeleteKeyMark = 9;

struct EditStateRecord {
    char WordText[kWordTextSize];            // mirror of the word edit
    char DescriptionText[kDescriptionTextSize];  // mirror of the description edit
    int Modified;          // the edits hold something not looked up or stored
    // The word edit's text came from completion: the look-up does not narrow
    // it to the selection.
    int AutoCompleted;
    int CompletionInProgress;
    unsigned char LastKey;  // the last character typed into an edit, or a key mark
    // SetWordEditText is writing: the change handler refreshes the mirror
    // but never completes what the program wrote.
    int ProgramWrites;
    // The letter whose file the last look-up found there but could not read
    // (its word's, or a base form's); 0 when it read what it needed.
    unsigned char UnreadLetter;
};
