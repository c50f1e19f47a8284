#include "lookup/similar.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lookup/lookup.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "ui/edit_state.h"
#include "platform/platform.h"

namespace {

// Whole text of the word edit is selected with this end.
constexpr int kSelectAllEnd = 2048;
// Lines stop being gathered once this many bytes are used.
constexpr size_t kSearchResultsStop = kSearchResultsSize - 100;

std::string WordAt(int32_t offset) {
    return std::string(reinterpret_cast<const char*>(LetterBuffer.Data + offset),
                       static_cast<size_t>(StringEnd(offset) - offset));
}

bool HasPrefix(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

unsigned char AsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

bool HasPrefixIgnoringAsciiCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpper(static_cast<unsigned char>(text[i])) !=
            AsciiUpper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The letter searched in every dictionary, folded without regard to any
// dictionary's case rule.
unsigned char SearchLetter(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0) return c - 0x20;
    return c;
}

}  // namespace

std::vector<std::string> SimilarWords() {
    std::vector<std::string> words;
    LookupWord(1, 0);
    GetWordEditText(WordText, sizeof WordText);
    const char* typed = WordText;
    while (*typed == ' ') ++typed;
    if (!*typed) return words;
    if (!LetterBuffer.Data || LetterBuffer.Length <= 1) return words;

    std::string key = FoldedCopy(typed);
    while (!key.empty() && words.empty()) {
        for (int32_t p = 0; ByteAt(p) != 0; p = EntryWalkStep(p)) {
            std::string word = WordAt(p);
            if (HasPrefix(FoldedCopy(word.c_str()), key)) words.push_back(word);
        }
        key.pop_back();
    }
    return words;
}

void PreviewSimilarWord(const char* word) {
    std::snprintf(WordText, sizeof WordText, "%s", word);
    SetWordEditText(word);
    SetWordEditSelection(0, kSelectAllEnd);
    LookupWord(1, -1);
    SetModified(0);
}

int ShowSimilarWords() {
    std::vector<std::string> words = SimilarWords();
    std::string chosen;
    int result = words.empty() ? 0 : RunSimilarWordsDialog(words, PreviewSimilarWord, &chosen);
    if (result == 1) {
        std::snprintf(WordText, sizeof WordText, "%s", chosen.c_str());
        SetWordEditText(chosen.c_str());
        LookupWord(1, -1);
        SetModified(0);
        FocusWordEdit();
    }
    SetWordEditSelection(0, kSelectAllEnd);
    SetModified(result == 1 ? 0 : 1);
    return result == 1 ? 1 : 0;
}

std::vector<std::string> SearchResultLines() {
    std::vector<std::string> lines;
    if (!WordText[0]) return lines;
    unsigned char letter = SearchLetter(static_cast<unsigned char>(WordText[0]));
    // Folded once, under the case rule of the dictionary open now.
    std::string key = FoldedCopy(WordText);
    // The name and the index may change as dictionaries are opened.
    size_t used = 0;
    int count = CatalogCount;
    for (int i = 0; i < count && used <= kSearchResultsStop; ++i) {
        CatalogEntry entry = DictionaryCatalog[i];
        if (OpenDictionary(entry.Folder) != kResultOk) continue;
        if (LoadLetter(letter) != kResultOk) continue;
        if (!LetterBuffer.Data) continue;
        std::string suffix = std::string(" (") + entry.DisplayName + "-" + std::to_string(i) + ")";
        for (int32_t p = 0; ByteAt(p) != 0 && used <= kSearchResultsStop; p = EntryWalkStep(p)) {
            std::string word = WordAt(p);
            if (!HasPrefixIgnoringAsciiCase(FoldedCopy(word.c_str()), key)) continue;
            std::string line = word + suffix;
            // A long line near the end must not overrun the bound.
            if (used + line.size() + 1 >= kSearchResultsSize) {
                used = kSearchResultsSize;
                break;
            }
            used += line.size() + 1;
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

bool SplitResultLine(const std::string& line, std::string* word, int* index) {
    if (line.size() < 4 || line.back() != ')') return false;
    size_t hyphen = line.rfind('-');
    if (hyphen == std::string::npos) return false;
    std::string digits = line.substr(hyphen + 1, line.size() - hyphen - 2);
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int i = std::atoi(digits.c_str());
    if (i >= CatalogCount) return false;
    // Strip the known " (Name-i)" so that a parenthesis in the name or in the
    // word does not move the split.
    std::string suffix = std::string(" (") + DictionaryCatalog[i].DisplayName + "-" + digits + ")";
    size_t end;
    if (line.size() > suffix.size() && line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0) {
        end = line.size() - suffix.size();
    } else {
        size_t open = line.rfind('(');
        if (open == std::string::npos || open == 0 || line[open - 1] != ' ') return false;
        end = open - 1;
    }
    *word = line.substr(0, end);
    *index = i;
    return true;
}

void ApplyResultLine(const char* line) {
    std::string word;
    int index = 0;
    if (!SplitResultLine(line, &word, &index)) return;
    SetWordEditText(word.c_str());
    OpenDictionary(DictionaryCatalog[index].Folder);
    SetWordEditSelection(0, kSelectAllEnd);
    LookupWord(1, -1);
    SetModified(0);
}

void SearchAllDictionaries() {
    std::vector<std::string> lines = SearchResultLines();
    RunAllDictionariesDialog(lines, ApplyResultLine);
}
