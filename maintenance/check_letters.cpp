// The letter files of a dictionary checked entry by entry. Each file is
// streamed through a small buffer (a second time when it holds words that
// compare equal), so that a file of any size is checked in little memory:
// what is kept per entry is one hash of its folded word.
#include "maintenance/check_letters.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "maintenance/check_messages.h"
#include "maintenance/check_reverse.h"
#include "maintenance/import_build.h"
#include "maintenance/letter_stream.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/text_case.h"

namespace {

uint64_t FoldedHash(const std::string& word, CaseRule rule) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : word) hash = (hash ^ FoldChar(c, rule)) * 1099511628211ull;
    return hash;
}

bool HasOuterBlank(const std::string& word) { return word.front() == ' ' || word.back() == ' '; }

// Problems of one file with their offsets, told in offset order.
struct Findings {
    std::vector<std::pair<uint64_t, std::string>> lines;
    void Add(uint64_t offset, std::string line) { lines.emplace_back(offset, std::move(line)); }
};

class LetterCheck {
public:
    LetterCheck(const std::string& folder, unsigned char letter, CaseRule rule, bool collectWords)
        : folder_(folder), letter_(letter), rule_(rule), file_(LetterFileName(letter)),
          path_(LetterPath(folder, letter)), collectWords_(collectWords) {}

    // Checks the file; with collectWords the folded hashes of its words go to `words`.
    void Run(CheckReport& report, std::vector<uint64_t>& words) {
        if (ReadFile(words)) FindEqualWords();
        std::stable_sort(findings_.lines.begin(), findings_.lines.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& line : findings_.lines) report.problems.push_back(std::move(line.second));
        if (!findings_.lines.empty()) report.lettersNeedRepair = true;
    }

private:
    // The first pass; false when the file cannot be read at all. The file
    // is closed after it: a file opened without sharing opens once at a time.
    bool ReadFile(std::vector<uint64_t>& words) {
        LetterStream stream(path_);
        if (!stream.Opened()) {
            findings_.Add(0, CheckPlace(folder_, file_, 0) + "the file cannot be read" + PlatformLastFileErrorNote());
            return false;
        }
        ReadEntries(stream, words);
        if (!stream.EndsWithNul()) {
            uint64_t start = last_.hasDescription ? last_.descriptionOffset : last_.offset;
            findings_.Add(stream.Size(), CheckPlace(folder_, file_, stream.Size()) +
                                             "the file does not end with NUL (the " +
                                             std::to_string(stream.Size() - start) + " bytes from offset " +
                                             std::to_string(start) + " are not terminated)");
        }
        if (stream.Failed()) findings_.Add(stream.Size(), CheckPlace(folder_, file_, 0) + "a read failed part way");
        return true;
    }

    // Words that can be compared for equality: whole, of a usable length,
    // in the right file.
    bool Comparable(const StreamedEntry& entry) const {
        const std::string& word = entry.word.kept;
        return !word.empty() && entry.word.Whole() && word.size() <= kLongestWord && !HasOuterBlank(word) &&
               FoldChar(static_cast<unsigned char>(word[0]), rule_) == letter_;
    }

    // The first entry that ends the look-up's walk hides the ones after it.
    void EndsWalk(uint64_t index, uint64_t offset, const std::string& what) {
        findings_.Add(offset, CheckPlace(folder_, file_, offset) + what);
        if (walkEnd_ == SIZE_MAX) {
            walkEnd_ = findings_.lines.size() - 1;
            walkEndIndex_ = index;
        }
    }

    void ReadEntries(LetterStream& stream, std::vector<uint64_t>& words) {
        StreamedEntry entry;
        std::string previous;
        uint64_t previousOffset = 0, count = 0;
        bool havePrevious = false;
        while (stream.Next(entry)) {
            uint64_t index = count++;
            last_ = entry;
            const std::string& word = entry.word.kept;
            std::string at = CheckPlace(folder_, file_, entry.offset);
            if (word.empty()) {
                EndsWalk(index, entry.offset, "an empty word");
                continue;
            }
            if (entry.description.length == 0)
                EndsWalk(index, entry.offset, CheckQuote(word) + " has an empty description");
            if (collectWords_ && entry.word.Whole()) words.push_back(FoldedHash(word, rule_));
            unsigned char belongs = FoldChar(static_cast<unsigned char>(word[0]), rule_);
            if (entry.word.length > kLongestWord) {
                // The import refuses such words, and the window reads no more.
                findings_.Add(entry.offset, at + CheckQuote(word) + " is " + std::to_string(entry.word.length) +
                                                " bytes long, longer than the " + std::to_string(kLongestWord) +
                                                " bytes a word may have");
            } else if (HasOuterBlank(word)) {
                // Typed words lose their blanks before the look-up compares them.
                findings_.Add(entry.offset,
                              at + CheckQuote(word) + " begins or ends with a blank, which the look-up never matches");
            } else if (belongs != letter_) {
                findings_.Add(entry.offset, at + CheckQuote(word) + " belongs in " + LetterFileName(belongs));
            }
            if (Comparable(entry)) hashes_.push_back(FoldedHash(word, rule_));
            if (havePrevious && CompareNoCase(previous.c_str(), word.c_str()) > 0)
                findings_.Add(entry.offset, at + CheckQuote(word) + " is out of order: it sorts before " +
                                                CheckQuote(previous) + " at offset " + std::to_string(previousOffset));
            previous = word;
            previousOffset = entry.offset;
            havePrevious = true;
        }
        if (walkEnd_ != SIZE_MAX && walkEndIndex_ + 1 < count)
            findings_.lines[walkEnd_].second +=
                ", which hides the " + EntryCount(count - walkEndIndex_ - 1) + " after it from the look-up";
    }

