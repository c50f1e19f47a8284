#include "storage/letter_buffer.h"

#include <cstdlib>
#include <cstring>

#include "storage/file_bytes.h"
#include "storage/letter_index_store.h"

LetterBufferRecord LetterBuffer;

LetterView HeldLetter() { return LetterView{LetterBuffer.Data, LetterBuffer.Length, &LetterBuffer.Index}; }

void ReleaseLetterBytes(unsigned char* data, int32_t length, bool mapped) {
    if (mapped) PlatformUnmapFile(data, static_cast<size_t>(length - 1));
    else std::free(data);
}

void FreeLetterBuffer() {
    ReleaseLetterBytes(LetterBuffer.Data, LetterBuffer.Length, LetterBuffer.Mapped);
    LetterBuffer.Data = nullptr;
    LetterBuffer.Length = 0;
    LetterBuffer.Mapped = false;
    LetterBuffer.Index = LetterIndex();
    LetterBuffer.Stamped = false;
    LetterBuffer.Path.clear();
}

bool HoldLetter(unsigned char letter, const std::vector<unsigned char>& fileBytes) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterBuffer.Unread = false;
    if (fileBytes.empty()) return true;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(fileBytes.size() + 1));
    if (!data) {
        LetterBuffer.Unread = true;
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
    LetterBuffer.Unread = letter != 0;
}

bool LetterBytesFaulted(const unsigned char* data, bool mapped) { return mapped && PlatformMappingFaulted(data); }

bool HeldLetterFaulted() { return LetterBytesFaulted(LetterBuffer.Data, LetterBuffer.Mapped); }

FileReadOutcome ReadLetter(unsigned char letter, const char* path, bool mayMap) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterBuffer.Unread = false;
    FileBytes bytes;
    FileStamp stamp;
    const FileReadOutcome outcome = bytes.Load(path, stamp, mayMap);
    if (outcome != FileReadOutcome::Read || !bytes.Data()) {
        LetterBuffer.Unread = outcome == FileReadOutcome::Unreadable;
        return outcome;
    }
    LetterBuffer.Length = bytes.Length();
    LetterBuffer.Mapped = bytes.Mapped();
    LetterBuffer.Data = bytes.HandOver();
    LetterBuffer.Stamped = true;
    LetterBuffer.Stamp = stamp;
    LetterBuffer.Path = path;
    if (!PrepareLetterIndex(path, stamp, LetterBuffer.Data, LetterBuffer.Length, LetterBuffer.Mapped,
                            LetterBuffer.Index))
        return ReadLetter(letter, path, false);
    return outcome;
}
