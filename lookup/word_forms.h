// Word forms: tables beside the dictionaries that map inflected words to
// their base forms ("went" -> "go", "котките" -> "котка"), one folder per
// language in the program folder's "forms" folder.
//
// A language folder holds letter files as a dictionary does: entries
// form NUL bases NUL, in one file per first byte folded case-insensitively
// (a forms folder is always laid out so, whatever dictionary is open),
// sorted as letter files are. The bases of one form are separated by ';',
// the preferred first; continuation entries ("form  {2}") add more.
#pragma once

#include <string>
#include <vector>

#include "storage/dictionary.h"
#include "storage/text_case.h"

// The folder of the language folders, in the program folder.
extern const char* const kWordFormsFolder;

// A table file that is there but could not be read (a folder or a FIFO in
// its place, no permission, a read error): the bases it holds are unknown.
struct UnreadableTable {
    std::string path;   // as the layout writes it ("forms\English\57.dat"); empty: none
    std::string why;    // the system's words, or empty
};

// The base forms of `word` in preference order, from every language folder
// of the dictionary's program folder (in name order), each once. Words
// compare as the dictionary compares them. Empty when no table lists the
// word or there is no forms folder; a damaged file yields what it holds
// before the damage and is never read outside its bytes. A table file that
// cannot be read gives nothing and is named in `unreadable` (the first
// one), so that a caller never takes it for "no base forms". The tables are
// kept with the dictionary, with their indexes, while their files stay as
// they were read (Dictionary::formsTables).
std::vector<std::string> BaseFormsOf(Dictionary& dictionary, const char* word,
                                     UnreadableTable* unreadable = nullptr);
