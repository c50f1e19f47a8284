#include "lookup/entry_edits.h"

#include <algorithm>

#include "lookup/description.h"
#include "lookup/typed_word.h"
#include "storage/dictionary_format.h"
#include "storage/letter_file.h"

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

namespace {

// Stores `word` with `description`, replacing the entry of that word when
// there is one (the reverse entry of an entry that stays as it is).
LetterChangeResult PutEntry(Dictionary& dictionary, const std::string& word, const std::string& description) {
    const CaseRule rule = dictionary.Rule();
    const unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), rule);
    return ChangeLetter(dictionary, letter,
                        [&](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
                            return PutEntryBytes(word, description, present, rule, changed, offset);
                        });
}

struct ReverseMade {
    std::string word;        // "" when there is none
    std::string entryShown;  // the entry's description as shown before the reverse entry is added
};

// Adds or replaces an entry (`edit`, Add or Replace) and, when
// `withReverse`, the reverse entry of the entry as the look-up then finds
// it (ReverseWordOf, with the entry's word as its description; it replaces
// an entry of that word): both letter files change, or neither.
LetterChangeResult ChangeEntryAndReverse(Dictionary& dictionary, unsigned char letter, const EntryEdit& edit,
                                         bool withReverse, ReverseMade& reverse) {
    const CaseRule rule = dictionary.Rule();
    reverse = ReverseMade{};
    return ChangeLetters(dictionary, [&](PresentLetters& present, ChangedLetters& changed) {
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

// The refusal of a change of the letter files that did not happen.
Refused RefusedChange(const LetterChangeResult& result, const std::string& word) {
    Refused refused{Refusal::None, word, result.letter, result.why};
    switch (result.outcome) {
    case LetterChangeOutcome::CannotRead: refused.why = Refusal::CannotRead; break;
    case LetterChangeOutcome::CannotWrite: refused.why = Refusal::CannotWrite; break;
    case LetterChangeOutcome::NoMemory: refused.why = Refusal::NoMemory; break;
    case LetterChangeOutcome::Busy: refused.why = Refusal::Busy; break;
    case LetterChangeOutcome::AlreadyThere: refused.why = Refusal::AddedMeanwhile; break;
    case LetterChangeOutcome::NotThere: refused.why = Refusal::RemovedMeanwhile; break;
    case LetterChangeOutcome::Done: break;
    }
    return refused;
}

EntryChange RefusedEntry(Refusal why, const std::string& word) {
    EntryChange change;
    change.refused = Refused{why, word};
    change.word = word;
    return change;
}

// The reverse entry of the entry that the user chose to keep, as the
// look-up shows it: a change of that entry's letter alone.
void StoreReverseOfKept(Dictionary& dictionary, const WordMatch& kept, EntryChange& change) {
    change.entryShown = DescriptionOf(kept);
    change.reverseWord = ReverseWordOf(change.entryShown);
    if (change.reverseWord.empty()) return;
    const LetterChangeResult result = PutEntry(dictionary, change.reverseWord, change.word);
    if (result.outcome != LetterChangeOutcome::Done) change.refused = RefusedChange(result, change.reverseWord);
}

// The edits are read one byte beyond what may be stored, so that longer
// text is refused rather than cut.
const size_t kWordReadLength = kLongestWord + 1;
const size_t kDescriptionReadLength = kLongestDescription + 1;
// Deleting reads 255 bytes of the word.
const size_t kDeletedWordReadLength = kLongestWord;

}  // namespace

std::string RefusalMessage(const Dictionary& dictionary, const Refused& refused) {
    // The letter file as the user's system writes paths, with the reason
    // the system gave when there is one.
    auto fileAndReason = [&](WriteFailure why) {
        std::string text = "'" + PlatformShownPath(LetterPath(dictionary.folder, refused.letter)) + "'";
        const char* reason = WriteFailureText(why);
        if (*reason) text += std::string(": ") + reason;
        return text;
    };
    switch (refused.why) {
    case Refusal::NoWord: return "No word!";
    case Refusal::NoDescription: return "No description!";
    case Refusal::WordTooLong:
        return "The word is longer than " + std::to_string(kLongestWord) +
               " characters, the most a word may have. Nothing was changed.";
    case Refusal::DescriptionTooLong:
        return "The description is longer than " + std::to_string(kLongestDescription) +
               " characters, the most a description may have. Nothing was changed.";
    case Refusal::CannotRead:
        return "Could not read the dictionary file " + fileAndReason(WriteFailure::None) + ". Nothing was changed.";
    case Refusal::CannotWrite:
        return "Could not save the dictionary file " + fileAndReason(refused.failure) + ". Nothing was changed.";
    case Refusal::NoMemory: return "Not enough memory!";
    case Refusal::Busy: return "Another program is changing this dictionary. Nothing was changed; please try again.";
    case Refusal::AddedMeanwhile:
        return "Another program has just added '" + refused.word + "' to this dictionary. Nothing was changed.";
    case Refusal::RemovedMeanwhile:
        return "Another program has just removed '" + refused.word + "' from this dictionary. Nothing was changed.";
    case Refusal::NoDictionary:
    case Refusal::None: break;
    }
    return std::string();
}

Refusal EntryTextRefusal(const Dictionary& dictionary, const std::string& typed, const std::string& text) {
    const std::string word = TrimmedWord(typed.substr(0, kWordReadLength));
    const std::string description = text.substr(0, kDescriptionReadLength);
    if (word.empty()) return Refusal::NoWord;
    // Checked before the question of AddEntry: a replacement without a
    // description would be asked for and then refused.
    if (description.empty()) return Refusal::NoDescription;
    if (word.size() > kLongestWord) return Refusal::WordTooLong;
    if (description.size() > kLongestDescription) return Refusal::DescriptionTooLong;
    if (!dictionary.IsOpen()) return Refusal::NoDictionary;
    return Refusal::None;
}

EntryChange AddEntry(Dictionary& dictionary, const std::string& typed, const std::string& text, ReverseEntry reverse,
                     const ReplaceConfirmation& confirm) {
    const std::string word = TrimmedWord(typed.substr(0, kWordReadLength));
    const std::string description = text.substr(0, kDescriptionReadLength);
    const Refusal refusal = EntryTextRefusal(dictionary, typed, text);
    if (refusal != Refusal::None) return RefusedEntry(refusal, word);

    // The look-up tests the word as it will be stored, whole.
    const WordMatch existing = FindWord(dictionary, word.c_str(), {PluralRetry::Off, BaseForms::Off});
    const bool exists = existing.result == LookupResult::Ok;
    EntryChange change;
    change.word = word;
    if (exists && !confirm()) {
        // The entry stays; a dual dictionary still gets its reverse entry.
        change.outcome = EntryOutcome::KeptOld;
        if (reverse == ReverseEntry::WithIt) StoreReverseOfKept(dictionary, existing, change);
        return change;
    }
    const unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), dictionary.Rule());
    ReverseMade made;
    const EntryEdit edit{exists ? EntryEditKind::Replace : EntryEditKind::Add, word, description};
    const LetterChangeResult result =
        ChangeEntryAndReverse(dictionary, letter, edit, reverse == ReverseEntry::WithIt, made);
    if (result.outcome != LetterChangeOutcome::Done) {
        change.refused = RefusedChange(result, word);
        return change;
    }
    change.outcome = exists ? EntryOutcome::Replaced : EntryOutcome::Stored;
    change.reverseWord = made.word;
    change.entryShown = made.entryShown;
    return change;
}

