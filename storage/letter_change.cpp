#include "storage/letter_change.h"

#include <cstring>
#include <new>
#include <string>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/staged_commit.h"

static bool BufferHoldsOtherBytes(unsigned char letter, const std::vector<unsigned char>& file) {
    if (LetterBuffer.Letter != letter) return false;  // nothing of that letter was seen here
    LetterView held = HeldLetter();
    return held.FileSize() != file.size() || (held.data && std::memcmp(held.data, file.data(), file.size()) != 0);
}

LetterChangeResult ChangeLetter(unsigned char letter, const LetterRewrite& rewrite) {
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
    // From here on the buffer holds what the disk holds, whatever happens;
    // when it already does, it keeps its bytes and their index.
    const bool heldAsOnDisk = LetterBuffer.Letter == letter && !LetterBuffer.Unread && !result.changedElsewhere;
    if (!heldAsOnDisk && !HoldLetter(letter, present))
        return {LetterChangeOutcome::NoMemory, result.changedElsewhere, 0};
    std::vector<unsigned char>().swap(present);

    std::vector<unsigned char> changed;
    try {
        result.outcome = rewrite(HeldLetter(), changed, result.offset);
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
