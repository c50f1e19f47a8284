#include "storage/letter_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "storage/dictionary.h"

LetterBufferRecord LetterBuffer = {0, nullptr, 0};

unsigned char FoldChar(unsigned char c) {
    if (CurrentDictionary.CaseSensitive) return c;
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0) return static_cast<unsigned char>(c - 0x20);  // Cyrillic а-я
    return c;
}

void FoldString(char* text) {
    for (; *text; ++text)
        *text = static_cast<char>(FoldChar(static_cast<unsigned char>(*text)));
}

std::string FoldedCopy(const char* text) {
    std::string copy(text);
    for (char& c : copy) c = static_cast<char>(FoldChar(static_cast<unsigned char>(c)));
    return copy;
}

std::string LetterPath(const char* folder, unsigned char letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%02x.dat", letter);
    return std::string(folder) + "\\" + name;
}

void FreeLetterBuffer() {
    std::free(LetterBuffer.Data);
    LetterBuffer.Data = nullptr;
    LetterBuffer.Length = 0;
}

// The buffer stands for a letter whose file could not be read: the next
// load of that letter tries again instead of taking it as empty.
static bool LetterUnread = false;

bool HoldLetter(unsigned char letter, const std::vector<unsigned char>& fileBytes) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterUnread = false;
    if (fileBytes.empty()) return true;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(fileBytes.size() + 1));
    if (!data) {
        LetterUnread = true;
        return false;
    }
    std::memcpy(data, fileBytes.data(), fileBytes.size());
    data[fileBytes.size()] = 0;
    LetterBuffer.Data = data;
    LetterBuffer.Length = static_cast<int32_t>(fileBytes.size() + 1);
    return true;
}

void ForgetLetter(unsigned char letter) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterUnread = letter != 0;
}

int LoadLetter(unsigned char letter) {
    if (CurrentDictionary.Folder[0] == '\0') return kResultNoDictionary;
    if (letter == LetterBuffer.Letter && !LetterUnread) return kResultOk;
    // Set before the file is read: a letter without a file still stands for
    // that letter, so the first insertion creates its file.
    FreeLetterBuffer();
    LetterUnread = false;
    LetterBuffer.Letter = letter;
    if (letter == 0) return kResultOk;

    std::vector<unsigned char> bytes;
    switch (PlatformReadWholeFile(LetterPath(CurrentDictionary.Folder, letter).c_str(), bytes)) {
    case FileReadOutcome::Absent: return kResultLetterCannotOpen;
    case FileReadOutcome::Unreadable: ForgetLetter(letter); return kResultLetterCannotRead;
    case FileReadOutcome::Read: break;
    }
    return HoldLetter(letter, bytes) ? kResultOk : kResultLetterCannotRead;
}

int SaveLetter() {
    std::string path = LetterPath(CurrentDictionary.Folder, LetterBuffer.Letter);
    size_t size = LetterBuffer.Length > 0 ? static_cast<size_t>(LetterBuffer.Length - 1) : 0;
    static const unsigned char kNothing = 0;
    const void* data = LetterBuffer.Data ? LetterBuffer.Data : &kNothing;
    return PlatformWriteFileAtomic(path.c_str(), data, size) ? kResultOk : kResultLetterCannotWrite;
}

unsigned char ByteAt(int32_t offset) {
    if (!LetterBuffer.Data || offset < 0 || offset >= LetterBuffer.Length) return 0;
    return LetterBuffer.Data[offset];
}

int32_t StringEnd(int32_t offset) {
    if (!LetterBuffer.Data || offset >= LetterBuffer.Length) return offset;
    // The appended NUL at Length - 1 bounds the search.
    const void* nul = std::memchr(LetterBuffer.Data + offset, 0,
                                  static_cast<size_t>(LetterBuffer.Length - offset));
    return nul ? static_cast<int32_t>(static_cast<const unsigned char*>(nul) - LetterBuffer.Data)
               : LetterBuffer.Length - 1;
}

bool FoldedWordEquals(int32_t offset, const std::string& foldedKey) {
    const unsigned char* word = LetterBuffer.Data + offset;
    size_t i = 0;
    for (; i < foldedKey.size(); ++i)
        if (FoldChar(word[i]) != static_cast<unsigned char>(foldedKey[i])) return false;
    return word[i] == 0;
}

int32_t DescriptionOf(int32_t offset) { return StringEnd(offset) + 1; }

int32_t EntryWalkStep(int32_t offset) {
    int32_t p = StringEnd(offset);
    if (ByteAt(p + 1)) p = StringEnd(p + 1);
    if (ByteAt(p + 1)) ++p;
    return p;
}

Statistics DictionaryStatistics() {
    Statistics stats{0, 0};
    for (int letter = 0x21; letter <= 0xFE; ++letter) {
        LoadLetter(static_cast<unsigned char>(letter));
        stats.size += static_cast<unsigned long long>(LetterBuffer.Length);
        if (!LetterBuffer.Data) continue;
        unsigned long long strings = 0;
        for (int32_t p = 0; ByteAt(p) != 0; p = StringEnd(p) + 1) ++strings;
        stats.entries += strings / 2;
    }
    return stats;
}
