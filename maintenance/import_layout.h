// How imported definitions become entries: the word, a description laid out
// for the main window (semicolons become line breaks there) and the single
// translations that a dual import stores as reverse entries.
#pragma once

#include <string>
#include <vector>

#include "maintenance/import_sources.h"
#include "maintenance/import_text.h"

struct LaidOutEntry {
    std::string word;                        // code page 1251
    std::string description;                 // code page 1251
    std::vector<std::string> translations;   // code page 1251
};

// Translations are gathered only when `withTranslations` is set.
LaidOutEntry LayOutRecord(const SourceRecord& record, SourceFormat format, TextCounts& counts,
                          bool withTranslations);

// The single translations of one line of a description, the words a dual
// import stores reverse entries for: the items between the commas outside
// brackets, without their bracketed remarks, a leading "N." left out.
std::vector<std::string> SingleTranslations(const std::string& line);

// Typographic apostrophes, quotes, dashes, the ellipsis and the no-break
// space of a word become the plain characters a keyboard types.
std::string PlainWord(const std::string& word, TextCounts& counts);

// The tsv escapes: \n is a line break (CR LF), \r, \t, \\ and \xHH a byte.
// Both work on code page bytes; Escape leaves only bytes that UTF-8 can
// carry back unchanged.
std::string EscapeTsv(const std::string& bytes);
std::string UnescapeTsv(const std::string& text);
