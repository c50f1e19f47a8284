// Moving around the sorted entries of the held letter from the typed word,
// as the arrow keys and the next-words menu do. Each rule answers with
// entries (offsets of their words in the letter); showing them is the
// caller's. The typed word is compared as letter files are ordered
// (CompareNoCase), blanks and all.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/letter_view.h"

// Up arrow: the entry before the typed word; -1 when there is none to show.
int32_t EntryBefore(const LetterView& letter, const char* typed);
// Down arrow: the entry after the typed word; -1 when there is none.
int32_t EntryAfter(const LetterView& letter, const char* typed);

constexpr int kNextWordsMax = 20;
// Ctrl+Down: up to 20 entries from the typed word on.
std::vector<int32_t> NextWordsEntries(const LetterView& letter, const char* typed);
