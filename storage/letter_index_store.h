// The index of a large letter file, kept in the user's cache folder
// (PlatformIndexCacheFolder) so that later processes search the letter by
// halving from their first look-up instead of walking it. Only the index of
// a sorted letter whose file had settled when it was read is kept, under
// that file's stamp, and it is taken back only for a file with the same
// stamp and only whole: its sum checks, and its offsets rise and stay
// inside the file. The dictionaries are not touched; without the kept
// indexes every letter is walked as before.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "storage/letter_index.h"

// Smaller files are walked sooner than a kept index is read.
constexpr int32_t kKeptIndexMinBytes = 64 * 1024;
// The kept indexes of files long deleted or moved, and the temporary files
// of processes killed while they wrote one, would pile up for good: after
// it keeps an index, a process tidies the folder (once). Temporary files
// older than kKeptIndexStaleTempSeconds go, then indexes unused for
// kKeptIndexUnusedSeconds, then the least recently used ones while the
// indexes take more than kKeptIndexFolderBytes. Nothing else in the folder
// is touched.
constexpr unsigned long long kKeptIndexFolderBytes = 64ull << 20;
constexpr long long kKeptIndexUnusedSeconds = 90ll * 24 * 3600;
constexpr long long kKeptIndexStaleTempSeconds = 600;
void TidyKeptIndexFolder();

// The file the index of the file at `path` is kept in; empty when nothing
// may be kept.
std::string KeptIndexPath(const char* path);

// For `length` bytes (the file and the NUL after it) just read from the file
// at `path` with `stamp`: takes back the kept index into `index` (true), or
// else, when the file may have one, notes in `index.origin` where the bytes
// came from, so that the index is kept once a search builds it.
bool TakeBackLetterIndex(const char* path, const FileStamp& stamp, int32_t length, LetterIndex& index);
// The same for bytes a reader is about to search: without a kept index the
// first search walks them all, so `mapped` bytes are brought in at once.
// False when a page of them could not be: the caller reads the file instead.
bool PrepareLetterIndex(const char* path, const FileStamp& stamp, const unsigned char* data, int32_t length,
                        bool mapped, LetterIndex& index);
// Keeps `index`, built over the `length` bytes at `data` read from
// `index.origin`, when it is sorted and every byte read was the file's (no
// page of a mapping faulted); then clears the origin, so that it is kept once.
void KeepBuiltIndex(const unsigned char* data, int32_t length, LetterIndex& index);
// Builds and keeps the index of bytes that were only walked, as one
// look-up does, so that the next process need not walk them.
void KeepWalkedIndex(const unsigned char* data, int32_t length, LetterIndex& index);
