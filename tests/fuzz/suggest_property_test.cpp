// Spelling suggestions against a brute-force reading of their definition:
// on random small dictionaries (both case rules, Latin and Cyrillic words
// that share beginnings, case twins, empty descriptions that end a letter's
// walk, continuation entries, words filed under another letter), the
// suggestions are exactly the words the look-up can find whose restricted
// Damerau-Levenshtein distance from the typed word is from 1 to the limit,
// in the documented order. DICTIONARY_PROPERTY_ROUNDS runs more
// dictionaries than the default.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lookup/spelling_edits.h"
#include "lookup/suggest.h"
#include "lookup/word_counts.h"
#include "storage/letter_view.h"
#include "storage/letter_words.h"
#include "tests/unit/test_support.h"

namespace {

// Letters of both cases and scripts; 's' and 'a' are neighbours on the
// keyboard, and so are в and а (phonetic), д and в (typewriter); ё never folds.
const unsigned char kAlphabet[] = {'a', 'A', 's', 'S', 'd', 'k', 'o', 0xE0, 0xC0, 0xE2, 0xC2, 0xE4, 0xEE, 0xB8, '-'};

std::string RandomText(std::mt19937& random, size_t least, size_t most) {
    std::string text(least + random() % (most - least + 1), ' ');
    for (char& c : text) c = static_cast<char>(kAlphabet[random() % sizeof kAlphabet]);
    return text;
}

// A word a few edits away from `word`.
std::string Slipped(std::mt19937& random, std::string word) {
    for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
        const size_t at = word.empty() ? 0 : random() % word.size();
        const char letter = static_cast<char>(kAlphabet[random() % sizeof kAlphabet]);
        switch (random() % 4) {
        case 0: if (!word.empty()) word.erase(at, 1); break;
        case 1: word.insert(at, 1, letter); break;
        case 2: if (!word.empty()) word[at] = letter; break;
        default: if (at + 1 < word.size()) std::swap(word[at], word[at + 1]); break;
        }
    }
    return word;
}

// The textbook table, each cell the least cost of any edit that ends there.
int OptimalStringAlignment(const std::string& a, const std::string& b) {
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The same letter in either case: ASCII, Cyrillic, Ё and ё.
bool SameLetter(unsigned char x, unsigned char y) {
    auto lower = [](unsigned char c) -> unsigned char {
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF)) return static_cast<unsigned char>(c + 0x20);
        return c == 0xA8 ? 0xB8 : c;
    };
    return lower(x) == lower(y);
}

// The fewest far substitutions over every alignment of `distance` edits,
// tried one edit at a time from the start of both words.
int FewestFar(const std::string& a, size_t i, const std::string& b, size_t j, int distance,
              std::map<std::tuple<size_t, size_t, int>, int>& memo) {
    const int kNone = 1000;
    if (distance < 0) return kNone;
    if (i == a.size() && j == b.size()) return 0;
    auto key = std::make_tuple(i, j, distance);
    auto found = memo.find(key);
    if (found != memo.end()) return found->second;
    int best = kNone;
    if (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) best = std::min(best, FewestFar(a, i + 1, b, j + 1, distance, memo));
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        const bool near = SameLetter(x, y) || NeighbourKeys(x, y);
        if (a[i] != b[j]) best = std::min(best, (near ? 0 : 1) + FewestFar(a, i + 1, b, j + 1, distance - 1, memo));
        if (i + 1 < a.size() && j + 1 < b.size() && a[i] == b[j + 1] && a[i + 1] == b[j])
            best = std::min(best, FewestFar(a, i + 2, b, j + 2, distance - 1, memo));
    }
    if (i < a.size()) best = std::min(best, FewestFar(a, i + 1, b, j, distance - 1, memo));
    if (j < b.size()) best = std::min(best, FewestFar(a, i, b, j + 1, distance - 1, memo));
    return memo[key] = best;
}

struct Letter {
    unsigned char letter;
    std::string bytes;
};

