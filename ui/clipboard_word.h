#pragma once

#include <cstddef>

#include "storage/text_case.h"

constexpr int kClipboardWordLimit = 51;

struct ClipboardWord {
    char word[kClipboardWordLimit + 1];
    unsigned char stop;   // the byte at which taking stopped (0 at the end)
    unsigned char after;  // the byte after it
};

// The run of Latin or Cyrillic letters (as FoldChar sees them under `rule`,
// the open dictionary's) at the start of clipboard text, after leading
// spaces, at most 51 bytes, copied as they stand. The text is a block of `size` bytes that
// ends at its first NUL or at the end of the block, whichever comes first:
// another program's block need not hold a NUL. A run that goes on into a
// character code page 1251 cannot hold (kUnheldByte) is no word: none.
ClipboardWord TakeClipboardWord(const char* text, size_t size, CaseRule rule);
// The word stood alone in the clipboard (at most one space after it).
bool ClipboardWordStoodAlone(const ClipboardWord& taken);
