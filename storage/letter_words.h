// The words of one letter file in the order of their folded bytes, for the
// searches that go by likeness rather than by beginning (spelling
// suggestions, lookup/suggest.h). One word stands for all entries whose
// words fold alike: the first the look-up's walk reaches, which is what
// looking the word up shows. Continuation entries ("word  {2}") are part
// of the entry before them and have no word of their own here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/file_bytes.h"
#include "storage/text_case.h"

// The list as a reader sees it; `count` words.
struct LetterWordsView {
    unsigned char letter = 0;
    uint32_t count = 0;
    const uint32_t* wordAt = nullptr;    // offset of each word (as stored, NUL-terminated) in `text`
    const uint32_t* entryAt = nullptr;   // offset of its entry in the letter file: the walk's order
    // How many folded bytes each word shares with the word before it (the
    // first: 0), at most kMostShared: the searches walk the words as the
    // branches of a tree of prefixes.
    const uint8_t* shared = nullptr;
    const char* text = nullptr;
    size_t textSize = 0;                 // the NUL of the last word counted
    const char* Word(uint32_t i) const { return text + wordAt[i]; }
};
constexpr uint8_t kMostShared = 255;

// A letter's list, built from its bytes or read back whole from where it
// was kept (storage/dictionary_words.h). The payload is laid out as it is
// kept: wordAt, entryAt, shared (padded to 4 bytes), then the words.
class LetterWords {
public:
    unsigned char letter = 0;
    CaseRule rule = CaseRule::Folded;

    LetterWordsView View() const;
    uint32_t Count() const { return count_; }
    // The bytes the list takes in memory.
    size_t Bytes() const { return built_.capacity() + static_cast<size_t>(held_.Length()); }
    const unsigned char* Payload() const { return payload_; }
    size_t PayloadSize() const { return payloadSize_; }

    // From a letter file's bytes (`size` of them, without the NUL a held
    // letter appends), folded by `rule`.
    void Build(unsigned char letterByte, CaseRule foldRule, const unsigned char* data, size_t size);
    // Takes a kept payload of `count` words that starts at byte `at` of
    // `file`; false, holding nothing, unless every offset lies inside it
    // and every word ends inside it. (A search reads inside the words
    // whatever the shared counts say.)
    bool Hold(FileBytes&& file, size_t at, uint32_t count);

private:
    std::vector<unsigned char> built_;
    FileBytes held_;
    const unsigned char* payload_ = nullptr;
    size_t payloadSize_ = 0;
    uint32_t count_ = 0;
};
