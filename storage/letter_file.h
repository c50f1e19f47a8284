// The letter files of the open dictionary: loading one into the letter
// buffer, saving it, and the counts of the Info dialog.
#pragma once

#include <string>

#include "storage/lookup_result.h"

// 0, 3 no file, 5 no dictionary open, 7 the file is there but could not be
// read (the buffer then stands for the letter without data, and the next
// load tries the file again). A letter already held is not read again.
int LoadLetter(unsigned char letter);
// Writes the buffer as it is. Editing changes a letter file through
// ChangeLetter (storage/letter_change.h) instead, which works on the file as
// other writers left it.
int SaveLetter();

struct Statistics {
    unsigned long long entries = 0;   // entries with a description that the look-up reaches
    unsigned long long size = 0;      // bytes held for every letter, each with its appended NUL
    // The first letter whose file is there but cannot be read (0: none),
    // and why: the counts then leave its entries out.
    unsigned char unreadable = 0;
    std::string why;
};
// Loads every letter in turn (the last one stays held).
Statistics DictionaryStatistics();
