#include "lookup/entry_edits.h"

#include <algorithm>

#include "lookup/description.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"

namespace {

bool FoldedWordEquals(const LetterView& letter, const LetterEntry& entry, const std::string& key, CaseRule rule) {
    if (entry.WordLength() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (FoldChar(letter.data[entry.offset + i], rule) != static_cast<unsigned char>(key[i])) return false;
    return true;
}

// The entry a deletion removes: the first whose folded word equals the
// key, stepping from entry to entry by their NULs (so, unlike the look-up's
// walk, past an empty description). A word that the file ends in without
// its NUL is no entry to remove.
bool FindEntryToRemove(const LetterView& letter, const std::string& key, CaseRule rule, LetterEntry& found) {
    LetterEntryWalker walker = letter.Walk(EntryWalk::Lenient);
    for (LetterEntry entry; walker.Next(entry);) {
        if (entry.wordEnd >= letter.FileSize()) return false;
        if (FoldedWordEquals(letter, entry, key, rule)) {
            found = entry;
            return true;
        }
    }
    return false;
}

// Where a new entry keeps the letter sorted: in front of the first entry
// whose word sorts after it (leaving out the entry at `replaced`), else the
// end of the file.
size_t InsertionPoint(const LetterView& letter, const char* word, size_t replaced) {
    LetterEntryWalker walker = letter.Walk(EntryWalk::Lenient);
    for (LetterEntry entry; walker.Next(entry);)
        if (entry.offset != replaced && CompareNoCase(letter.StringAt(static_cast<int32_t>(entry.offset)), word) > 0)
            return entry.offset;
    return letter.FileSize();
}

}  // namespace

LetterChangeOutcome EditLetterBytes(const EntryEdit& edit, const LetterView& present, CaseRule rule,
                                    std::vector<unsigned char>& changed, int32_t& offset) {
    const std::string key = FoldString(edit.word.c_str(), rule);
    const size_t size = present.FileSize();
    LetterEntry found{};
    bool replacing = false;
    if (edit.kind == EntryEditKind::Add) {
        if (FindFoldedWord(present, key, rule) >= 0) return LetterChangeOutcome::AlreadyThere;
    } else {
        if (!FindEntryToRemove(present, key, rule, found)) return LetterChangeOutcome::NotThere;
        replacing = true;
    }
    changed.assign(present.data, present.data + size);
    if (edit.kind == EntryEditKind::Delete) {
        changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(found.offset),
                      changed.begin() + static_cast<std::ptrdiff_t>(found.end));
        offset = static_cast<int32_t>(found.offset);
        return LetterChangeOutcome::Done;
    }
    const size_t none = SIZE_MAX;
    size_t at = InsertionPoint(present, edit.word.c_str(), replacing ? found.offset : none);
    if (replacing) changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(found.offset),
                                 changed.begin() + static_cast<std::ptrdiff_t>(found.end));

    // A damaged last description without its NUL gets one, so that nothing runs into it.
    if (!changed.empty() && changed.back() != 0) changed.push_back(0);
    // The insertion point in the file without the replaced entry.
    size_t insertAt = changed.size();
    if (at < size) insertAt = replacing && at > found.offset ? at - (found.end - found.offset) : at;
    std::vector<unsigned char> entry(edit.word.begin(), edit.word.end());
    entry.push_back(0);
    entry.insert(entry.end(), edit.description.begin(), edit.description.end());
    entry.push_back(0);
    changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(insertAt), entry.begin(), entry.end());
    offset = static_cast<int32_t>(insertAt);
    return LetterChangeOutcome::Done;
}

std::string ReverseWordOf(const std::string& shown) {
    if (shown.find_first_of("\r\n") != std::string::npos) return std::string();
    std::string word = shown;
    word.erase(0, word.find_first_not_of(' '));
    word.erase(word.find_last_not_of(' ') + 1);
    return word.size() <= kLongestWord ? word : std::string();
}

// The edit that stores `word` in `present`: a replacement when the look-up
// finds the word there, else an addition.
static LetterChangeOutcome PutEntryBytes(const std::string& word, const std::string& description,
                                         const LetterView& present, CaseRule rule, std::vector<unsigned char>& changed,
                                         int32_t& offset) {
    const bool there = FindFoldedWord(present, FoldString(word.c_str(), rule), rule) >= 0;
    return EditLetterBytes({there ? EntryEditKind::Replace : EntryEditKind::Add, word, description}, present, rule,
                           changed, offset);
}

LetterChangeResult PutEntry(const std::string& word, const std::string& description) {
    const CaseRule rule = OpenCaseRule();
    const unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), rule);
    return ChangeLetter(letter, [&](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
        return PutEntryBytes(word, description, present, rule, changed, offset);
    });
}

LetterChangeResult ChangeEntryAndReverse(unsigned char letter, const EntryEdit& edit, bool withReverse,
                                         ReverseEntry& reverse) {
    const CaseRule rule = OpenCaseRule();
    reverse = ReverseEntry{};
    return ChangeLetters([&](PresentLetters& present, ChangedLetters& changed) {
        const LetterView* forward = present.Present(letter);
        if (!forward) return LetterChangeOutcome::CannotRead;
        changed.files.push_back({letter, {}, 0});
        LetterChangeOutcome outcome =
            EditLetterBytes(edit, *forward, rule, changed.files.back().bytes, changed.files.back().offset);
        if (outcome != LetterChangeOutcome::Done || !withReverse) return outcome;

        // The reverse entry of the entry as the look-up then shows it,
        // decided before anything is written (none when the look-up does not
        // reach it, as past an entry without a description).
        std::vector<unsigned char>& stored = changed.files.back().bytes;
        stored.push_back(0);
        const LetterView view{stored.data(), static_cast<int32_t>(stored.size()), nullptr};
        const int32_t shown = FindFoldedWord(view, FoldString(edit.word.c_str(), rule), rule);
        if (shown >= 0) reverse.entryShown = FormatDescription(view, view.DescriptionOf(shown));
        stored.pop_back();
        const std::string word = ReverseWordOf(reverse.entryShown);
        if (word.empty()) return outcome;

        const unsigned char reverseLetter = FoldChar(static_cast<unsigned char>(word[0]), rule);
        ChangedLetter* same = changed.Of(reverseLetter);
        std::vector<unsigned char> sameBytes;
        LetterView base;
        if (same) {
            sameBytes.swap(same->bytes);
            sameBytes.push_back(0);
            base = LetterView{sameBytes.data(), static_cast<int32_t>(sameBytes.size()), nullptr};
        } else {
            const LetterView* reverseFile = present.Present(reverseLetter);
            if (!reverseFile) return LetterChangeOutcome::CannotRead;
            base = *reverseFile;
        }
        ChangedLetter made{reverseLetter, {}, 0};
        outcome = PutEntryBytes(word, edit.word, base, rule, made.bytes, made.offset);
        if (outcome != LetterChangeOutcome::Done) return outcome;
        if (same) same->bytes.swap(made.bytes);
        else changed.files.push_back(std::move(made));
        reverse.word = word;
        return outcome;
    });
}

LetterChangeResult ChangeEntry(unsigned char letter, const EntryEdit& edit) {
    const CaseRule rule = OpenCaseRule();
    return ChangeLetter(letter, [&](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
        return EditLetterBytes(edit, present, rule, changed, offset);
    });
}
