#include "storage/dictionary_lock.h"

#include <string>

#include "storage/dictionary_format.h"

DictionaryWriteLock::DictionaryWriteLock(const char* folder)
    : DictionaryWriteLock(folder, kWriterLockWaitMilliseconds) {}

DictionaryWriteLock::DictionaryWriteLock(const char* folder, int waitMilliseconds)
    : outcome_(PlatformLockFile(PathInFolder(folder, kWriterLockName).c_str(), waitMilliseconds, &handle_)) {}

DictionaryWriteLock::~DictionaryWriteLock() {
    if (Held()) PlatformUnlockFile(handle_);
}

void RemoveStaleWriterFiles(const char* folder) {
    for (const FolderItem& item : PlatformListFolder(folder))
        if (!item.isDirectory && IsWriterTempFileName(item.name.c_str()))
            PlatformDeleteFile(PathInFolder(folder, item.name).c_str());
}
