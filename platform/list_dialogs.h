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

// What the Similar Words dialog lists. With suggestions, a heading line
// kSuggestionsHeading comes first, then the suggestions in their order, then
// (when there are any) the words that begin alike under kSimilarHeading;
// without suggestions the words that begin alike alone, as they always were.
// Those are in the list's own order, the one a sorted list control gives
// them; headings are never selected, by the mouse or by the keys.
struct SimilarWordsLines {
    std::vector<std::string> suggestions;
    std::vector<std::string> similar;
};
constexpr char kSuggestionsHeading[] = "Did you mean:";
constexpr char kSimilarHeading[] = "Words beginning alike:";

// The dialog's lines as shown, given the words beginning alike in the
// list's order, and which of them are headings.
struct ShownListLines {
    std::vector<std::string> text;
    std::vector<bool> heading;
};
inline ShownListLines LayOutSimilarWords(const std::vector<std::string>& suggestions,
                                         const std::vector<std::string>& similarInListOrder) {
    ShownListLines shown;
    auto add = [&shown](const std::string& line, bool heading) {
        shown.text.push_back(line);
        shown.heading.push_back(heading);
    };
    if (!suggestions.empty()) {
        add(kSuggestionsHeading, true);
        for (const std::string& word : suggestions) add(word, false);
        if (!similarInListOrder.empty()) add(kSimilarHeading, true);
    }
    for (const std::string& word : similarInListOrder) add(word, false);
    return shown;
}
// The line to select when the user moved from line `from` to line `to`:
// `to` itself, or past a heading the next line in the direction moved (the
// other way at the end of the list); -1 when no line can be selected.
inline int SelectableLine(const ShownListLines& shown, int from, int to) {
    const int count = static_cast<int>(shown.text.size());
    if (to < 0 || to >= count) return -1;
    const int step = to < from ? -1 : 1;
    for (int direction : {step, -step})
        for (int line = to; line >= 0 && line < count; line += direction)
            if (!shown.heading[static_cast<size_t>(line)]) return line;
    return -1;
}

// 1 with the chosen word in `chosen`, or 0 when closed (at once when there
// are no lines). It opens with the first suggestion selected and applied,
// or else with the first line selected.
int RunSimilarWordsDialog(const SimilarWordsLines& lines, void (*onSelect)(const char*), std::string* chosen,
                          WindowRect* place);
// Applies its first line (in the list's sorted order) as it opens.
void RunAllDictionariesDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*),
                              WindowRect* place);
