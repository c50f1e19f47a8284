#include "lookup/description.h"

#include <cstring>
#include <vector>

void InsertText(char* destination, const char* text) {
    size_t n = std::strlen(text);
    std::memmove(destination + n, destination, std::strlen(destination) + 1);
    std::memcpy(destination, text, n);
}

static std::string StringAt(const LetterView& letter, int32_t offset) {
    int32_t end = letter.StringEnd(offset);
    if (end <= offset) return std::string();
    return std::string(letter.StringAt(offset), static_cast<size_t>(end - offset));
}

// Appends the description and the continuation entries (words ending in
// '}') that follow it, separated by an empty line.
static std::string JoinContinuations(const LetterView& letter, int32_t offset) {
    std::string joined;
    for (int32_t current = offset; letter.ByteAt(current) != 0;) {
        int32_t next = letter.StringEnd(current) + 1;
        joined += StringAt(letter, current);
        std::string word = StringAt(letter, next);
        if (word.empty() || word.back() != '}') break;
        joined += "\r\n\r\n";
        current = letter.StringEnd(next) + 1;
    }
    return joined;
}

bool SemicolonBreaksLine(const char* at) {
    return !(at[1] == ' ' && at[2] >= '1' && at[2] <= '9' && at[3] != '.');
}

std::string FormatDescription(const LetterView& letter, int32_t offset) {
    std::string joined = JoinContinuations(letter, offset);
    size_t breaks = 0;
    for (size_t i = 0; i < joined.size(); ++i)
        if (joined[i] == ';' && SemicolonBreaksLine(joined.c_str() + i)) ++breaks;

    std::vector<char> buffer(joined.size() + breaks + 1, '\0');
    std::memcpy(buffer.data(), joined.c_str(), joined.size() + 1);
    for (char* p = buffer.data(); *p; ++p) {
        if (*p != ';' || !SemicolonBreaksLine(p)) continue;
        *p = '\r';
        InsertText(p + 1, " ");
        *++p = '\n';
    }
    return std::string(buffer.data());
}
