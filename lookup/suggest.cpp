#include "lookup/suggest.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lookup/spelling_edits.h"

namespace {

// Longer typed text gets no suggestions: no word is that close to it.
constexpr size_t kLongestTyped = 255;

struct Found {
    const LetterWordsView* list;
    uint32_t index;
};

// A walk of the lists as the branches of one tree of folded prefixes: the
// sorted words share the rows of the edit distance table for the prefix
// they share, and a prefix whose row is all beyond the distance cuts off
// every word that begins with it.
class Search {
public:
    Search(const std::string& key, int most, CaseRule rule)
        : key_(reinterpret_cast<const unsigned char*>(key.data())),
          width_(key.size() + 1),
          most_(most),
          rule_(rule),
          path_(key.size() + static_cast<size_t>(most) + 2),
          // Cells more than `most` away from the diagonal are never
          // computed: they keep the value beyond the distance.
          rows_(width_ * (key.size() + static_cast<size_t>(most) + 3), static_cast<unsigned char>(most + 1)) {
        for (size_t j = 0; j < width_ && j <= static_cast<size_t>(most); ++j) rows_[j] = static_cast<unsigned char>(j);
    }

    void SearchList(const LetterWordsView& list, std::vector<Found>& found) {
        size_t depth = 0;   // rows and path_ hold this prefix of the words before
        for (uint32_t i = 0; i < list.count;) {
            const unsigned char* word = reinterpret_cast<const unsigned char*>(list.Word(i));
            // Every word walked since the path was laid shares its prefix
            // as far as the word before it; a damaged count never leads
            // past the text.
            size_t shared = std::min<size_t>(depth, list.shared[i]);
            if (list.wordAt[i] + shared >= list.textSize) shared = 0;
            depth = shared;
            bool cut = false;
            while (word[depth] && !cut) {
                path_[depth] = FoldChar(word[depth], rule_);
                cut = NextRow(++depth) > most_;
            }
            if (cut) {
                // Past the words that begin with the cut prefix.
                ++i;
                while (i < list.count && list.shared[i] >= depth) ++i;
                continue;
            }
            const int distance = Row(depth)[width_ - 1];
            if (distance >= 1 && distance <= most_) found.push_back({&list, i});
            ++i;
        }
    }

private:
    unsigned char* Row(size_t depth) { return rows_.data() + depth * width_; }

    // Fills the row of the prefix path_[0, depth) from the rows above it,
    // within `most_` of the diagonal; returns its least value. Values stop
    // at most_ + 1.
    int NextRow(size_t depth) {
        const int beyond = most_ + 1;
        const unsigned char* above = Row(depth - 1);
        const unsigned char* twoAbove = depth >= 2 ? Row(depth - 2) : nullptr;
        unsigned char* row = Row(depth);
        const unsigned char c = path_[depth - 1];
        const unsigned char previous = depth >= 2 ? path_[depth - 2] : 0;
        const size_t reach = static_cast<size_t>(most_);
        const size_t first = depth > reach ? depth - reach : 1;
        const size_t last = std::min(width_ - 1, depth + reach);
        int least = beyond;
        if (depth <= reach) {
            row[0] = static_cast<unsigned char>(depth);
            least = static_cast<int>(depth);
        }
        for (size_t j = first; j <= last; ++j) {
            int best = std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + (c != key_[j - 1] ? 1 : 0)});
            if (twoAbove && j >= 2 && c == key_[j - 2] && previous == key_[j - 1])
                best = std::min(best, twoAbove[j - 2] + 1);
            best = std::min(best, beyond);
            row[j] = static_cast<unsigned char>(best);
            least = std::min(least, best);
        }
        return least;
    }

    const unsigned char* key_;
    size_t width_;
    int most_;
    CaseRule rule_;
    std::vector<unsigned char> path_;
    std::vector<unsigned char> rows_;
};

std::string Trimmed(const char* typed) {
    while (*typed == ' ') ++typed;
    std::string word(typed);
    word.erase(word.find_last_not_of(' ') + 1);
    return word;
}

bool Before(const Suggestion& a, const Suggestion& b, size_t typedLength) {
    if (a.distance != b.distance) return a.distance < b.distance;
    if (a.farSubstitutions != b.farSubstitutions) return a.farSubstitutions < b.farSubstitutions;
    if (a.count != b.count) return a.count > b.count;
    const auto apart = [typedLength](const Suggestion& s) {
        return s.word.size() > typedLength ? s.word.size() - typedLength : typedLength - s.word.size();
    };
    if (apart(a) != apart(b)) return apart(a) < apart(b);
    const int order = CompareNoCase(a.word.c_str(), b.word.c_str());
    if (order != 0) return order < 0;
    if (a.letter != b.letter) return a.letter < b.letter;
    return a.entry < b.entry;
}

}  // namespace

int MostSuggestionDistance(size_t letters) { return letters <= 4 ? 1 : 2; }

std::vector<Suggestion> SuggestWords(const DictionaryWords& words, const char* typed, CaseRule rule,
                                     const WordCounts& counts, size_t limit) {
    std::vector<Suggestion> suggestions;
    const std::string word = Trimmed(typed);
    limit = std::min(limit, kMostSuggestions);
    if (word.empty() || word.size() > kLongestTyped || limit == 0) return suggestions;
    const std::string key = FoldString(word.c_str(), rule);
    const int most = MostSuggestionDistance(key.size());

    std::vector<LetterWordsView> views;
    views.reserve(words.letters.size());
    for (const auto& list : words.letters) views.push_back(list->View());
    std::vector<Found> found;
    Search search(key, most, rule);
    for (const LetterWordsView& view : views) search.SearchList(view, found);

    for (const Found& hit : found) {
        Suggestion suggestion;
        suggestion.word = hit.list->Word(hit.index);
        const SpellingDifference difference = DifferenceOf(key, FoldString(suggestion.word.c_str(), rule));
        suggestion.distance = difference.distance;
        suggestion.farSubstitutions = difference.farSubstitutions;
        suggestion.count = counts.Of(suggestion.word);
        suggestion.letter = hit.list->letter;
        suggestion.entry = hit.list->entryAt[hit.index];
        suggestions.push_back(std::move(suggestion));
    }
    const size_t kept = std::min(limit, suggestions.size());
    std::partial_sort(suggestions.begin(), suggestions.begin() + static_cast<std::ptrdiff_t>(kept), suggestions.end(),
                      [&](const Suggestion& a, const Suggestion& b) { return Before(a, b, word.size()); });
    suggestions.resize(kept);
    return suggestions;
}

MissSuggestions SuggestionsForMiss(Dictionary& dictionary, const char* typed, LookupOptions options, size_t limit) {
    MissSuggestions found;
    std::string word(typed);
    word.erase(word.find_last_not_of(' ') + 1);
    if (!dictionary.IsOpen() || word.find_first_not_of(' ') == std::string::npos) return found;
    found.wordFound = FindWord(dictionary, word.c_str(), options).result == LookupResult::Ok;
    if (found.wordFound) return found;
    const CaseRule rule = dictionary.Rule();
    const DictionaryWords words = WordsOfDictionary(dictionary.Path(), rule, dictionary.wordLists);
    found.unreadable = words.unreadable;
    for (Suggestion& suggestion : SuggestWords(words, word.c_str(), rule, FormsWordCounts(dictionary), limit))
        found.words.push_back(std::move(suggestion.word));
    return found;
}
