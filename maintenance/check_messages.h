// How check names files, places and words in its lines.
#pragma once

#include <cstdint>
#include <string>

// "FOLDER/FILE offset N: " (FOLDER, a path of a dictionary's folder, shown
// by its name in the program folder, in UTF-8)
std::string CheckPlace(const std::string& folder, const std::string& file, uint64_t offset);
// "FOLDER/FILE"
std::string CheckFile(const std::string& folder, const std::string& file);
// A word or description as a line shows it: UTF-8, quoted, long ones cut.
std::string CheckQuote(const std::string& bytes);
// "1 entry", "2 entries"
std::string EntryCount(uint64_t count);
