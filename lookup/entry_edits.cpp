#include "lookup/entry_edits.h"

#include <algorithm>

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

LetterChangeResult ChangeEntry(unsigned char letter, const EntryEdit& edit) {
    const CaseRule rule = OpenCaseRule();
    return ChangeLetter(letter, [&](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
        return EditLetterBytes(edit, present, rule, changed, offset);
    });
}
