// A letter file read entry by entry through a small buffer, never whole, so
// that a file of any size is checked in little memory. Each string is kept
// up to kStreamKept bytes, with its full length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

constexpr size_t kStreamKept = 4096;

struct StreamedString {
    std::string kept;         // the first kStreamKept bytes at most
    uint64_t length = 0;      // of the whole string
    bool Whole() const { return kept.size() == length; }
};

// As the file holds it: a word and, when any byte follows the word's NUL,
// a description; a last string without its NUL ends with the file.
struct StreamedEntry {
    uint64_t offset = 0;              // of the word
    uint64_t descriptionOffset = 0;   // of the description (the file's size when there is none)
    StreamedString word, description;
    bool hasDescription = false;
};

class LetterStream {
public:
    explicit LetterStream(const std::string& path);
    bool Opened() const { return reader_.Opened(); }
    // The disk reported an error: what was read is not the whole file.
    bool Failed() const { return reader_.Failed(); }
    uint64_t Size() const { return reader_.Size(); }
    // Whether the file's last byte is a NUL (true for an empty file).
    bool EndsWithNul();
    // The next entry; false at the end of the file.
    bool Next(StreamedEntry& entry);

private:
    // Reads the string at the position onwards, past its NUL.
    void ReadString(StreamedString& out);
    bool Fill();   // the buffer from the position on; false at the end

    PlatformFileReader reader_;
    std::vector<char> buffer_;
    uint64_t bufferAt_ = 0;     // file offset of buffer_[0]
    size_t bufferUsed_ = 0;
    uint64_t position_ = 0;
};
