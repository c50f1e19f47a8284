// Files through the Win32 API: opened without sharing, read and written
// whole, replaced atomically. Paths are code page 1251 bytes, as the
// catalogue and the dictionary layout hold them; the wide file API takes
// them as UTF-16, so a Cyrillic name works whatever the system's code page.
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <new>
#include <string>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/wide_text_win32.h"

const bool kPathsInCp1251 = true;

// A path as the wide file API takes it: code page 1251, or UTF-8 after
// kUtf8PathMark.
static std::wstring WidePath(const std::string& path) {
    if (path.empty() || path[0] != kUtf8PathMark) return WideText(path);
    const int size = static_cast<int>(path.size() - 1);
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, path.data() + 1, size, nullptr, 0)), L'\0');
    if (!wide.empty()) MultiByteToWideChar(CP_UTF8, 0, path.data() + 1, size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

// Another program (or another copy of this one) may hold a file open without
// sharing for the moment it reads or writes it: such a clash is waited out
// this long before it counts as a failure.
static const DWORD kSharingWait = 300;
static const DWORD kRetryPause = 10;
static const DWORD kStagedReplaceWait = 1000;

static bool IsSharingClash(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

static thread_local std::string LastFileError;
static thread_local WriteFailure LastWriteFailure = WriteFailure::None;

// Notes the system's reason for a failure, in UTF-8 whatever the system's
// code page, and as the kind of write failure it is; returns false for the
// caller.
static bool NoteError(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: LastWriteFailure = WriteFailure::DiskFull; break;
    case ERROR_WRITE_PROTECT: LastWriteFailure = WriteFailure::DiskReadOnly; break;
    case ERROR_ACCESS_DENIED: LastWriteFailure = WriteFailure::FolderNotWritable; break;
    default: LastWriteFailure = WriteFailure::Other; break;
    }
    wchar_t text[256];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  256, nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ' ||
                          text[length - 1] == L'.'))
        --length;
    char utf8[1024];
    int size = length ? WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8, sizeof utf8, nullptr,
                                            nullptr)
                      : 0;
    LastFileError = size > 0 ? std::string(utf8, static_cast<size_t>(size)) : "system error " + std::to_string(error);
    return false;
}

std::string PlatformLastFileError() { return LastFileError; }
WriteFailure PlatformLastWriteFailure() { return LastWriteFailure; }

// Only a file on a disk is read: a folder or a device of that name is
// refused with a reason.
static HANDLE OpenForReading(const char* path, DWORD* error) {
    DWORD start = GetTickCount();
    HANDLE file;
    for (;;) {
        file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        *error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (file != INVALID_HANDLE_VALUE || !IsSharingClash(*error) || GetTickCount() - start >= kSharingWait) break;
        Sleep(kRetryPause);
    }
    if (file == INVALID_HANDLE_VALUE) {
        DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            LastFileError = "it is a folder, not a regular file";
        else
            NoteError(*error);
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
        *error = ERROR_INVALID_FUNCTION;
        LastFileError = "it is a device, not a regular file";
    }
    return file;
}

static unsigned long long FileTimeValue(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

static FileStamp StampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& written, const FILETIME& created) {
    FileStamp stamp;
    stamp.size = (static_cast<unsigned long long>(sizeHigh) << 32) | sizeLow;
    stamp.written = FileTimeValue(written);
    stamp.identity = FileTimeValue(created);
    return stamp;
}

bool PlatformFileStamp(const char* path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
    stamp = StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime, data.ftCreationTime);
    return true;
}

