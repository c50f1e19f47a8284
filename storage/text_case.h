// Letter case in words and names. Three comparisons are in use and must not
// be mixed up: CompareNoCase orders letter files and serves browsing,
// insertion, deletion, the history, catalogue names and the version check;
// words folded by FoldString and compared exactly serve the look-up,
// completion and similar words; folded words compared with
// StartsWithNoCase serve the search in all dictionaries.
#pragma once

#include <cstdint>
#include <string>

// How a dictionary compares its words: folded (the header's case-sensitive
// flag is 0) or exactly as stored.
enum class CaseRule { Folded, Exact };
inline CaseRule CaseRuleOf(int32_t caseSensitiveFlag) {
    return caseSensitiveFlag ? CaseRule::Exact : CaseRule::Folded;
}

// The byte a word is compared as, and whose letter file holds it: under the
// folded rule ASCII a-z become A-Z and the Cyrillic а-я (0xE0-0xFF) become
// А-Я; every other byte, ё and Ё among them, stays.
inline unsigned char FoldChar(unsigned char c, CaseRule rule) {
    if (rule == CaseRule::Exact) return c;
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
    return c;
}
// A folded copy of the text.
std::string FoldString(const char* text, CaseRule rule);

inline unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}
// ASCII letters compare as lower case, every other byte by its unsigned
// value (strcasecmp in the POSIX locale), so the result never depends on
// the user's locale. Returns -1, 0 or +1.
int CompareNoCase(const char* a, const char* b);
bool EqualNoCase(const char* a, const char* b);
// Whether `text` begins with `prefix`, ASCII letters compared without case.
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
