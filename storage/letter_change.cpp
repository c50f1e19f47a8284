#include "storage/letter_change.h"

#include <cstring>
#include <new>
#include <string>

#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"

const LetterView* PresentLetters::Present(unsigned char letter) {
    for (const auto& file : files_)
        if (file->letter == letter) return file->outcome == FileReadOutcome::Unreadable ? nullptr : &file->view;
    auto file = std::make_unique<File>();
    file->letter = letter;
    bool noRoom = false;
    const std::string path = LetterPath(folder_, letter);
    file->outcome = PlatformReadWholeFileInto(path.c_str(), [&](size_t size) -> unsigned char* {
        try {
            file->bytes.assign(size + 1, 0);   // and the NUL after the bytes
        } catch (const std::bad_alloc&) {
            noRoom = true;
            return nullptr;
        }
        return file->bytes.data();
    });
    if (file->outcome == FileReadOutcome::Read) {
        file->view = LetterView{file->bytes.data(), static_cast<int32_t>(file->bytes.size()), nullptr};
    } else {
        std::vector<unsigned char>().swap(file->bytes);
        if (file->outcome == FileReadOutcome::Unreadable && !unreadable_) {
            unreadable_ = letter;
            outOfMemory_ = noRoom;
        }
    }
    files_.push_back(std::move(file));
    const File& read = *files_.back();
    return read.outcome == FileReadOutcome::Unreadable ? nullptr : &read.view;
}

ChangedLetter* ChangedLetters::Of(unsigned char letter) {
    for (ChangedLetter& file : files)
        if (file.letter == letter) return &file;
    return nullptr;
}

namespace {

// The file's bytes without the NUL the read added.
size_t FileSizeOf(const PresentLetters::File& file) { return file.bytes.empty() ? 0 : file.bytes.size() - 1; }

bool HoldsOtherBytes(const HeldLetter& letter, const PresentLetters::File& file) {
    if (letter.letter != file.letter) return false;  // nothing of that letter was seen here
    if (letter.unread) return true;
    const LetterView held = letter.View();
    return held.FileSize() != FileSizeOf(file) ||
           (held.data && std::memcmp(held.data, file.bytes.data(), FileSizeOf(file)) != 0);
}

// The dictionary holds what the disk holds for its letter: the bytes read
// under the lock when it held others (a copy: the letter's mapping may be
// of a file another program rewrites in place).
void HoldAsOnDisk(Dictionary& dictionary, const PresentLetters& present) {
    for (const auto& file : present.Files()) {
        if (dictionary.held.letter != file->letter || file->outcome == FileReadOutcome::Unreadable) continue;
        if (!HoldsOtherBytes(dictionary.held, *file)) continue;
        HoldLetterBytes(dictionary, file->letter, file->bytes.data(), FileSizeOf(*file));
    }
}

FileVersion VersionRead(const PresentLetters& present, unsigned char letter) {
    for (const auto& file : present.Files())
        if (file->letter == letter && file->outcome == FileReadOutcome::Read)
            return VersionOfBytes(file->bytes.data(), FileSizeOf(*file));
    return FileVersion{};
}

// Writes the changed files: one atomically, several as one staged change.
// False with the letter and the reason in `result` when they were not.
bool WriteChanged(const char* folder, const PresentLetters& present, const ChangedLetters& changed,
                  LetterChangeResult& result) {
    if (changed.files.size() == 1) {
        const ChangedLetter& file = changed.files.front();
        result.letter = file.letter;
        if (PlatformWriteFileAtomic(LetterPath(folder, file.letter).c_str(), file.bytes.data(), file.bytes.size()))
            return true;
        result.why = PlatformLastWriteFailure();
        return false;
    }
    StagedCommit commit(folder);
    for (const ChangedLetter& file : changed.files) {
        result.letter = file.letter;
        std::string bytes(file.bytes.begin(), file.bytes.end());
        if (!commit.Stage(LetterFileName(file.letter), bytes, VersionRead(present, file.letter))) {
            result.why = PlatformLastWriteFailure();
            return false;
        }
    }
    result.letter = changed.files.front().letter;
    if (commit.Commit()) return true;
    result.why = PlatformLastWriteFailure();
    for (const ChangedLetter& file : changed.files)
        for (const std::string& name : commit.ReadOnly())
            if (name == LetterFileName(file.letter)) {
                result.letter = file.letter;
                result.why = WriteFailure::FileReadOnly;
            }
    // A change decided before a move failed is finished now (or by whoever
    // opens the dictionary next); one not decided is undone.
    return HasStagingArea(folder) && FinishInterruptedCommit(folder).outcome == CommitRecovery::Finished;
}

}  // namespace

LetterChangeResult ChangeLetters(Dictionary& dictionary, const LettersRewrite& rewrite) {
    const std::string path = dictionary.Path();
    const char* folder = path.c_str();
    DictionaryWriteLock lock(folder);
    if (!lock.Held()) {
        if (lock.Busy()) return {LetterChangeOutcome::Busy, false, 0};
        return {LetterChangeOutcome::CannotWrite, false, 0, 0, PlatformLastWriteFailure()};
    }
    // Whatever an interrupted writer left goes before this writer adds its own.
    RemoveStaleWriterFiles(folder);
    // A change of several files that a killed writer left is finished (or
    // undone) first, so this change is based on whole versions.
    FinishInterruptedCommit(folder);

    PresentLetters present(path);
    ChangedLetters changed;
    LetterChangeResult result{LetterChangeOutcome::Done, false, 0};
    try {
        result.outcome = rewrite(present, changed);
    } catch (const std::bad_alloc&) {
        result.outcome = LetterChangeOutcome::NoMemory;
    }
    for (const auto& file : present.Files())
        if (file->outcome != FileReadOutcome::Unreadable && HoldsOtherBytes(dictionary.held, *file))
            result.changedElsewhere = true;
    if (present.Unreadable()) {
        result.letter = present.Unreadable();
        if (present.OutOfMemory()) result.outcome = LetterChangeOutcome::NoMemory;
        else if (result.outcome == LetterChangeOutcome::Done) result.outcome = LetterChangeOutcome::CannotRead;
        if (result.outcome == LetterChangeOutcome::CannotRead && dictionary.held.letter == result.letter)
            ForgetLetter(dictionary, result.letter);
    }
    if (result.outcome != LetterChangeOutcome::Done || changed.files.empty()) {
        HoldAsOnDisk(dictionary, present);
        return result;
    }
    result.offset = changed.files.front().offset;
    if (!WriteChanged(folder, present, changed, result)) {
        result.outcome = LetterChangeOutcome::CannotWrite;
        HoldAsOnDisk(dictionary, present);
        return result;
    }
    // Written: the dictionary holds the first file's new bytes (the letter of
    // the entry the user sees); another letter is read again when needed.
    const ChangedLetter& first = changed.files.front();
    HoldLetterBytes(dictionary, first.letter, first.bytes.data(), first.bytes.size());
    return result;
}

LetterChangeResult ChangeLetter(Dictionary& dictionary, unsigned char letter, const LetterRewrite& rewrite) {
    return ChangeLetters(dictionary, [&](PresentLetters& present, ChangedLetters& changed) {
        const LetterView* view = present.Present(letter);
        if (!view) return LetterChangeOutcome::CannotRead;
        ChangedLetter file{letter, {}, 0};
        LetterChangeOutcome outcome = rewrite(*view, file.bytes, file.offset);
        if (outcome == LetterChangeOutcome::Done) changed.files.push_back(std::move(file));
        return outcome;
    });
}
