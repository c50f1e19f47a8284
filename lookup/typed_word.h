// What is made of the text of the word edit (or a word the tool is given)
// before it is looked up, stored or deleted: the rules the window and the
// tool share.
#pragma once

#include <cstddef>
#include <string>

// The most the word edit's text holds for a look-up (its mirror's size less
// the terminator); a longer word given to the tool is cut to it.
constexpr size_t kLongestTypedWord = 999;

// The part of the text between two caret positions (in either order, cut to
// the text): a double-clicked word inside a longer text is what the user
// means. The whole text when nothing is selected.
std::string NarrowedToSelection(const std::string& text, int start, int end);
// Nothing but blanks: nothing to look up.
bool IsBlankWord(const std::string& text);
// The text without its trailing blanks.
std::string WithoutTrailingBlanks(const std::string& text);
// The word a look-up takes from typed text: as the word edit holds it (a
// longer text given to the tool is cut as the edit would cut it), without
// its trailing blanks.
std::string WordToLookUp(const std::string& typed);
// The word of an entry: the text without the blanks around it. The look-up
// finds a word by its text between them, so an entry stored with them
// could be neither found nor deleted.
std::string TrimmedWord(const std::string& text);
