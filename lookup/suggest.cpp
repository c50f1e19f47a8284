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
          rows_(width_ * (key.size() + static_cast<size_t>(most) + 3)) {
        const int beyond = most + 1;
        for (size_t j = 0; j < width_; ++j) rows_[j] = static_cast<unsigned char>(std::min<size_t>(j, beyond));
    }

    void SearchList(const LetterWordsView& list, std::vector<Found>& found) {
        size_t depth = 0;   // rows and path hold this prefix of the word before
        for (uint32_t i = 0; i < list.count;) {
            const unsigned char* word = reinterpret_cast<const unsigned char*>(list.Word(i));
            size_t shared = 0;
            while (shared < depth && word[shared] && FoldChar(word[shared], rule_) == path_[shared]) ++shared;
            depth = shared;
            bool cut = false;
            while (word[depth] && !cut) {
                path_[depth] = FoldChar(word[depth], rule_);
                cut = NextRow(++depth) > most_;
            }
            if (cut) {
                i = PastPrefix(list, i, depth);
                continue;
            }
            const int distance = Row(depth)[width_ - 1];
            if (distance >= 1 && distance <= most_) found.push_back({&list, i});
            ++i;
        }
    }

private:
    unsigned char* Row(size_t depth) { return rows_.data() + depth * width_; }

    // Fills the row of the prefix path_[0, depth) from the rows above it;
    // returns its least value. Values stop at most_ + 1.
    int NextRow(size_t depth) {
        const unsigned char beyond = static_cast<unsigned char>(most_ + 1);
        const unsigned char* above = Row(depth - 1);
        const unsigned char* twoAbove = depth >= 2 ? Row(depth - 2) : nullptr;
        unsigned char* row = Row(depth);
        const unsigned char c = path_[depth - 1];
        row[0] = static_cast<unsigned char>(std::min<size_t>(depth, beyond));
        int least = row[0];
        for (size_t j = 1; j < width_; ++j) {
            int best = std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + (c != key_[j - 1] ? 1 : 0)});
            if (twoAbove && j >= 2 && c == key_[j - 2] && path_[depth - 2] == key_[j - 1])
                best = std::min(best, twoAbove[j - 2] + 1);
            row[j] = static_cast<unsigned char>(std::min<int>(best, beyond));
            least = std::min<int>(least, row[j]);
        }
        return least;
    }

    bool SharesPrefix(const LetterWordsView& list, uint32_t i, size_t length) const {
        const unsigned char* word = reinterpret_cast<const unsigned char*>(list.Word(i));
        for (size_t at = 0; at < length; ++at)
            if (!word[at] || FoldChar(word[at], rule_) != path_[at]) return false;
        return true;
    }

    // The first word after `i` that does not begin with path_[0, length):
    // the words that do follow `i` in a run, found by doubling steps, then
    // by halving.
    uint32_t PastPrefix(const LetterWordsView& list, uint32_t i, size_t length) const {
        uint32_t inside = i, step = 1;
        while (step <= list.count - 1 - inside && SharesPrefix(list, inside + step, length)) {
            inside += step;
            step *= 2;
        }
        uint32_t outside = std::min<uint64_t>(uint64_t{inside} + step, list.count);
        while (outside - inside > 1) {
            uint32_t middle = inside + (outside - inside) / 2;
            if (SharesPrefix(list, middle, length)) inside = middle;
            else outside = middle;
        }
        return outside;
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
