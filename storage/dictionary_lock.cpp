#include "storage/dictionary_lock.h"

#include <cctype>
#include <cstring>
#include <string>

static std::string LockPath(const char* folder) { return std::string(folder) + "\\" + kWriterLockName; }

DictionaryWriteLock::DictionaryWriteLock(const char* folder)
    : DictionaryWriteLock(folder, kWriterLockWaitMilliseconds) {}

DictionaryWriteLock::DictionaryWriteLock(const char* folder, int waitMilliseconds)
    : outcome_(PlatformLockFile(LockPath(folder).c_str(), waitMilliseconds, &handle_)) {}

DictionaryWriteLock::~DictionaryWriteLock() {
    if (Held()) PlatformUnlockFile(handle_);
}

static bool IsDictionaryFileName(const std::string& name) {
    if (name.size() != 6) return false;
    auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string extension = name.substr(2);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return hex(name[0]) && hex(name[1]) && extension == ".dat";
}

bool IsWriterTempFileName(const char* name) {
    return std::strlen(name) >= 10 && IsDictionaryFileName(std::string(name, 6)) && std::strncmp(name + 6, ".tmp", 4) == 0;
}

void RemoveStaleWriterFiles(const char* folder) {
    for (const FolderItem& item : PlatformListFolder(folder))
        if (!item.isDirectory && IsWriterTempFileName(item.name.c_str()))
            PlatformDeleteFile((std::string(folder) + "\\" + item.name).c_str());
}
