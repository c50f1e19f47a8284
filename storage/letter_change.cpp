#include "storage/letter_change.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"
#include "storage/text_compare.h"

namespace {

bool BufferHoldsOtherBytes(unsigned char letter, const std::vector<unsigned char>& file) {
    if (LetterBuffer.Letter != letter) return false;  // nothing of that letter was seen here
    size_t held = LetterBuffer.Data ? static_cast<size_t>(LetterBuffer.Length - 1) : 0;
    return held != file.size() || (held && std::memcmp(LetterBuffer.Data, file.data(), held) != 0);
}

const char* WordAt(int32_t offset) { return reinterpret_cast<const char*>(LetterBuffer.Data + offset); }

// The entry a deletion removes: the first whose folded word equals the
// folded key, stepping from entry to entry by their NULs (so, unlike the
// look-up's walk, past an empty description). -1 when there is none; `next`
// is where the entry after it begins (a last description without its own
// NUL ends at the appended one).
int32_t FindEntryToRemove(const std::string& key, int32_t* next) {
    const int32_t length = LetterBuffer.Length;
    for (int32_t p = 0; p < length;) {
        int32_t description = StringEnd(p) + 1;
        if (description >= length) return -1;
        *next = std::min(StringEnd(description) + 1, length - 1);
        if (FoldedWordEquals(p, key)) return p;
        p = *next;
    }
    return -1;
}

// True when the look-up's walk reaches an entry of the word.
bool LookupFinds(const std::string& key) {
    for (int32_t p = 0; ByteAt(p) != 0; p = EntryWalkStep(p))
        if (FoldedWordEquals(p, key)) return true;
    return false;
}

// Where a new entry keeps the letter sorted: in front of the first entry
// whose word sorts after it (leaving out the entry at `replaced`), else the
// end of the file.
int32_t InsertionPoint(const char* word, int32_t replaced) {
    const int32_t end = LetterBuffer.Length - 1;
    for (int32_t p = 0; p < end;) {
        if (p != replaced && CompareNoCase(WordAt(p), word) > 0) return p;
        p = StringEnd(StringEnd(p) + 1) + 1;
    }
    return std::max(end, 0);
}

// The file's new bytes, from the letter buffer holding its present ones.
LetterChangeOutcome BuildChangedFile(const LetterChange& change, std::vector<unsigned char>* file,
                                     int32_t* offset) {
    const std::string key = FoldedCopy(change.word.c_str());
    const int32_t size = LetterBuffer.Data ? LetterBuffer.Length - 1 : 0;
    int32_t found = -1, next = 0;
    if (change.kind == LetterChangeKind::Add) {
        if (LookupFinds(key)) return LetterChangeOutcome::AlreadyThere;
    } else {
        found = FindEntryToRemove(key, &next);
        if (found < 0) return LetterChangeOutcome::NotThere;
    }
    const int32_t at = change.kind == LetterChangeKind::Delete ? found : InsertionPoint(change.word.c_str(), found);

    file->assign(LetterBuffer.Data, LetterBuffer.Data + size);
    if (found >= 0) file->erase(file->begin() + found, file->begin() + next);
    *offset = at;
    if (change.kind == LetterChangeKind::Delete) return LetterChangeOutcome::Done;

    // A damaged last description without its NUL gets one, so that nothing runs into it.
    if (!file->empty() && file->back() != 0) file->push_back(0);
    // The insertion point in the file without the replaced entry.
    size_t insertAt = file->size();
    if (at < size) insertAt = static_cast<size_t>(found >= 0 && at > found ? at - (next - found) : at);
    std::vector<unsigned char> entry(change.word.begin(), change.word.end());
    entry.push_back(0);
    entry.insert(entry.end(), change.description.begin(), change.description.end());
    entry.push_back(0);
    file->insert(file->begin() + static_cast<std::ptrdiff_t>(insertAt), entry.begin(), entry.end());
    *offset = static_cast<int32_t>(insertAt);
    return LetterChangeOutcome::Done;
}

}  // namespace

LetterChangeResult ChangeLetter(unsigned char letter, const LetterChange& change) {
    const char* folder = CurrentDictionary.Folder;
    DictionaryWriteLock lock(folder);
    if (!lock.Held())
        return {lock.Busy() ? LetterChangeOutcome::Busy : LetterChangeOutcome::CannotWrite, false, 0};
    // Whatever an interrupted writer left goes before this writer adds its own.
    RemoveStaleWriterFiles(folder);
    // A change of several files that a killed import left is finished (or
    // undone) first, so this change is based on whole versions.
    FinishInterruptedCommit(folder);

    const std::string path = LetterPath(folder, letter);
    std::vector<unsigned char> present;
    if (PlatformReadWholeFile(path.c_str(), present) == FileReadOutcome::Unreadable) {
        ForgetLetter(letter);
        return {LetterChangeOutcome::CannotRead, false, 0};
    }
    LetterChangeResult result{LetterChangeOutcome::Done, BufferHoldsOtherBytes(letter, present), 0};
    // From here on the buffer holds what the disk holds, whatever happens.
    if (!HoldLetter(letter, present)) return {LetterChangeOutcome::NoMemory, result.changedElsewhere, 0};
    std::vector<unsigned char>().swap(present);

    std::vector<unsigned char> changed;
    try {
        result.outcome = BuildChangedFile(change, &changed, &result.offset);
    } catch (const std::bad_alloc&) {
        result.outcome = LetterChangeOutcome::NoMemory;
    }
    if (result.outcome != LetterChangeOutcome::Done) return result;
    if (!PlatformWriteFileAtomic(path.c_str(), changed.data(), changed.size())) {
        result.outcome = LetterChangeOutcome::CannotWrite;
        return result;
    }
    if (!HoldLetter(letter, changed)) ForgetLetter(letter);  // written; read again when next needed
    return result;
}