static FileReadOutcome ReadOpenFile(HANDLE file, const std::function<unsigned char*(size_t)>& place, FileStamp* stamp) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        NoteError(GetLastError());
        return FileReadOutcome::Unreadable;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxReadableFileSize) {
        LastFileError = "the file is too large";
        return FileReadOutcome::Unreadable;
    }
    if (stamp) {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(file, &info)) return FileReadOutcome::Unreadable;
        *stamp = StampOf(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime, info.ftCreationTime);
    }
    const DWORD wanted = static_cast<DWORD>(size.QuadPart);
    unsigned char* bytes = place(wanted);
    if (!bytes && wanted > 0) {
        NoteError(ERROR_NOT_ENOUGH_MEMORY);
        return FileReadOutcome::Unreadable;
    }
    DWORD got = 0;
    if (wanted > 0 && !ReadFile(file, bytes, wanted, &got, nullptr)) {
        NoteError(GetLastError());
        return FileReadOutcome::Unreadable;
    }
    if (got != wanted) {
        LastFileError = "the file was cut short while it was read";
        return FileReadOutcome::Unreadable;
    }
    return FileReadOutcome::Read;
}

FileReadOutcome PlatformReadWholeFileInto(const char* path, const std::function<unsigned char*(size_t)>& place,
                                          FileStamp* stamp) {
    DWORD error = ERROR_SUCCESS;
    HANDLE file = OpenForReading(path, &error);
    if (file == INVALID_HANDLE_VALUE)
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadOutcome::Absent
                                                                              : FileReadOutcome::Unreadable;
    FileReadOutcome outcome = ReadOpenFile(file, place, stamp);
    CloseHandle(file);
    return outcome;
}

// A mapped file cannot be replaced while it is mapped, and other writers
// replace letter files whenever they change one: letters are read here.
bool PlatformMapFileForReading(const char*, unsigned char*&, size_t&, FileStamp&) { return false; }
void PlatformUnmapFile(unsigned char*, size_t) {}
bool PlatformReadAheadMapping(const unsigned char*, size_t) { return true; }
bool PlatformMappingFaulted(const unsigned char*) { return false; }

bool PlatformReadFile(const char* path, std::vector<unsigned char>& out) {
    return PlatformReadWholeFile(path, out) == FileReadOutcome::Read;
}


std::string PlatformShownPath(const std::string& path) { return path; }

static std::string UniqueTempName(const char* path) {
    static std::atomic<unsigned> count{0};
    return std::string(path) + ".tmp" + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++count);
}

// Moves `from` over `to`. A reader holding the old file open (every open
// here is without sharing) makes the move fail for that moment: it is
// tried again for up to `wait` milliseconds. MoveFileEx refuses a
// read-only target too, which is never waited for.
static bool MoveOver(const char* from, const char* to, DWORD wait) {
    DWORD start = GetTickCount();
    while (!PlatformIsMarkedReadOnly(to)) {
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), flags)) return true;
        DWORD error = GetLastError();
        if (!(IsSharingClash(error) || error == ERROR_ACCESS_DENIED) || GetTickCount() - start >= wait)
            return NoteError(error);
        Sleep(kRetryPause);
    }
    LastFileError = "the file is marked read-only";
    LastWriteFailure = WriteFailure::FileReadOnly;
    return false;
}

bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size) {
    std::string temp = UniqueTempName(path);
    HANDLE file = CreateFileW(WidePath(temp).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return NoteError(GetLastError());
    DWORD written = 0;
    bool ok = true;
    if (size > MAXDWORD) ok = NoteError(ERROR_FILE_TOO_LARGE);
    else if (size > 0 && !WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr))
        ok = NoteError(GetLastError());
    else if (written != size) ok = NoteError(ERROR_DISK_FULL);
    if (!FlushFileBuffers(file) && ok) ok = NoteError(GetLastError());
    if (!CloseHandle(file) && ok) ok = NoteError(GetLastError());
    if (ok) ok = MoveOver(temp.c_str(), path, kSharingWait);
    if (!ok) DeleteFileW(WidePath(temp).c_str());
    return ok;
}

bool PlatformDeleteFile(const char* path) {
    return DeleteFileW(WidePath(path).c_str()) != 0 || NoteError(GetLastError());
}