    // Only the first of equal words is ever found. Hashes show whether there
    // are any; a second pass names them.
    void FindEqualWords() {
        std::sort(hashes_.begin(), hashes_.end());
        std::unordered_set<uint64_t> repeated;
        for (size_t i = 1; i < hashes_.size(); ++i)
            if (hashes_[i] == hashes_[i - 1]) repeated.insert(hashes_[i]);
        hashes_.clear();
        hashes_.shrink_to_fit();
        if (repeated.empty()) return;
        struct First {
            std::string folded, word;
            uint64_t offset;
        };
        std::unordered_map<uint64_t, First> firsts;
        LetterStream stream(path_);
        StreamedEntry entry;
        while (stream.Next(entry)) {
            if (!Comparable(entry)) continue;
            uint64_t hash = FoldedHash(entry.word.kept, rule_);
            if (!repeated.count(hash)) continue;
            std::string folded = FoldString(entry.word.kept.c_str(), rule_);
            auto first = firsts.find(hash);
            if (first == firsts.end()) {
                firsts.emplace(hash, First{folded, entry.word.kept, entry.offset});
            } else if (first->second.folded == folded) {
                findings_.Add(entry.offset, CheckPlace(folder_, file_, entry.offset) + CheckQuote(entry.word.kept) +
                                                " is never found: the equal word " + CheckQuote(first->second.word) +
                                                " at offset " + std::to_string(first->second.offset) + " comes first");
            }
        }
    }

    const std::string& folder_;
    unsigned char letter_;
    CaseRule rule_;
    std::string file_, path_;
    bool collectWords_;
    Findings findings_;
    StreamedEntry last_;
    size_t walkEnd_ = SIZE_MAX;
    uint64_t walkEndIndex_ = 0;
    std::vector<uint64_t> hashes_;
};

// Every one-line translation of a dual dictionary has its reverse entry.
void CheckReverses(const std::string& folder, unsigned char letter, const std::vector<uint64_t>& words,
                   CheckReport& report) {
    const CaseRule rule = report.Rule();
    auto holds = [&words, rule](const std::string& word) {
        return std::binary_search(words.begin(), words.end(), FoldedHash(word, rule));
    };
    LetterStream stream(LetterPath(folder, letter));
    StreamedEntry current, next;
    bool have = stream.Next(current);
    while (have) {
        bool haveNext = stream.Next(next);
        // The window joins the continuation entries after a word to its own.
        bool continued = haveNext && next.word.Whole() && !next.word.kept.empty() && next.word.kept.back() == '}';
        if (current.word.Whole() && current.description.Whole()) {
            std::string reverse = ReverseWordNeeded(current.word.kept, current.description.kept, continued);
            if (!reverse.empty() && !ReverseEntryPresent(reverse, holds)) {
                report.notes.push_back(CheckPlace(folder, LetterFileName(letter), current.offset) +
                                       CheckQuote(current.word.kept) + " has no reverse entry " +
                                       CheckQuote(reverse) + " (a deleted word, or an addition cut short)");
            }
        }
        current = std::move(next);
        have = haveNext;
    }
}

}  // namespace

void CheckLetterFiles(const std::string& folder, CheckReport& report) {
    std::vector<uint64_t> words;
    std::vector<unsigned char> present;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        if (!PlatformNameExists(LetterPath(folder, static_cast<unsigned char>(letter)).c_str())) continue;
        present.push_back(static_cast<unsigned char>(letter));
        LetterCheck(folder, static_cast<unsigned char>(letter), report.Rule(), report.dual != 0).Run(report, words);
    }
    if (!report.dual) return;
    std::sort(words.begin(), words.end());
    for (unsigned char letter : present) CheckReverses(folder, letter, words, report);
}
