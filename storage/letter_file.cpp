#include "storage/letter_file.h"

#include <utility>

#include "platform/files.h"
#include "storage/dictionary_format.h"

LookupResult LoadLetter(Dictionary& dictionary, unsigned char letter) {
    if (!dictionary.IsOpen()) return LookupResult::NoDictionary;
    HeldLetter& held = dictionary.held;
    // A held letter a page of which could not be read is read again, from
    // the file: what that read finds is the answer.
    const bool faulted = letter == held.letter && held.Faulted();
    if (letter == held.letter && !held.unread && !faulted) return LookupResult::Ok;
    // A letter without a file still stands for that letter, so the first
    // insertion creates its file.
    if (letter == 0) {
        ForgetLetter(dictionary, 0);
        return LookupResult::Ok;
    }
    const std::string path = dictionary.LetterFilePath(letter);
    dictionary.kept.SetAside(std::move(held.bytes));
    held = HeldLetter{letter, false, dictionary.kept.Take(path)};
    if (held.bytes) return LookupResult::Ok;
    switch (ReadLetterBytes(path, !faulted, held.bytes)) {
    case FileReadOutcome::Absent: return LookupResult::LetterCannotOpen;
    case FileReadOutcome::Unreadable: held.unread = true; return LookupResult::LetterCannotRead;
    case FileReadOutcome::Read: break;
    }
    return LookupResult::Ok;
}

void HoldLetterBytes(Dictionary& dictionary, unsigned char letter, const unsigned char* bytes, size_t size) {
    dictionary.held = HeldLetter{letter, false, nullptr};
    if (size == 0) return;
    dictionary.held.bytes = CopyLetterBytes(bytes, size);
    dictionary.held.unread = !dictionary.held.bytes;
}

void ForgetLetter(Dictionary& dictionary, unsigned char letter) {
    dictionary.held = HeldLetter{letter, letter != 0, nullptr};
}

bool SaveLetter(const Dictionary& dictionary) {
    const std::string path = dictionary.LetterFilePath(dictionary.held.letter);
    static const unsigned char kNothing = 0;
    const LetterView held = dictionary.held.View();
    const void* data = held.data ? held.data : &kNothing;
    return PlatformWriteFileAtomic(path.c_str(), data, held.FileSize());
}

Statistics DictionaryStatistics(Dictionary& dictionary) {
    Statistics stats;
    for (int letter = 0x21; letter <= 0xFE; ++letter) {
        if (LoadLetter(dictionary, static_cast<unsigned char>(letter)) == LookupResult::LetterCannotRead &&
            !stats.unreadable) {
            stats.unreadable = static_cast<unsigned char>(letter);
            stats.why = PlatformLastFileError();
        }
        const LetterView held = dictionary.held.View();
        stats.size += static_cast<unsigned long long>(held.length);
        // Counted as the strings up to the first empty one, halved: the last
        // entry of the walk counts only with its description.
        LetterEntryWalker walker = held.Walk(EntryWalk::Strict);
        for (LetterEntry entry; walker.Next(entry);)
            if (entry.DescriptionLength() > 0) ++stats.entries;
    }
    return stats;
}
