// Files on a POSIX system, for the native build of the tool and the tests.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>

#include "platform/files.h"

const bool kPathsInCp1251 = false;

// Dictionary paths use '\'; the disk here uses '/'.
static std::string DiskPath(const char* path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

static FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.size = static_cast<unsigned long long>(info.st_size);
    stamp.written = static_cast<unsigned long long>(info.st_mtim.tv_sec) * 1000000000ull +
                    static_cast<unsigned long long>(info.st_mtim.tv_nsec);
    stamp.identity = static_cast<unsigned long long>(info.st_ino);
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.changed = static_cast<unsigned long long>(info.st_ctim.tv_sec) * 1000000000ull +
                    static_cast<unsigned long long>(info.st_ctim.tv_nsec);
    struct timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) == 0) {
        const long long last = std::max<long long>(info.st_mtim.tv_sec, info.st_ctim.tv_sec);
        stamp.settled = last + static_cast<long long>(kSettledSeconds) < static_cast<long long>(now.tv_sec);
    }
    return stamp;
}

bool PlatformFileStamp(const char* path, FileStamp& stamp) {
    struct stat info;
    if (stat(DiskPath(path).c_str(), &info) != 0) return false;
    stamp = StampOf(info);
    return true;
}

static FileReadOutcome ReadOpenFile(int fd, const std::function<unsigned char*(size_t)>& place, FileStamp* stamp) {
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return FileReadOutcome::Unreadable;
    if (stamp) *stamp = StampOf(info);
    if (static_cast<unsigned long long>(info.st_size) > kMaxReadableFileSize) return FileReadOutcome::Unreadable;
    const size_t size = static_cast<size_t>(info.st_size);
    unsigned char* bytes = place(size);
    if (!bytes && size > 0) return FileReadOutcome::Unreadable;
    size_t got = 0;
    while (got < size) {
        ssize_t n = read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return FileReadOutcome::Unreadable;  // a read error, or cut short under us
        got += static_cast<size_t>(n);
    }
    return FileReadOutcome::Read;
}

FileReadOutcome PlatformReadWholeFileInto(const char* path, const std::function<unsigned char*(size_t)>& place,
                                          FileStamp* stamp) {
    int fd = open(DiskPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileReadOutcome::Absent : FileReadOutcome::Unreadable;
    FileReadOutcome outcome = ReadOpenFile(fd, place, stamp);
    close(fd);
    return outcome;
}

// Mapped letters stay readable whatever another program does to their
// files: one that cuts a mapped file short in place would otherwise end the
// process with SIGBUS at the next read of a page beyond the new end. The
// handler puts a page of zeros in its place, so the letter reads as a file
// cut short there (its walks end at the NULs), as a read would have found
// it. The mappings are kept in fixed slots the handler can read.
namespace {
constexpr int kMappingSlots = 256;
std::atomic<uintptr_t> MappingBegin[kMappingSlots];
std::atomic<uintptr_t> MappingEnd[kMappingSlots];

void OnBusError(int signal, siginfo_t* info, void*) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (int slot = 0; slot < kMappingSlots; ++slot) {
        if (at < MappingBegin[slot].load() || at >= MappingEnd[slot].load()) continue;
        const uintptr_t page = at & ~static_cast<uintptr_t>(sysconf(_SC_PAGESIZE) - 1);
        if (mmap(reinterpret_cast<void*>(page), static_cast<size_t>(sysconf(_SC_PAGESIZE)), PROT_READ,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED)
            return;
        break;
    }
    // Not a mapping of ours: the fault ends the process as it would have.
    ::signal(signal, SIG_DFL);
}

bool InstallBusErrorHandler() {
    struct sigaction action = {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGBUS, &action, nullptr) == 0;
}

bool RegisterMapping(uintptr_t begin, uintptr_t end) {
    static const bool installed = InstallBusErrorHandler();
    if (!installed) return false;
    for (int slot = 0; slot < kMappingSlots; ++slot) {
        uintptr_t free = 0;
        if (MappingBegin[slot].load() != 0 || !MappingEnd[slot].compare_exchange_strong(free, end)) continue;
        MappingBegin[slot].store(begin);
        return true;
    }
    return false;
}

void UnregisterMapping(uintptr_t begin) {
    for (int slot = 0; slot < kMappingSlots; ++slot) {
        if (MappingBegin[slot].load() != begin) continue;
        MappingBegin[slot].store(0);
        MappingEnd[slot].store(0);
        return;
    }
}

// The file's pages and one page of zeros after them: whatever happens to
// the file, every string read from the mapping ends within it.
size_t MappedSpan(size_t size) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page + page;
}
}  // namespace

bool PlatformMapFileForReading(const char* path, unsigned char*& data, size_t& size, FileStamp& stamp) {
    int fd = open(DiskPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 ||
        static_cast<unsigned long long>(info.st_size) > kMaxReadableFileSize) {
        close(fd);
        return false;
    }
    const size_t fileSize = static_cast<size_t>(info.st_size);
    const size_t span = MappedSpan(fileSize);
    // Zeros first, for the whole span, then the file over its start. The
    // system fills the rest of the file's last page with zeros, so the NUL
    // after the bytes is there whether or not they fill that page.
    void* room = mmap(nullptr, span, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED) {
        close(fd);
        return false;
    }
    const uintptr_t begin = reinterpret_cast<uintptr_t>(room);
    if (!RegisterMapping(begin, begin + span)) {
        munmap(room, span);
        close(fd);
        return false;
    }
    // Read-only, so that the pages are the page cache's, not copies. They
    // come in as they are read: a search through a kept index reads a few.
    void* file = mmap(room, fileSize, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0);
    close(fd);
    if (file == MAP_FAILED) {
        PlatformUnmapFile(static_cast<unsigned char*>(room), fileSize);
        return false;
    }
    data = static_cast<unsigned char*>(room);
    size = fileSize;
    stamp = StampOf(info);
    return true;
}

