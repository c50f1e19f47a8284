#include "storage/letter_file.h"

#include <vector>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_cache.h"

int LoadLetter(unsigned char letter) {
    if (!IsDictionaryOpen()) return kResultNoDictionary;
    // A held letter a page of which could not be read is read again, from
    // the file: what that read finds is the answer.
    const bool faulted = letter == LetterBuffer.Letter && HeldLetterFaulted();
    if (letter == LetterBuffer.Letter && !LetterBuffer.Unread && !faulted) return kResultOk;
    // A letter without a file still stands for that letter, so the first
    // insertion creates its file.
    if (letter == 0) {
        ForgetLetter(0);
        return kResultOk;
    }
    const std::string path = LetterPath(CurrentDictionary.Folder, letter);
    SetAsideHeldLetter();
    if (TakeKeptLetter(letter, path.c_str())) return kResultOk;
    switch (ReadLetter(letter, path.c_str(), !faulted)) {
    case FileReadOutcome::Absent: return kResultLetterCannotOpen;
    case FileReadOutcome::Unreadable: return kResultLetterCannotRead;
    case FileReadOutcome::Read: break;
    }
    return kResultOk;
}

int SaveLetter() {
    std::string path = LetterPath(CurrentDictionary.Folder, LetterBuffer.Letter);
    static const unsigned char kNothing = 0;
    LetterView held = HeldLetter();
    const void* data = held.data ? held.data : &kNothing;
    return PlatformWriteFileAtomic(path.c_str(), data, held.FileSize()) ? kResultOk : kResultLetterCannotWrite;
}

Statistics DictionaryStatistics() {
    Statistics stats;
    for (int letter = 0x21; letter <= 0xFE; ++letter) {
        if (LoadLetter(static_cast<unsigned char>(letter)) == kResultLetterCannotRead && !stats.unreadable) {
            stats.unreadable = static_cast<unsigned char>(letter);
            stats.why = PlatformLastFileError();
        }
        LetterView held = HeldLetter();
        stats.size += static_cast<unsigned long long>(held.length);
        // Counted as the strings up to the first empty one, halved: the last
        // entry of the walk counts only with its description.
        LetterEntryWalker walker = held.Walk(EntryWalk::Strict);
        for (LetterEntry entry; walker.Next(entry);)
            if (entry.DescriptionLength() > 0) ++stats.entries;
    }
    return stats;
}
