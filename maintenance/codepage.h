// Conversion between UTF-8 (the terminal, text formats) and code page 1251
// (the dictionaries).
#pragma once

#include <cstdint>
#include <string>

#include "platform/cp1251.h"   // AppendUtf8

// The Unicode character of a code page 1251 byte; 0xFFFD for the one byte
// (0x98) the code page leaves undefined.
char32_t Cp1251ToUnicode(unsigned char byte);
// The code page byte of a character, or -1 when the code page lacks it.
int UnicodeToCp1251(char32_t c);

// Every byte as UTF-8; undefined bytes become U+FFFD.
std::string Cp1251ToUtf8(const std::string& bytes);
// False (and `out` unspecified) when the text is not valid UTF-8 or holds a
// character the code page cannot represent; `badOffset` then gives the byte
// offset of the first such character.
bool Utf8ToCp1251(const std::string& text, std::string& out, size_t* badOffset = nullptr);

// Why a UTF-8 text cannot be a word, name or path of the dictionaries, as
// "U+00F5 (õ) has no place in code page 1251"; "" when it can, with its code
// page form in `out`.
std::string Cp1251Problem(const std::string& text, std::string& out);
// A file the user named (UTF-8) as the file functions take it
// (platform/files.h): in code page 1251 on Windows where the code page holds
// it, marked as UTF-8 where it does not (kUtf8PathMark), as it is elsewhere.
// False, with the reason in `problem`, when it is not a name at all.
bool PathOfTypedName(const std::string& text, std::string& path, std::string& problem);

// Decodes one UTF-8 character at `at`; returns its length in bytes, or 0
// when the bytes there are not valid UTF-8.
size_t DecodeUtf8(const std::string& text, size_t at, char32_t* c);
