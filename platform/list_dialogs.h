// The two modal list dialogs: similar words, and the search in all
// dictionaries. What a line means and what selecting it does is the
// caller's: each selection of a line calls `onSelect` with its text.
// `place` is the dialog's rectangle, kept between runs: the dialog opens
// there (unless its left is -1) and stores where it was when closed.
// Implemented by list_dialogs_win32.cpp and headless.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WindowRect {
    int32_t left, top, right, bottom;
};

// 1 with the chosen line in `chosen`, or 0 when closed (at once when there
// are no lines).
int RunSimilarWordsDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*),
                          std::string* chosen, WindowRect* place);
// Applies its first line (in the list's sorted order) as it opens.
void RunAllDictionariesDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*),
                              WindowRect* place);
