#include <cstring>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "platform/platform.h"
#include "storage/letter_file.h"

void InsertText(char* destination, const char* text) {
    size_t n = std::strlen(text);
    std::memmove(destination + n, destination, std::strlen(destination) + 1);
    std::memcpy(destination, text, n);
}

static std::string StringAt(int32_t offset) {
    int32_t end = StringEnd(offset);
    if (end <= offset) return std::string();
    return std::string(reinterpret_cast<const char*>(LetterBuffer.Data + offset),
                       static_cast<size_t>(end - offset));
}

// Appends the description and the continuation entries (words ending in
// '}') that follow it, separated by an empty line.
static std::string JoinContinuations(int32_t offset) {
    std::string joined;
    for (int32_t current = offset; ByteAt(current) != 0;) {
        int32_t next = StringEnd(current) + 1;
        joined += StringAt(current);
        std::string word = StringAt(next);
        if (word.empty() || word.back() != '}') break;
        joined += "\r\n\r\n";
        current = StringEnd(next) + 1;
    }
    return joined;
}

// A semicolon stays before a numbered item that is not "N." ("; 2 x"),
// otherwise it becomes a line break.
static bool KeepsSemicolon(const char* at) {
    return at[1] == ' ' && at[2] >= '1' && at[2] <= '9' && at[3] != '.';
}

std::string FormatDescription(int32_t offset) {
    std::string joined = JoinContinuations(offset);
    size_t breaks = 0;
    for (size_t i = 0; i < joined.size(); ++i)
        if (joined[i] == ';' && !KeepsSemicolon(joined.c_str() + i)) ++breaks;

    std::vector<char> buffer(joined.size() + breaks + 1, '\0');
    std::memcpy(buffer.data(), joined.c_str(), joined.size() + 1);
    for (char* p = buffer.data(); *p; ++p) {
        if (*p != ';' || KeepsSemicolon(p)) continue;
        *p = '\r';
        InsertText(p + 1, " ");
        *++p = '\n';
    }
    return std::string(buffer.data());
}

void ShowDescription(int32_t offset) {
    SetDescriptionEditText(FormatDescription(offset).c_str());
}
