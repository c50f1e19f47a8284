#include "lookup/similar.h"

#include <cstdlib>

#include "storage/letter_file.h"
#include "storage/text_case.h"

static std::string WordOf(const LetterView& letter, const LetterEntry& entry) {
    return std::string(letter.StringAt(static_cast<int32_t>(entry.offset)), entry.WordLength());
}

std::vector<std::string> SimilarWords(const LetterView& letter, const char* typed, CaseRule rule) {
    std::vector<std::string> words;
    while (*typed == ' ') ++typed;
    if (!*typed || letter.FileSize() == 0) return words;

    std::string key = FoldString(typed, rule);
    while (!key.empty() && words.empty()) {
        for (int32_t offset : FoldedPrefixEntries(letter, key, rule)) words.push_back(letter.StringAt(offset));
        key.pop_back();
    }
    return words;
}

SearchKey SearchKeyOf(const char* typed, CaseRule rule) {
    return {FoldChar(static_cast<unsigned char>(typed[0]), CaseRule::Folded), FoldString(typed, rule)};
}

void AddSearchResultLines(Dictionary& dictionary, const SearchKey& key, const char* displayName, int index,
                          SearchResults& results) {
    if (LoadLetter(dictionary, key.letter) != LookupResult::Ok) return;
    const LetterView held = dictionary.held.View();
    const CaseRule rule = dictionary.Rule();
    std::string suffix = std::string(" (") + displayName + "-" + std::to_string(index) + ")";
    LetterEntryWalker walker = held.Walk(EntryWalk::Strict);
    for (LetterEntry entry; !results.Full() && walker.Next(entry);) {
        std::string word = WordOf(held, entry);
        if (!StartsWithNoCase(FoldString(word.c_str(), rule), key.folded)) continue;
        std::string line = word + suffix;
        // A long line near the end must not overrun the bound.
        if (results.used + line.size() + 1 >= kSearchResultsSize) {
            results.used = kSearchResultsSize;
            return;
        }
        results.used += line.size() + 1;
        results.lines.push_back(std::move(line));
    }
}

bool SplitResultLine(const CatalogRecord& catalog, const std::string& line, std::string* word, int* index) {
    if (line.size() < 4 || line.back() != ')') return false;
    size_t hyphen = line.rfind('-');
    if (hyphen == std::string::npos) return false;
    std::string digits = line.substr(hyphen + 1, line.size() - hyphen - 2);
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int i = std::atoi(digits.c_str());
    if (i >= catalog.Count) return false;
    // Strip the known " (Name-i)" so that a parenthesis in the name or in the
    // word does not move the split.
    std::string suffix = std::string(" (") + catalog.Slots[i].DisplayName + "-" + digits + ")";
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
