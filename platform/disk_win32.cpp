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

// MoveFileEx fails on a read-only target too; the test says why.
bool PlatformReplaceFile(const char* from, const char* to) {
    if (PlatformIsMarkedReadOnly(to)) return false;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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
