// A letter file's bytes as they are held for reading, and the searches the
// look-up, completion, browsing and similar words make in them. The held
// letter (storage/letter_bytes.h) hands out a view with its index, built
// on the first search; every reader goes through the view, and a view
// without an index (or with one of an unsorted letter) walks the entries.
#pragma once

#include <cstdint>
#include <string>

#include <vector>

#include "storage/dictionary_format.h"
#include "storage/letter_index.h"
#include "storage/text_case.h"

struct LetterView {
    const unsigned char* data = nullptr;   // the file's bytes and one NUL after them, or null
    int32_t length = 0;                    // bytes held, that NUL counted; 0 without data
    LetterIndex* index = nullptr;          // the held letter's, kept while it is held

    // The file's size, without the appended NUL.
    size_t FileSize() const { return data ? static_cast<size_t>(length - 1) : 0; }
    // Offsets outside the bytes read as NUL, so no walk ever leaves them.
    unsigned char ByteAt(int32_t offset) const {
        return data && offset >= 0 && offset < length ? data[offset] : 0;
    }
    // No entry to walk: no data, or an empty first word.
    bool Empty() const { return ByteAt(0) == 0; }
    // Offset of the NUL that ends the string at `offset` (never past
    // length - 1); `offset` itself when it lies outside the bytes.
    int32_t StringEnd(int32_t offset) const;
    // The string at an offset below `length`; the appended NUL ends it.
    const char* StringAt(int32_t offset) const { return reinterpret_cast<const char*>(data + offset); }
    // Offset of the description of the entry whose word starts at `offset`.
    int32_t DescriptionOf(int32_t offset) const { return StringEnd(offset) + 1; }
    // The entries of the file.
    LetterEntryWalker Walk(EntryWalk mode) const { return LetterEntryWalker(data, FileSize(), mode); }
    // The index, built now if it is not yet, when it may be searched by
    // halving; null when the entries must be walked.
    const LetterIndex* SortedIndex() const;
};

// The first entry of the look-up's walk whose word, folded by `rule`, equals
// `foldedKey`; -1 when there is none.
int32_t FindFoldedWord(const LetterView& view, const std::string& foldedKey, CaseRule rule);
// The first entry of the look-up's walk whose word, folded, begins with
// `foldedKey`; -1 when there is none.
int32_t FindFoldedPrefix(const LetterView& view, const std::string& foldedKey, CaseRule rule);
// Every entry of the look-up's walk whose word, folded, begins with
// `foldedKey`, in file order.
std::vector<int32_t> FoldedPrefixEntries(const LetterView& view, const std::string& foldedKey, CaseRule rule);