// A name the code page cannot hold is left out: no path of the program
// could name it, and shown or stored garbled it would name another.
std::vector<FolderItem> PlatformListFolder(const char* path) {
    std::vector<FolderItem> items;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(std::string(path) + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return items;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    do {
        char32_t unheld = 0;
        std::string name = Cp1251Text(found.cFileName, wcslen(found.cFileName), &unheld);
        if (unheld) continue;
        FolderItem item{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        item.size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        item.unusedSeconds =
            static_cast<long long>(FileTimeValue(now) - FileTimeValue(found.ftLastWriteTime)) / 10000000;
        items.push_back(item);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return items;
}

// Nothing is kept here that a tidy-up would remove (PlatformIndexCacheFolder).
void PlatformMarkFileUsed(const char*) {}

// The name a character at a time: a pair of surrogates is one character.
static UnnamableFolder UnnamableFolderOf(const wchar_t* name) {
    UnnamableFolder folder;
    for (size_t i = 0; name[i]; ++i) {
        char32_t c = name[i];
        if (c >= 0xD800 && c <= 0xDBFF && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
        int byte = ByteOfUnicode(c);
        if (byte < 0) {
            folder.name += static_cast<char>(kUnheldByte);
            folder.unheld += c;
        } else {
            folder.name += static_cast<char>(byte);
        }
    }
    return folder;
}

std::vector<UnnamableFolder> PlatformUnnamableFolders(const char* path, const char* holding) {
    std::vector<UnnamableFolder> folders;
    const std::wstring base = WidePath(path) + L"\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((base + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return folders;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        char32_t unheld = 0;
        Cp1251Text(found.cFileName, wcslen(found.cFileName), &unheld);
        std::wstring held = base + found.cFileName + L"\\" + WidePath(holding);
        if (unheld && GetFileAttributesW(held.c_str()) != INVALID_FILE_ATTRIBUTES)
            folders.push_back(UnnamableFolderOf(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return folders;
}

bool PlatformCreateFolder(const char* name) {
    return CreateDirectoryW(WidePath(name).c_str(), nullptr) != 0 || NoteError(GetLastError());
}

// No stamp here is ever settled, so no index would be trusted.
std::string PlatformIndexCacheFolder() { return std::string(); }

// Empty, as for any path that cannot be formed, when the code page cannot
// hold the folders above.
std::string PlatformAbsolutePath(const char* path) {
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(WidePath(path).c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::string();
    char32_t unheld = 0;
    std::string bytes = Cp1251Text(full, length, &unheld);
    return unheld ? std::string() : bytes;
}

bool PlatformWriteCacheFile(const char* path, const void* data, size_t size) {
    return PlatformWriteFileAtomic(path, data, size);
}

bool PlatformNameExists(const char* name) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

FileLockOutcome PlatformLockFile(const char* path, int waitMilliseconds, PlatformLockHandle* lock) {
    DWORD start = GetTickCount();
    for (;;) {
        HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *lock = reinterpret_cast<PlatformLockHandle>(file);
            return FileLockOutcome::Held;
        }
        // Only a holder makes it worth waiting; anything else (a folder that
        // cannot be written, for one) will not change.
        if (!IsSharingClash(GetLastError())) {
            NoteError(GetLastError());
            return FileLockOutcome::Failed;
        }
        if (GetTickCount() - start >= static_cast<DWORD>(waitMilliseconds)) return FileLockOutcome::Busy;
        Sleep(kRetryPause);
    }
}

void PlatformUnlockFile(PlatformLockHandle lock) { CloseHandle(reinterpret_cast<HANDLE>(lock)); }

bool PlatformIsMarkedReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool PlatformIsFolder(const char* path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformRemoveFolder(const char* path) {
    return RemoveDirectoryW(WidePath(path).c_str()) != 0 || NoteError(GetLastError());
}

// A staged file may wait longer for a reader of the old one: the change
// of several files it belongs to is decided already.
bool PlatformReplaceFile(const char* from, const char* to) { return MoveOver(from, to, kStagedReplaceWait); }

// Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
bool PlatformMoveToNewName(const char* from, const char* to) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0 ||
           NoteError(GetLastError());
}

PlatformFileReader::PlatformFileReader(const char* path) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        NoteError(GetLastError());
        return;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        LastFileError = "it is a device, not a regular file";
        return;
    }
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
        if (GetLastError() != ERROR_HANDLE_EOF) {
            NoteError(GetLastError());
            failed_ = true;
        }
        return 0;
    }
    return got;
}
