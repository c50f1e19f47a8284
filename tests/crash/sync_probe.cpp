// Preloaded into a tool process by the power-loss test: writes one line per
// successful rename ("rename FOLDER", the folder the name went into) and
// per fsync ("fsync PATH", what was synced) to the file named by
// DICTIONARY_SYNC_LOG, in the order they happen.
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

void Log(const char* what, const char* path) {
    const char* log = getenv("DICTIONARY_SYNC_LOG");
    if (!log) return;
    char line[PATH_MAX + 16];
    int length = snprintf(line, sizeof line, "%s %s\n", what, path);
    int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (write(fd, line, static_cast<size_t>(length)) < 0) {
    }
    close(fd);
}

// The full path of the folder `path` names a file in.
void LogFolderOf(const char* what, const char* path) {
    char folder[PATH_MAX], full[PATH_MAX];
    snprintf(folder, sizeof folder, "%s", path);
    char* slash = strrchr(folder, '/');
    if (slash) *slash = '\0';
    else snprintf(folder, sizeof folder, ".");
    if (realpath(folder, full)) Log(what, full);
}

template <class Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
    static auto real = Real<int (*)(const char*, const char*)>("rename");
    int result = real(from, to);
    if (result == 0) LogFolderOf("rename", to);
    return result;
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    static auto real = Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    int result = real(fromFolder, from, toFolder, to, flags);
    if (result == 0) LogFolderOf("rename", to);
    return result;
}

extern "C" int fsync(int fd) {
    static auto real = Real<int (*)(int)>("fsync");
    int result = real(fd);
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, path, sizeof path - 1);
    if (result == 0 && length > 0) {
        path[length] = '\0';
        Log("fsync", path);
    }
    return result;
}
