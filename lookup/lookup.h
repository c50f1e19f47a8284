// The look-up core: a word in, the entry that answers it out. It loads the
// letter file it needs and touches no window; LookupWord (ui/lookup_command.h)
// is the command that shows the result.
#pragma once

#include <cstdint>
#include <string>

#include "lookup/word_forms.h"
#include "storage/lookup_result.h"
#include "storage/text_case.h"

// Whether a word that is not found is tried again without a final S.
enum class PluralRetry { Off, On };
// Whether a word that neither it nor the plural retry finds is tried as its
// base forms (lookup/word_forms.h). Only together with PluralRetry::On: a
// caller that wants the word alone turns both off.
enum class BaseForms { Off, On };

struct WordMatch {
    int result = kResultNotFound;   // kResultOk, or why there is no entry
    int32_t entry = -1;             // a hit: offset of its word in the held letter
    // A hit that the plural retry found: the word less its last byte.
    bool withoutFinalS = false;
    // A hit through a base form: that base form, as its table gives it.
    std::string baseForm;
    unsigned char letter = 0;       // the letter file of the entry, or of the word on a miss (0: none)
    // kResultLetterCannotOpen: the file of `letter` is there but could not
    // be read (rather than absent).
    bool unreadable = false;
    // A miss whose base forms could not all be read: the word-form table
    // that could not be (the word is not in the dictionary, but a base of
    // it may be).
    UnreadableTable unreadableForms;
};

// Finds `word` in the open dictionary: its leading blanks are passed over
// (trailing ones are the caller's to trim), its first byte folded by `rule`
// chooses the letter file, which is loaded unless held, and the look-up's
// walk compares folded words in full. A blank word is not found; a letter
// file that is there but cannot be read answers as one that cannot be
// opened, marked unreadable. When the word and the plural retry are not
// there (not found, or no letter file; a letter that cannot be read is no
// answer of "not there"), the first of its base forms that the dictionary holds answers;
// when none does, the answer is the word's own miss (naming a word-form
// table that could not be read), or the letter of a base that could not be
// read, and the word's letter is held again.
WordMatch FindWord(const char* word, CaseRule rule, PluralRetry plural, BaseForms forms);
