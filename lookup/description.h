// The text the description edit shows for an entry.
#pragma once

#include <cstdint>
#include <string>

#include "storage/letter_view.h"

// The description that starts at `offset`, joined with the continuation
// entries after it (words ending in '}'), each after an empty line, and
// with its semicolons turned into line breaks, except one before a number
// without a period ("; 2 x").
std::string FormatDescription(const LetterView& letter, int32_t offset);
// Whether the semicolon at `at` becomes a line break: it stays before a
// numbered item that is not "N." ("; 2 x").
bool SemicolonBreaksLine(const char* at);
// Inserts `text` in front of `destination`; the caller guarantees the room.
void InsertText(char* destination, const char* text);
