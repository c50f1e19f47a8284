#include "platform/cp1251.h"

#include <cstdio>

// Upper half of the code page (0x80-0xBF); 0xC0-0xFF are А-я in order.
static const char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t UnicodeOfByte(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

int ByteOfUnicode(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kUpperHalf[i] == c) return 0x80 + i;
    return -1;
}

std::u16string Cp1251ToUtf16(const char* bytes, size_t size) {
    std::u16string text(size, u'\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char16_t>(UnicodeOfByte(static_cast<unsigned char>(bytes[i])));
    return text;
}

char32_t Utf16ToCp1251(const char16_t* text, size_t length, std::string& out) {
    out.assign(length, static_cast<char>(kUnheldByte));
    char32_t firstUnheld = 0;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        int byte = pair || (c >= 0xD800 && c <= 0xDFFF) ? -1 : ByteOfUnicode(c);
        if (byte >= 0) {
            out[i] = static_cast<char>(byte);
        } else if (!firstUnheld) {
            firstUnheld = c;
        }
        if (pair) ++i;  // both units stay kUnheldByte
    }
    return firstUnheld;
}

std::string CodePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

std::string UnheldCharacterReason(char32_t c) {
    return CodePointName(c) + " (" + static_cast<char>(kUnheldByte) + ") has no place in code page 1251";
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
