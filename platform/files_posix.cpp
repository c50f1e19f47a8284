// Files on a POSIX system, for the native build of the tool and the tests.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/platform.h"

// Dictionary paths use '\'; the disk here uses '/'.
static std::string DiskPath(const char* path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

bool PlatformReadFile(const char* path, std::vector<unsigned char>& out) {
    out.clear();
    int fd = open(DiskPath(path).c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    out.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    while (got < out.size()) {
        ssize_t n = read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    close(fd);
    return true;
}

bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size) {
    std::string target = DiskPath(path);
    std::string temp = target + ".tmp" + std::to_string(getpid());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < size) {
        ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) { ok = false; break; }
        done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
}

std::vector<FolderItem> PlatformListCurrentDirectory() { return PlatformListFolder("."); }

std::vector<FolderItem> PlatformListFolder(const char* path) {
    std::vector<FolderItem> items;
    std::string folder = DiskPath(path);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return items;
    while (dirent* entry = readdir(dir)) {
        struct stat info;
        std::string item = folder + "/" + entry->d_name;
        bool isDirectory = stat(item.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        items.push_back({entry->d_name, isDirectory});
    }
    closedir(dir);
    return items;
}

bool PlatformCreateFolder(const char* name) { return mkdir(DiskPath(name).c_str(), 0755) == 0; }

bool PlatformNameExists(const char* name) {
    struct stat info;
    return stat(DiskPath(name).c_str(), &info) == 0;
}