void PlatformReadAheadMapping(const unsigned char* data, size_t size) {
#ifdef MADV_POPULATE_READ
    // Fails on a system without it, or for pages a writer cut off: those
    // come in as they are read, as they would have.
    if (data && size) madvise(const_cast<unsigned char*>(data), size, MADV_POPULATE_READ);
#endif
}

void PlatformUnmapFile(unsigned char* data, size_t size) {
    if (!data) return;
    UnregisterMapping(reinterpret_cast<uintptr_t>(data));
    munmap(data, MappedSpan(size));
}

bool PlatformReadFile(const char* path, std::vector<unsigned char>& out) {
    return PlatformReadWholeFile(path, out) == FileReadOutcome::Read;
}

static std::string UniqueTempName(const std::string& target) {
    static std::atomic<unsigned> count{0};
    return target + ".tmp" + std::to_string(getpid()) + "." + std::to_string(++count);
}

static bool WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes `target` whole through a temporary file beside it and a rename;
// `durable` waits for the disk before the rename, and `mayReplace` is
// asked last. On any failure the old file stays and the temporary goes.
template <class MayReplace>
static bool WriteThroughTemp(const std::string& target, const void* data, size_t size, mode_t mode, bool durable,
                             MayReplace mayReplace) {
    std::string temp = UniqueTempName(target);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size);
    if (ok && durable && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && !mayReplace()) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
}

bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size) {
    return WriteThroughTemp(DiskPath(path), data, size, 0644, true, [path] { return !PlatformIsMarkedReadOnly(path); });
}

bool PlatformDeleteFile(const char* path) { return unlink(DiskPath(path).c_str()) == 0; }

std::string PlatformIndexCacheFolder() {
    // Only a full path: the tool changes its current folder to the
    // dictionaries' before it reads anything.
    if (const char* chosen = getenv("DICTIONARY_INDEX_CACHE")) return *chosen == '/' ? std::string(chosen) : std::string();
    if (const char* cache = getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return std::string(cache) + "/dictionary/index";
    if (const char* home = getenv("HOME"); home && *home == '/') return std::string(home) + "/.cache/dictionary/index";
    return std::string();
}

std::string PlatformAbsolutePath(const char* path) {
    std::string disk = DiskPath(path);
    if (!disk.empty() && disk[0] == '/') return disk;
    char here[4096];
    if (!getcwd(here, sizeof here)) return std::string();
    return std::string(here) + "/" + disk;
}

// Creates the folders of `path` that are missing, for this user only.
static bool CreateFoldersOf(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool PlatformWriteCacheFile(const char* path, const void* data, size_t size) {
    std::string target = DiskPath(path);
    return CreateFoldersOf(target) && WriteThroughTemp(target, data, size, 0600, false, [] { return true; });
}

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

std::vector<UnnamableFolder> PlatformUnnamableFolders(const char*, const char*) { return {}; }

bool PlatformCreateFolder(const char* name) { return mkdir(DiskPath(name).c_str(), 0755) == 0; }

bool PlatformNameExists(const char* name) {
    struct stat info;
    return stat(DiskPath(name).c_str(), &info) == 0;
}

FileLockOutcome PlatformLockFile(const char* path, int waitMilliseconds, PlatformLockHandle* lock) {
    std::string disk = DiskPath(path);
    int fd = open(disk.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // flock needs no write access: a lock file this user may only read still serves.
    if (fd < 0 && errno == EACCES) fd = open(disk.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileLockOutcome::Failed;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            *lock = fd;
            return FileLockOutcome::Held;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            close(fd);
            return FileLockOutcome::Busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    close(fd);
    return FileLockOutcome::Failed;
}

void PlatformUnlockFile(PlatformLockHandle lock) { close(static_cast<int>(lock)); }

bool PlatformIsFolder(const char* path) {
    struct stat info;
    return stat(DiskPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformRemoveFolder(const char* path) { return rmdir(DiskPath(path).c_str()) == 0; }

// No write permission for anyone, or none for this user: replacing such a
// file by a rename would drop the mark.
bool PlatformIsMarkedReadOnly(const char* path) {
    std::string disk = DiskPath(path);
    struct stat info;
    if (stat(disk.c_str(), &info) != 0) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return access(disk.c_str(), W_OK) != 0 && errno == EACCES;
}

// A rename would replace a read-only file and drop its mark.
bool PlatformReplaceFile(const char* from, const char* to) {
    return !PlatformIsMarkedReadOnly(to) && rename(DiskPath(from).c_str(), DiskPath(to).c_str()) == 0;
}

bool PlatformMoveToNewName(const char* from, const char* to) {
    std::string source = DiskPath(from), target = DiskPath(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace move: a plain move, which would
    // also replace an empty folder, so only where the name is free.
    struct stat info;
    if (lstat(target.c_str(), &info) == 0) return false;
    return rename(source.c_str(), target.c_str()) == 0;
}

PlatformFileReader::PlatformFileReader(const char* path) {
    int fd = open(DiskPath(path).c_str(), O_RDONLY);
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
