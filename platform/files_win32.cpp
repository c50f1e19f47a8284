// Files through the Win32 API: opened without sharing, read and written
// whole, replaced atomically.
#include <windows.h>

#include <string>

#include "platform/platform.h"

bool PlatformReadFile(const char* path, std::vector<unsigned char>& out) {
    out.clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart >= 0x7FFFFFFF) {
        CloseHandle(file);
        return true;  // empty, or a size that cannot be had: holds nothing
    }
    out.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!out.empty() && !ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &got, nullptr)) got = 0;
    out.resize(got);
    CloseHandle(file);
    return true;
}

bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size) {
    std::string temp = std::string(path) + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = size == 0 || (WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size);
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

std::vector<FolderItem> PlatformListCurrentDirectory() { return PlatformListFolder("."); }

std::vector<FolderItem> PlatformListFolder(const char* path) {
    std::vector<FolderItem> items;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(path) + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return items;
    do {
        items.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return items;
}

bool PlatformCreateFolder(const char* name) { return CreateDirectoryA(name, nullptr) != 0; }

bool PlatformNameExists(const char* name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
