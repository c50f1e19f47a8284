#include "storage/letter_buffer.h"

#include <cstdlib>
#include <cstring>

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

// The buffer holds a file's `size` bytes and the NUL after them.
static FileReadOutcome TakeLetterBytes(unsigned char* data, size_t size, const FileStamp& stamp, const char* path) {
    LetterBuffer.Data = data;
    LetterBuffer.Length = static_cast<int32_t>(size + 1);
    LetterBuffer.Stamped = true;
    LetterBuffer.Stamp = stamp;
    LetterBuffer.Path = path;
    return FileReadOutcome::Read;
}

FileReadOutcome ReadLetter(unsigned char letter, const char* path) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterBuffer.Unread = false;
    unsigned char* data = nullptr;
    size_t size = 0;
    FileStamp stamp;
    if (PlatformMapFileForReading(path, data, size, stamp)) {
        LetterBuffer.Mapped = true;
        return TakeLetterBytes(data, size, stamp, path);
    }
    FileReadOutcome outcome = PlatformReadWholeFileInto(
        path,
        [&](size_t fileSize) {
            size = fileSize;
            data = static_cast<unsigned char*>(std::malloc(fileSize + 1));   // one more for the NUL
            return data;
        },
        &stamp);
    if (outcome != FileReadOutcome::Read || size == 0) {
        std::free(data);
        LetterBuffer.Unread = outcome == FileReadOutcome::Unreadable;
        return outcome;
    }
    data[size] = 0;
    return TakeLetterBytes(data, size, stamp, path);
}