EntryChange DeleteEntry(Dictionary& dictionary, const std::string& typed) {
    EntryChange change;
    change.word = TrimmedWord(typed.substr(0, kDeletedWordReadLength));
    change.outcome = EntryOutcome::NotThere;
    if (change.word.empty()) return change;
    const unsigned char letter = FoldChar(static_cast<unsigned char>(change.word[0]), dictionary.Rule());
    // The change reads the file afresh; the letter is loaded first so that
    // a change made elsewhere since is told apart from a word never there.
    if (LoadLetter(dictionary, letter) == LookupResult::NoDictionary)
        return RefusedEntry(Refusal::NoDictionary, change.word);
    const CaseRule rule = dictionary.Rule();
    const EntryEdit edit{EntryEditKind::Delete, change.word, ""};
    const auto rewrite = [&](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
        return EditLetterBytes(edit, present, rule, changed, offset);
    };
    const LetterChangeResult result = ChangeLetter(dictionary, letter, rewrite);
    // A word that is not there changes nothing, unless someone else just removed it.
    if (result.outcome == LetterChangeOutcome::NotThere && !result.changedElsewhere) return change;
    if (result.outcome != LetterChangeOutcome::Done) {
        change.outcome = EntryOutcome::Refused;
        change.refused = RefusedChange(result, change.word);
        return change;
    }
    change.outcome = EntryOutcome::Deleted;
    change.offset = result.offset;
    return change;
}
