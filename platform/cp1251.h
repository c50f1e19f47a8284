// Code page 1251, in which the program keeps all its text (the entries, the
// names, the paths), and Unicode, in which Windows takes and gives text: the
// one table both directions use, for the windows, the file names and the
// tool alike. Portable, so that it is tested natively.
#pragma once

#include <cstddef>
#include <string>

// 0x98 is the one byte the code page leaves without a character. Here it
// stands for U+0098, so that every byte a file may hold comes back from an
// edit as it went in. It is also the byte given in place of each character
// the code page has no byte for, typed or pasted: whether a text holds such
// a character is told apart (Utf16ToCp1251's result, the edits' queries in
// platform/window.h), never read from the byte. Nothing the code page
// cannot hold is matched or stored.
constexpr unsigned char kUnheldByte = 0x98;

// The character of a byte; every byte has one.
char32_t UnicodeOfByte(unsigned char byte);
// The byte of a character; -1 when the code page has none.
int ByteOfUnicode(char32_t c);

std::u16string Cp1251ToUtf16(const char* bytes, size_t size);
inline std::u16string Cp1251ToUtf16(const std::string& bytes) { return Cp1251ToUtf16(bytes.data(), bytes.size()); }

// One byte for each UTF-16 unit, so that a position in the text (an edit's
// selection) is the same in both: a character the code page cannot hold
// (a pair of surrogates, a surrogate alone) gives kUnheldByte for each of
// its units. Returns the first such character, 0 when the code page holds
// the whole text.
char32_t Utf16ToCp1251(const char16_t* text, size_t length, std::string& out);

// The character as UTF-8, at the end of `out`.
void AppendUtf8(std::string& out, char32_t c);

// "U+00F5", the name of a character as messages give it.
std::string CodePointName(char32_t c);
// Why a text the user gave cannot be taken: "U+00F5 (õ) has no place in code
// page 1251", the character itself standing as kUnheldByte, which a message
// box given the character shows as it (platform/window.h).
std::string UnheldCharacterReason(char32_t c);
