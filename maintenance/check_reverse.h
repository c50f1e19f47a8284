// Which entries of a dual dictionary need a reverse entry, and whether the
// dictionary holds it.
#pragma once

#include <functional>
#include <string>

// The reverse entry that an entry of a dual dictionary needs: its word, ""
// when the entry needs none. `continued`: continuation entries follow it.
std::string ReverseWordNeeded(const std::string& word, const std::string& description, bool continued);
// Whether the dictionary holds that reverse entry (`holds` answers for one
// word): the word itself, or one of the single translations in it, as a
// dual import stores them.
bool ReverseEntryPresent(const std::string& reverseWord, const std::function<bool(const std::string&)>& holds);
