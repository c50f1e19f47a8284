// The one letter file of the open dictionary that is held in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/letter_view.h"

struct LetterBufferRecord {
    unsigned char Letter = 0;     // 0 = none
    unsigned char* Data = nullptr;  // file bytes + one appended NUL, or null
    int32_t Length = 0;           // bytes held: file size + 1, 0 when Data is null
    // Data is the file mapped (platform/files.h), read-only, not memory of
    // the heap: a letter's bytes are read, and an edit holds new ones.
    bool Mapped = false;
    // The letter's file could not be read: the buffer stands for the letter
    // without data, and the next load tries the file again.
    bool Unread = false;
    // Built on the first search of these bytes, dropped with them.
    LetterIndex Index;
    // Read from the file at Path, which had this stamp then (not for bytes
    // an edit wrote): the letter cache may keep them.
    bool Stamped = false;
    FileStamp Stamp;
    std::string Path;
};
extern LetterBufferRecord LetterBuffer;

// The held bytes, for reading.
LetterView HeldLetter();
// The buffer takes the letter with these file bytes (the file as it now is
// on disk). False when there is no memory for them: the letter then counts
// as unread.
bool HoldLetter(unsigned char letter, const std::vector<unsigned char>& fileBytes);
// The buffer takes the letter and maps its file at `path` where the system
// allows it and `mayMap`, or else reads the file straight into itself.
// Absent: it holds no data. Unreadable (no memory among the causes): the
// letter counts as unread. A mapped file a page of which cannot be brought
// in is read instead, so that a read error is told as such.
FileReadOutcome ReadLetter(unsigned char letter, const char* path, bool mayMap = true);
// Bytes a letter held were mapped, and a page of them could not be read
// when it was touched (platform/files.h, PlatformMappingFaulted): they may
// hold zeros where the file has entries, so they are neither kept nor
// searched again; the file is read instead.
bool LetterBytesFaulted(const unsigned char* data, bool mapped);
bool HeldLetterFaulted();
// The buffer stands for the letter without data, unread: the next load
// reads its file again (for letter 0: nothing is held).
void ForgetLetter(unsigned char letter);
// Gives back bytes that a letter held: mapped, or of the heap.
void ReleaseLetterBytes(unsigned char* data, int32_t length, bool mapped);
// Drops the held bytes; the letter stays.
void FreeLetterBuffer();
