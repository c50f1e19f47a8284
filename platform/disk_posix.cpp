// Moving, removing folders and piecewise reading on a POSIX system.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/disk.h"

// Dictionary paths use '\'; the disk here uses '/'.
static std::string OnDisk(const char* path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

bool PlatformIsFolder(const char* path) {
    struct stat info;
    return stat(OnDisk(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformRemoveFolder(const char* path) { return rmdir(OnDisk(path).c_str()) == 0; }

bool PlatformIsMarkedReadOnly(const char* path) {
    std::string disk = OnDisk(path);
    struct stat info;
    if (stat(disk.c_str(), &info) != 0) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return access(disk.c_str(), W_OK) != 0 && errno == EACCES;
}

// A rename would replace a read-only file and drop its mark.
bool PlatformReplaceFile(const char* from, const char* to) {
    return !PlatformIsMarkedReadOnly(to) && rename(OnDisk(from).c_str(), OnDisk(to).c_str()) == 0;
}

bool PlatformMoveToNewName(const char* from, const char* to) {
    std::string source = OnDisk(from), target = OnDisk(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace move: a plain move, which would
    // also replace an empty folder, so only where the name is free.
    struct stat info;
    if (lstat(target.c_str(), &info) == 0) return false;
    return rename(source.c_str(), target.c_str()) == 0;
}

PlatformFileReader::PlatformFileReader(const char* path) {
    int fd = open(OnDisk(path).c_str(), O_RDONLY);
    if (fd < 0) return;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return;
    }
    handle_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
}

PlatformFileReader::~PlatformFileReader() {
    if (Opened()) close(static_cast<int>(handle_));
}

size_t PlatformFileReader::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (!Opened()) return 0;
    for (;;) {
        ssize_t got = pread(static_cast<int>(handle_), buffer, size, static_cast<off_t>(offset));
        if (got >= 0) return static_cast<size_t>(got);
        if (errno != EINTR) {
            failed_ = true;
            return 0;
        }
    }
}
