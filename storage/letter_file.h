// The letter files of a dictionary value: loading one to be held, holding
// bytes an edit wrote, saving the held one, and the counts of the Info
// dialog.
#pragma once

#include <cstddef>
#include <string>

#include "storage/dictionary.h"
#include "storage/lookup_result.h"

// Holds the letter: Ok (also for a letter held already, which is not read
// again, and for letter 0, which holds nothing), LetterCannotOpen when its
// file is not there, NoDictionary, LetterCannotRead when the file is there
// but could not be read (the dictionary then stands for the letter without
// data, and the next load tries the file again). A held letter that is let
// go is kept aside (storage/letter_cache.h) when it may be.
LookupResult LoadLetter(Dictionary& dictionary, unsigned char letter);
// The dictionary holds the letter with these bytes (the file as it now is
// on disk, as an edit wrote it); without memory for them it stands for the
// letter unread.
void HoldLetterBytes(Dictionary& dictionary, unsigned char letter, const unsigned char* bytes, size_t size);
// The dictionary stands for the letter without data, unread: the next load
// reads its file again (for letter 0: it holds nothing).
void ForgetLetter(Dictionary& dictionary, unsigned char letter);
// Writes the held letter's bytes as its file. Editing changes a letter file
// through ChangeLetter (storage/letter_change.h) instead, which works on
// the file as other writers left it.
bool SaveLetter(const Dictionary& dictionary);

struct Statistics {
    unsigned long long entries = 0;   // entries with a description that the look-up reaches
    unsigned long long size = 0;      // bytes held for every letter, each with its appended NUL
    // The first letter whose file is there but cannot be read (0: none),
    // and why: the counts then leave its entries out.
    unsigned char unreadable = 0;
    std::string why;
};
// Loads every letter in turn (the last one stays held).
Statistics DictionaryStatistics(Dictionary& dictionary);
