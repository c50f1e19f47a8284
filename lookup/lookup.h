// The look-up core: a dictionary and a word in, the entry that answers it
// out. It loads the letter file it needs into the dictionary value and
// touches no window; the window's Find (ui/lookup_command.h) and the tool's
// lookup (tools/lookup_command.h) both call it and show the answer their way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "lookup/word_forms.h"
#include "storage/dictionary.h"
#include "storage/letter_bytes.h"
#include "storage/lookup_result.h"

// Whether a word that is not found is tried again without a final S.
enum class PluralRetry { Off, On };
// Whether a word that neither it nor the plural retry finds is tried as its
// base forms (lookup/word_forms.h). Only together with PluralRetry::On: a
// caller that wants the word alone turns both off.
enum class BaseForms { Off, On };
struct LookupOptions {
    PluralRetry plural = PluralRetry::On;
    BaseForms forms = BaseForms::On;
};

struct WordMatch {
    LookupResult result = LookupResult::NotFound;   // Ok, or why there is no entry
    // A hit: its letter's bytes, which the match keeps alive whatever the
    // dictionary loads next, and the offset of the entry's word in them.
    std::shared_ptr<const LetterBytes> bytes;
    int32_t entry = -1;
    // A hit that the plural retry found: the word less its last byte.
    bool withoutFinalS = false;
    // A hit through a base form: that base form, as its table gives it.
    std::string baseForm;
    unsigned char letter = 0;       // the letter file of the entry, or of the word on a miss (0: none)
    // LetterCannotOpen: the file of `letter` is there but could not be read
    // (rather than absent).
    bool unreadable = false;
    // A miss whose base forms could not all be read: the word-form table
    // that could not be (the word is not in the dictionary, but a base of
    // it may be).
    UnreadableTable unreadableForms;
};
// A hit's description as the description edit shows it (lookup/description.h).
std::string DescriptionOf(const WordMatch& match);

// Finds `word` in the dictionary: its leading blanks are passed over
// (trailing ones are the caller's to trim), its first byte folded by the
// dictionary's rule chooses the letter file, which is loaded unless held,
// and the look-up's walk compares folded words in full. A blank word is not
// found; a letter file that is there but cannot be read answers as one that
// cannot be opened, marked unreadable. When the word and the plural retry
// are not there (not found, or no letter file; a letter that cannot be read
// is no answer of "not there"), the first of its base forms that the
// dictionary holds answers; when none does, the answer is the word's own
// miss (naming a word-form table that could not be read), or the letter of
// a base that could not be read, and the word's letter is held again.
WordMatch FindWord(Dictionary& dictionary, const char* word, LookupOptions options);

// A typed word looked up as the window's Find and the tool's lookup do.
struct TypedLookup {
    bool blank = false;   // nothing but blanks: nothing to look up (result Ok)
    // The word as the answer shows it: the typed word without its trailing
    // blanks, less its final S when the plural retry found it, or the base
    // form that found it. For a blank word: as typed.
    std::string word;
    WordMatch match;
};
// Looks up the text of the word edit (or a word the tool was given, cut as
// the edit would hold it, lookup/typed_word.h) without its trailing blanks.
TypedLookup LookUpTyped(Dictionary& dictionary, const std::string& typed, LookupOptions options);
