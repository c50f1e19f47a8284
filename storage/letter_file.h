// Letter files: one per folded first byte of the words, holding
// word NUL description NUL pairs in sorted order. One is held in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/lookup_result.h"

struct LetterBufferRecord {
    unsigned char Letter;   // 0 = none
    unsigned char* Data;    // file bytes + one appended NUL, or null
    int32_t Length;         // bytes held: file size + 1, 0 when Data is null
};
extern LetterBufferRecord LetterBuffer;

unsigned char FoldChar(unsigned char c);
void FoldString(char* text);
std::string FoldedCopy(const char* text);

// 0, 3 no file, 5 no dictionary open, 7 the file is there but could not be
// read (the buffer then stands for the letter without data, and the next
// load tries the file again).
int LoadLetter(unsigned char letter);
// Writes the buffer as it is. Editing changes a letter file through
// ChangeLetter (storage/letter_change.h) instead, which works on the file as
// other writers left it.
int SaveLetter();
void FreeLetterBuffer();
// The buffer takes the letter with these file bytes (the file as it now is
// on disk). False when there is no memory for them: the letter then counts
// as unread.
bool HoldLetter(unsigned char letter, const std::vector<unsigned char>& fileBytes);
// The buffer stands for the letter without data, unread: the next load
// reads its file again.
void ForgetLetter(unsigned char letter);
// "%s\%02x.dat" for the open dictionary.
std::string LetterPath(const char* folder, unsigned char letter);

// Walking the held list. Offsets past the buffer read as NUL, so no walk
// ever leaves it, whatever the file holds.
unsigned char ByteAt(int32_t offset);
// Offset of the NUL that ends the string at `offset` (never past Length - 1).
int32_t StringEnd(int32_t offset);
// One step of the entry walk from the word at `offset`; the walk ends when
// the result points at a NUL.
int32_t EntryWalkStep(int32_t offset);
// True when the word at `offset`, folded, equals `foldedKey` in full. The
// appended NUL ends every word within the buffer.
bool FoldedWordEquals(int32_t offset, const std::string& foldedKey);
// Offset of the description of the entry whose word starts at `offset`.
int32_t DescriptionOf(int32_t offset);

struct Statistics {
    unsigned long long entries;
    unsigned long long size;
};
Statistics DictionaryStatistics();
