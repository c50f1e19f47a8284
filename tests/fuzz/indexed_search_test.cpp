// The searches of an indexed letter against the plain walks over the same
// bytes: random letter files, sorted or not, whole or damaged, with words
// that differ only in case (ASCII and Cyrillic), and queries under both case
// rules. Every answer must be the walk's. DICTIONARY_PROPERTY_ROUNDS runs
// more files than the default (for a longer run on demand).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "lookup/browse.h"
#include "lookup/similar.h"
#include "storage/letter_view.h"

namespace {

// Bytes that meet the folds and the files' order at their edges: ASCII
// letters of both cases, '[' and '_' between the capitals and the small
// letters, Cyrillic of both cases, Ё/ё (never folded), the continuation
// mark '}', a blank and the plural's S.
const unsigned char kAlphabet[] = {'a', 'A', 'b', 'B', 's', 'S', '[', '_', '}', ' ', '1',
                                   0xC0, 0xE0, 0xC1, 0xE1, 0xDF, 0xFF, 0xA8, 0xB8};

std::string RandomWord(std::mt19937& random, size_t maxLength) {
    std::string word(random() % (maxLength + 1), ' ');
    for (char& c : word) c = static_cast<char>(kAlphabet[random() % sizeof kAlphabet]);
    return word;
}

// Changes the case of some letters, as a user might type the word.
std::string Recased(std::mt19937& random, std::string word) {
    for (char& c : word) {
        unsigned char b = static_cast<unsigned char>(c);
        if (random() % 2 == 0) continue;
        if (b >= 'a' && b <= 'z') c = static_cast<char>(b - 0x20);
        else if (b >= 'A' && b <= 'Z') c = static_cast<char>(b + 0x20);
        else if (b >= 0xC0 && b <= 0xDF) c = static_cast<char>(b + 0x20);
        else if (b >= 0xE0) c = static_cast<char>(b - 0x20);
    }
    return word;
}

struct LetterCase {
    std::string file;                 // the letter file's bytes
    std::vector<std::string> words;   // words that are in it
};

LetterCase RandomLetter(std::mt19937& random) {
    LetterCase letter;
    const size_t count = random() % 40;
    for (size_t i = 0; i < count; ++i) {
        std::string word = RandomWord(random, 6);
        if (word.empty() && random() % 4 != 0) word = "a";
        letter.words.push_back(word);
        // Case twins of a word: the look-up must pick the first in the file.
        if (random() % 3 == 0) letter.words.push_back(Recased(random, word));
    }
    if (random() % 5 != 0)
        std::stable_sort(letter.words.begin(), letter.words.end(),
                         [](const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) < 0; });
    for (const std::string& word : letter.words) {
        std::string description = random() % 12 == 0 ? "" : RandomWord(random, 4) + "d";
        letter.file += word + '\0' + description + '\0';
    }
    switch (random() % 6) {
    case 0:   // cut anywhere, perhaps inside a word
        letter.file.resize(random() % (letter.file.size() + 1));
        break;
    case 1:   // bytes after the last entry without their NUL
        letter.file += RandomWord(random, 3);
        break;
    default: break;
    }
    return letter;
}

std::vector<std::string> Queries(std::mt19937& random, const LetterCase& letter) {
    std::vector<std::string> queries{"", " ", "a", "A", "\xE0", "\xC0", "zzz"};
    for (int i = 0; i < 25; ++i) queries.push_back(RandomWord(random, 4));
    for (const std::string& word : letter.words) {
        queries.push_back(Recased(random, word));
        queries.push_back(word + (random() % 2 ? "s" : "S"));
        if (!word.empty()) queries.push_back(word.substr(0, random() % word.size()));
    }
    return queries;
}

int Rounds() {
    const char* rounds = std::getenv("DICTIONARY_PROPERTY_ROUNDS");
    return rounds ? std::max(1, std::atoi(rounds)) : 1500;
}

}  // namespace

TEST(IndexedSearch, GivesThePlainWalksAnswers) {
    std::mt19937 random(20261207);
    for (int round = 0, rounds = Rounds(); round < rounds; ++round) {
        const LetterCase letter = RandomLetter(random);
        std::vector<unsigned char> held(letter.file.begin(), letter.file.end());
        held.push_back(0);
        LetterIndex index;
        const LetterView plain{held.data(), static_cast<int32_t>(held.size()), nullptr};
        const LetterView indexed{held.data(), static_cast<int32_t>(held.size()), &index};

        for (const std::string& query : Queries(random, letter)) {
            SCOPED_TRACE("round " + std::to_string(round) + ", query \"" + query + "\"");
            for (CaseRule rule : {CaseRule::Folded, CaseRule::Exact}) {
                const std::string key = FoldString(query.c_str(), rule);
                ASSERT_EQ(FindFoldedWord(indexed, key, rule), FindFoldedWord(plain, key, rule));
                // A letter's first look-up walks NUL by NUL instead of indexing.
                ASSERT_EQ(WalkToFoldedWord(held.data(), static_cast<int32_t>(held.size()), key, rule),
                          FindFoldedWord(plain, key, rule));
                ASSERT_EQ(FindFoldedPrefix(indexed, key, rule), FindFoldedPrefix(plain, key, rule));
                ASSERT_EQ(FoldedPrefixEntries(indexed, key, rule), FoldedPrefixEntries(plain, key, rule));
                ASSERT_EQ(SimilarWords(indexed, query.c_str(), rule), SimilarWords(plain, query.c_str(), rule));
            }
            ASSERT_EQ(EntryBefore(indexed, query.c_str()), EntryBefore(plain, query.c_str()));
            ASSERT_EQ(EntryAfter(indexed, query.c_str()), EntryAfter(plain, query.c_str()));
            ASSERT_EQ(NextWordsEntries(indexed, query.c_str()), NextWordsEntries(plain, query.c_str()));
        }
    }
}

// The fast paths must be taken at all: a sorted whole letter is indexed as
// sorted and whole, and a damaged or unsorted one falls back to the walk.
TEST(IndexedSearch, TellsSortedLettersFromDamagedOnes) {
    auto indexOf = [](const std::string& file) {
        std::vector<unsigned char> held(file.begin(), file.end());
        held.push_back(0);
        LetterIndex index;
        BuildLetterIndex(held.data(), static_cast<int32_t>(held.size()), index);
        return index;
    };
    const std::string sorted = std::string("ant\0a\0Bee\0b\0\xC0\0c\0\xE0\0d\0", 20);
    LetterIndex whole = indexOf(sorted);
    EXPECT_TRUE(whole.sorted);
    EXPECT_TRUE(whole.wholeFile);
    EXPECT_EQ(std::vector<int32_t>(whole.entries.begin(), whole.entries.end()), (std::vector<int32_t>{0, 6, 12, 16}));

    LetterIndex cut = indexOf(sorted.substr(0, sorted.size() - 1));
    EXPECT_TRUE(cut.sorted);
    EXPECT_FALSE(cut.wholeFile);

    LetterIndex emptyDescription = indexOf(std::string("ant\0\0bee\0b\0", 11));
    EXPECT_TRUE(emptyDescription.sorted);
    EXPECT_FALSE(emptyDescription.wholeFile);
    EXPECT_EQ(std::vector<int32_t>(emptyDescription.entries.begin(), emptyDescription.entries.end()), (std::vector<int32_t>{0}));

    LetterIndex unsorted = indexOf(std::string("bee\0b\0ant\0a\0", 12));
    EXPECT_FALSE(unsorted.sorted);
    EXPECT_TRUE(unsorted.entries.Empty());
}
