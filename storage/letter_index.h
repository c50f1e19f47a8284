// The entries of a held letter as the look-up's walk visits them, found
// once per load, so that the searches halve a sorted letter instead of
// walking it. A letter whose words are out of order (damaged or edited by
// hand) keeps the plain walk, which alone decides the answers there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/index_entries.h"
#include "storage/text_case.h"

// Where a letter's bytes came from: a file and its stamp when it was read.
struct IndexOrigin {
    std::string path;
    FileStamp stamp;
};

struct LetterIndex {
    bool built = false;
    // A word was looked up in these bytes by walking them: a letter that is
    // searched once (a one-word look-up) never pays for the index, and the
    // second search builds it.
    bool walkedOnce = false;
    // The walk's words follow each other in the letter files' order
    // (CompareNoCase): only then may a search halve.
    bool sorted = false;
    // Every entry has a word and a description, and the last one's NUL ends
    // the file: stepping from entry to entry, as browsing does, then visits
    // exactly these entries.
    bool wholeFile = false;
    // Offsets of the words, in file order.
    IndexEntries entries;
    // Set while the index, once built, may be kept for later processes
    // (storage/letter_index_store.h): the bytes are a settled file's.
    IndexOrigin origin;
};

// Indexes `length` bytes whose last one is the NUL the buffer appends (the
// file's bytes and that NUL). Without memory for it, the index is built but
// unsorted, so the walk serves.
void BuildLetterIndex(const unsigned char* data, int32_t length, LetterIndex& index);

// The first word of the look-up's walk over `length` bytes (the last one the
// appended NUL) whose fold by `rule` equals `foldedKey`; -1 when there is
// none. One pass NUL by NUL, as the index is built, without building it.
int32_t WalkToFoldedWord(const unsigned char* data, int32_t length, const std::string& foldedKey, CaseRule rule);

// Positions [begin, end) in LetterIndex::entries.
struct IndexRange {
    size_t begin;
    size_t end;
};

// For a sorted index: the ranges, in file order, that hold every entry whose
// word, folded by `rule`, begins with `key`. Under the folded rule every
// entry in them does; under the exact rule they hold the entries that agree
// with the key except in ASCII case, for the caller to filter.
std::vector<IndexRange> FoldedPrefixRanges(const unsigned char* data, const LetterIndex& index,
                                           const std::string& key, CaseRule rule);

// For a sorted index: the first position whose word does not sort before
// `text` (CompareNoCase); the number of entries when every word does.
size_t FirstNotBefore(const unsigned char* data, const LetterIndex& index, const char* text);
// For a sorted index: the first position whose word sorts after `text`.
size_t FirstAfter(const unsigned char* data, const LetterIndex& index, const char* text);
// The number of entries whose word starts before `offset`.
size_t EntriesBefore(const LetterIndex& index, int32_t offset);
