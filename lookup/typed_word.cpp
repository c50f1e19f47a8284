#include "lookup/typed_word.h"

#include <algorithm>

std::string NarrowedToSelection(const std::string& text, int start, int end) {
    if (start == end) return text;
    const int length = static_cast<int>(text.size());
    if (start > end) std::swap(start, end);
    if (end > length) end = length;
    if (start > end) start = end;
    if (start < 0) start = 0;
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

bool IsBlankWord(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

std::string WithoutTrailingBlanks(const std::string& text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string WordToLookUp(const std::string& typed) { return WithoutTrailingBlanks(typed.substr(0, kLongestTypedWord)); }

std::string TrimmedWord(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : WithoutTrailingBlanks(text.substr(first));
}
