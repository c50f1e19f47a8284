// Imported text into code page 1251: the stress accents of the sources are
// removed and characters the code page lacks get a plain equivalent or are
// dropped, with a count of each for the import's summary.
#pragma once

#include <cstddef>
#include <string>

struct TextCounts {
    unsigned long long marksRemoved = 0;   // combining marks (stress accents)
    unsigned long long replaced = 0;       // given a plain equivalent
    unsigned long long dropped = 0;        // nothing near enough in the code page
};

// The code page form of valid UTF-8 text. Bytes that are not UTF-8 are
// dropped; the readers reject such input before it gets here.
std::string ImportText(const std::string& utf8, TextCounts& counts);

// Offset of the first byte that does not belong to valid UTF-8, or npos.
size_t FindInvalidUtf8(const std::string& text, size_t from = 0, size_t to = std::string::npos);
