// A file the program keeps in the user's cache folder (PlatformIndexCacheFolder)
// for a file it was made from, such as the index of a letter file: rebuildable
// at any time, taken back only for the very file it was made from (the same
// stamp) and only whole (its sum checks). The dictionaries are never touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "storage/file_bytes.h"

// The file that what was made from the file at `path` is kept in, ending in
// `extension` (".idx"); empty when nothing may be kept.
std::string KeptFilePath(const char* path, const char* extension);

// What a kept file says of itself besides its payload.
struct KeptFileInfo {
    uint32_t flags = 0;
    uint32_t count = 0;
};
// The size of the header before the payload (a multiple of 8).
constexpr size_t kKeptFileHeaderSize = 64;

// Writes `payload` for the file with `stamp` under `magic` (8 bytes whose
// last digit is the version of what is kept); true when it was written.
// Every write tidies the folder (TidyKeptFolder): writes are few, one for
// each index or list built anew.
bool WriteKeptFile(const std::string& keptPath, const char (&magic)[8], const FileStamp& stamp,
                   const KeptFileInfo& info, const unsigned char* payload, size_t size);
// Holds the kept file in `kept` when it carries `magic`, was made from the
// file with `stamp` and its sum checks; its payload starts at
// kKeptFileHeaderSize and runs to the end of the held bytes.
bool ReadKeptFile(const std::string& keptPath, const char (&magic)[8], const FileStamp& stamp, FileBytes& kept,
                  KeptFileInfo& info);
// The kept files of files long deleted or moved, and the temporary files of
// processes killed while they wrote one, would pile up for good: temporary
// files older than kKeptFileStaleTempSeconds go, then kept files unused for
// kKeptFileUnusedSeconds (ReadKeptFile marks a file used), then the least
// recently used ones while they take more than kKeptFolderBytes. Nothing
// else in the folder is touched.
constexpr unsigned long long kKeptFolderBytes = 64ull << 20;
constexpr long long kKeptFileUnusedSeconds = 90ll * 24 * 3600;
constexpr long long kKeptFileStaleTempSeconds = 600;
void TidyKeptFolder();

// The payload's size in a file ReadKeptFile took.
inline size_t KeptPayloadSize(const FileBytes& kept) {
    return static_cast<size_t>(kept.Length() - 1) - kKeptFileHeaderSize;
}
