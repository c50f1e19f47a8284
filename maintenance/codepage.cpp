#include "maintenance/codepage.h"

// Upper half of code page 1251 (0x80-0xBF); 0xC0-0xFF are А-я in order.
static const char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t Cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

int UnicodeToCp1251(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
    if (c == 0xFFFD) return -1;
    for (int i = 0; i < 64; ++i)
        if (kUpperHalf[i] == c) return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
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