// Every word of every letter that looking it up finds, with its suggestion
// fields, ordered as documented.
std::vector<Suggestion> BruteForce(const std::vector<Letter>& letters, const std::string& typed, CaseRule rule,
                                   const WordCounts& counts) {
    std::string trimmed = typed.substr(typed.find_first_not_of(' ') == std::string::npos ? typed.size()
                                                                                           : typed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    std::vector<Suggestion> all;
    if (trimmed.empty()) return all;
    const std::string key = FoldString(trimmed.c_str(), rule);
    const int most = key.size() <= 4 ? 1 : 2;
    for (const Letter& letter : letters) {
        const LetterView view{reinterpret_cast<const unsigned char*>(letter.bytes.c_str()),
                              static_cast<int32_t>(letter.bytes.size() + 1), nullptr};
        LetterEntryWalker walker = view.Walk(EntryWalk::Strict);
        for (LetterEntry entry; walker.Next(entry);) {
            const std::string word(view.StringAt(static_cast<int32_t>(entry.offset)), entry.WordLength());
            if (word.empty() || word.back() == '}' ||
                FoldChar(static_cast<unsigned char>(word[0]), rule) != letter.letter)
                continue;
            const std::string folded = FoldString(word.c_str(), rule);
            if (FindFoldedWord(view, folded, rule) != static_cast<int32_t>(entry.offset)) continue;
            const int distance = OptimalStringAlignment(key, folded);
            if (distance < 1 || distance > most) continue;
            std::map<std::tuple<size_t, size_t, int>, int> memo;
            Suggestion s;
            s.word = word;
            s.distance = distance;
            s.farSubstitutions = FewestFar(key, 0, folded, 0, distance, memo);
            s.count = counts.Of(word);
            s.letter = letter.letter;
            s.entry = static_cast<uint32_t>(entry.offset);
            all.push_back(s);
        }
    }
    auto apart = [&](const Suggestion& s) {
        return s.word.size() > trimmed.size() ? s.word.size() - trimmed.size() : trimmed.size() - s.word.size();
    };
    std::sort(all.begin(), all.end(), [&](const Suggestion& a, const Suggestion& b) {
        if (a.distance != b.distance) return a.distance < b.distance;
        if (a.farSubstitutions != b.farSubstitutions) return a.farSubstitutions < b.farSubstitutions;
        if (a.count != b.count) return a.count > b.count;
        if (apart(a) != apart(b)) return apart(a) < apart(b);
        if (int order = CompareNoCase(a.word.c_str(), b.word.c_str())) return order < 0;
        return a.letter != b.letter ? a.letter < b.letter : a.entry < b.entry;
    });
    if (all.size() > kMostSuggestions) all.resize(kMostSuggestions);
    return all;
}

std::string Describe(const std::vector<Suggestion>& list) {
    std::string text;
    for (const Suggestion& s : list)
        text += s.word + "(" + std::to_string(s.distance) + "," + std::to_string(s.farSubstitutions) + ") ";
    return text;
}

TEST(SuggestProperty, SuggestionsAreTheWordsWithinTheDistanceInTheDocumentedOrder) {
    const int rounds = static_cast<int>(EnvironmentBound("DICTIONARY_PROPERTY_ROUNDS", 300));
    std::mt19937 random(2024);
    for (int round = 0; round < rounds; ++round) {
        const CaseRule rule = round % 2 ? CaseRule::Exact : CaseRule::Folded;
        // Stems that many words share the beginning of.
        std::vector<std::string> stems;
        for (int i = 0; i < 4; ++i) stems.push_back(RandomText(random, 1, 4));
        std::map<unsigned char, std::string> files;
        std::vector<std::string> words;
        std::map<std::string, std::string> countLines;   // by folded word: the table's order
        const int count = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            std::string word = random() % 3 == 0 ? RandomText(random, 1, 7)
                                                 : stems[random() % stems.size()] + RandomText(random, 0, 3);
            if (random() % 15 == 0) word += "  {2}";
            const unsigned char first = static_cast<unsigned char>(word[0]);
            // Now and then a word filed under a letter its look-up never reads.
            const unsigned char letter = random() % 20 == 0 ? 'o' : FoldChar(first, rule);
            const std::string description = random() % 25 == 0 ? "" : "d";
            files[letter] += word + '\0' + description + '\0';
            words.push_back(word);
            if (random() % 3 == 0)
                countLines[FoldString(word.c_str(), CaseRule::Folded)] = word + "\t" + std::to_string(random() % 4) + "\n";
        }
        std::string table;
        for (const auto& line : countLines) table += line.second;
        const WordCounts counts(table);
        std::vector<Letter> letters;
        DictionaryWords lists;
        for (const auto& file : files) {
            letters.push_back({file.first, file.second});
            auto list = std::make_shared<LetterWords>();
            list->Build(file.first, rule, reinterpret_cast<const unsigned char*>(file.second.data()),
                        file.second.size());
            lists.letters.push_back(list);
        }
        for (int q = 0; q < 8; ++q) {
            std::string typed = q % 3 == 0 ? RandomText(random, 1, 8) : Slipped(random, words[random() % words.size()]);
            if (q == 7) typed = " " + typed + "  ";
            const std::vector<Suggestion> expected = BruteForce(letters, typed, rule, counts);
            const std::vector<Suggestion> got = SuggestWords(lists, typed.c_str(), rule, counts);
            ASSERT_EQ(Describe(got), Describe(expected)) << "round " << round << ", typed '" << typed << "'";
            for (size_t i = 0; i < got.size(); ++i) {
                ASSERT_EQ(got[i].letter, expected[i].letter) << got[i].word;
                ASSERT_EQ(got[i].entry, expected[i].entry) << got[i].word;
            }
        }
    }
}

}  // namespace
