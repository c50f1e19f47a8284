#include "maintenance/codepage.h"

#include "platform/cp1251.h"
#include "platform/files.h"

// The tool's text has no character for the undefined byte 0x98: it shows as
// U+FFFD, and nothing typed becomes it.
char32_t Cp1251ToUnicode(unsigned char byte) { return byte == kUnheldByte ? 0xFFFD : UnicodeOfByte(byte); }

int UnicodeToCp1251(char32_t c) {
    int byte = ByteOfUnicode(c);
    return byte == kUnheldByte ? -1 : byte;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) AppendUtf8(out, Cp1251ToUnicode(b));
    return out;
}

size_t DecodeUtf8(const std::string& text, size_t at, char32_t* c) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data()) + at;
    size_t left = text.size() - at;
    if (left == 0) return 0;
    unsigned char b = s[0];
    size_t length;
    char32_t value, minimum;
    if (b < 0x80) { *c = b; return 1; }
    if ((b & 0xE0) == 0xC0) { length = 2; value = b & 0x1F; minimum = 0x80; }
    else if ((b & 0xF0) == 0xE0) { length = 3; value = b & 0x0F; minimum = 0x800; }
    else if ((b & 0xF8) == 0xF0) { length = 4; value = b & 0x07; minimum = 0x10000; }
    else return 0;
    if (left < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (s[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *c = value;
    return length;
}

bool Utf8ToCp1251(const std::string& text, std::string& out, size_t* badOffset) {
    out.clear();
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        size_t length = DecodeUtf8(text, at, &c);
        int byte = length ? UnicodeToCp1251(c) : -1;
        if (byte < 0) {
            if (badOffset) *badOffset = at;
            return false;
        }
        out += static_cast<char>(byte);
        at += length;
    }
    return true;
}

std::string Cp1251Problem(const std::string& text, std::string& out) {
    size_t bad = 0;
    if (Utf8ToCp1251(text, out, &bad)) {
        // The dictionaries hold NUL-terminated strings: a NUL would cut the word.
        return out.find('\0') == std::string::npos ? std::string() : "it holds a NUL character";
    }
    char32_t c;
    size_t length = DecodeUtf8(text, bad, &c);
    if (length == 0) return "it is not valid UTF-8";
    return CodePointName(c) + " (" + text.substr(bad, length) + ") has no place in code page 1251";
}

bool PathOfTypedName(const std::string& text, std::string& path, std::string& problem) {
    if (!kPathsInCp1251) {
        path = text;
        problem.clear();
        return true;
    }
    problem = Cp1251Problem(text, path);
    if (problem.empty()) return true;
    // Outside the code page, but a name all the same: kept in UTF-8.
    char32_t c;
    for (size_t at = 0, length = 0; at < text.size(); at += length)
        if ((length = DecodeUtf8(text, at, &c)) == 0 || c == 0) return false;
    path = kUtf8PathMark + text;
    problem.clear();
    return true;
}
