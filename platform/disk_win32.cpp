// Moving, removing folders and piecewise reading through the Win32 API.
#include <windows.h>

#include "platform/disk.h"

bool PlatformIsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformRemoveFolder(const char* path) { return RemoveDirectoryA(path) != 0; }

bool PlatformIsMarkedReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A reader holding the old file open (every open here is without sharing)
// makes the replace fail for that moment: it is tried again for a second.
// MoveFileEx refuses a read-only target too, which is never waited for.
bool PlatformReplaceFile(const char* from, const char* to) {
    DWORD start = GetTickCount();
    while (!PlatformIsMarkedReadOnly(to)) {
        if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        DWORD error = GetLastError();
        bool clash = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!clash || GetTickCount() - start >= 1000) return false;
        Sleep(10);
    }
    return false;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
bool PlatformMoveToNewName(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) != 0;
}

PlatformFileReader::PlatformFileReader(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    size_ = static_cast<uint64_t>(size.QuadPart);
}

PlatformFileReader::~PlatformFileReader() {
    if (Opened()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

size_t PlatformFileReader::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (!Opened()) return 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, wanted, &got, &at)) {
        if (GetLastError() != ERROR_HANDLE_EOF) failed_ = true;
        return 0;
    }
    return got;
}
