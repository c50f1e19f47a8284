// The words of every letter file of a dictionary in folded order
// (storage/letter_words.h), for spelling suggestions. A letter's list is
// held in memory while its file keeps the stamp it was read with, so that
// it follows every change of the file (an edit in the window, another
// writer); a list built from a settled file is kept in the user's cache
// folder (storage/kept_file.h) for later processes, never in the
// dictionary's folder.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/letter_words.h"
#include "storage/text_case.h"

struct DictionaryWords {
    // The letters the look-up can reach (a letter file named by a folded
    // first byte), in the order of their bytes.
    std::vector<std::shared_ptr<const LetterWords>> letters;
    // Letters whose file is there but could not be read: their words are
    // missing from the lists.
    std::vector<unsigned char> unreadable;
    // Lists read back from the cache folder, and lists built from a letter
    // file (the first search after a change of the file, or with nothing kept).
    size_t takenBack = 0;
    size_t built = 0;
};

// The lists a dictionary value holds in memory (storage/dictionary.h): of
// one folder and rule at a time, each while its file keeps its stamp.
struct HeldWordLists {
    struct Held {
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const LetterWords> words;
    };
    std::string folder;
    CaseRule rule = CaseRule::Folded;
    std::vector<Held> lists;
    // The memory they take.
    size_t Bytes() const;
};

// The lists of the dictionary in `folder` (as files are opened) under
// `rule`, as its letter files are now; `held` keeps them for the next call
// (and is cleared for another folder or rule).
DictionaryWords WordsOfDictionary(const std::string& folder, CaseRule rule, HeldWordLists& held);
