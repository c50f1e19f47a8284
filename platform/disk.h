// The file effects that changes of several files and their checks need
// beyond platform.h: moving files and folders, removing folders, and
// reading a file piece by piece. Paths as in platform.h: relative to the
// program folder, '\' as separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

bool PlatformIsFolder(const char* path);
// A file without write permission (the read-only attribute on Windows):
// the user keeps it as it is, so no change replaces it.
bool PlatformIsMarkedReadOnly(const char* path);
// Removes an empty folder.
bool PlatformRemoveFolder(const char* path);
// Moves a file over `to` in one step: `to` is the old file or the new one,
// never neither. Both must be on the same disk; a `to` marked read-only is
// left as it is.
bool PlatformReplaceFile(const char* from, const char* to);
// Moves a file or folder to a name that nothing has yet; false, changing
// nothing, when something already has it.
bool PlatformMoveToNewName(const char* from, const char* to);

// A file read in pieces, for files too large to hold whole.
class PlatformFileReader {
public:
    explicit PlatformFileReader(const char* path);
    ~PlatformFileReader();
    PlatformFileReader(const PlatformFileReader&) = delete;
    PlatformFileReader& operator=(const PlatformFileReader&) = delete;

    bool Opened() const { return handle_ != kClosed; }
    uint64_t Size() const { return size_; }
    // Reads up to `size` bytes at `offset`; the number read, 0 at the end.
    // Sets Failed() when the disk reports an error.
    size_t ReadAt(uint64_t offset, void* buffer, size_t size);
    bool Failed() const { return failed_; }

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t handle_ = kClosed;
    uint64_t size_ = 0;
    bool failed_ = false;
};
