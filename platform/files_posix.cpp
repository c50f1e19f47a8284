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
#include <cstring>
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

// ---- Why a file operation failed.

namespace {
thread_local std::string LastFileError;
thread_local WriteFailure LastWriteFailure = WriteFailure::None;

// Notes the system's reason for a failure, in its words and as the kind of
// write failure it is; returns false for the caller.
bool NoteError(int error) {
    LastFileError = std::strerror(error);
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: LastWriteFailure = WriteFailure::DiskFull; break;
    case EROFS: LastWriteFailure = WriteFailure::DiskReadOnly; break;
    case EACCES:
    case EPERM: LastWriteFailure = WriteFailure::FolderNotWritable; break;
    default: LastWriteFailure = WriteFailure::Other; break;
    }
    return false;
}

bool NoteMarkedReadOnly() {
    LastFileError = "the file is marked read-only";
    LastWriteFailure = WriteFailure::FileReadOnly;
    return false;
}

bool NotRegular(mode_t mode) {
    LastFileError = S_ISDIR(mode)                    ? "it is a folder, not a regular file"
                    : S_ISFIFO(mode)                 ? "it is a FIFO, not a regular file"
                    : S_ISSOCK(mode)                 ? "it is a socket, not a regular file"
                    : S_ISCHR(mode) || S_ISBLK(mode) ? "it is a device, not a regular file"
                                                     : "it is not a regular file";
    return false;
}
}  // namespace

std::string PlatformLastFileError() { return LastFileError; }
WriteFailure PlatformLastWriteFailure() { return LastWriteFailure; }

// Opens a regular file for reading, or nothing: a FIFO, a device or a folder
// named like a dictionary file is refused before it is opened (opening a
// FIFO waits for a writer, a device may act on being opened), and opened
// without waiting in case it became one meanwhile. -1 with the reason
// noted; `absent` tells a name that is not there.
static int OpenRegularFile(const std::string& disk, struct stat& info, bool* absent = nullptr) {
    if (absent) *absent = false;
    if (stat(disk.c_str(), &info) != 0) {
        if (absent) *absent = errno == ENOENT || errno == ENOTDIR;
        NoteError(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        NotRegular(info.st_mode);
        return -1;
    }
    int fd = open(disk.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (absent) *absent = errno == ENOENT;
        NoteError(errno);
        return -1;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (S_ISREG(info.st_mode)) NoteError(errno);
        else NotRegular(info.st_mode);
        close(fd);
        return -1;
    }
    // Reads of a regular file wait for the disk as they always do.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

static FileReadOutcome ReadOpenFile(int fd, const struct stat& info, const std::function<unsigned char*(size_t)>& place,
                                    FileStamp* stamp) {
    if (stamp) *stamp = StampOf(info);
    if (static_cast<unsigned long long>(info.st_size) > kMaxReadableFileSize) {
        NoteError(EFBIG);
        return FileReadOutcome::Unreadable;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    unsigned char* bytes = place(size);
    if (!bytes && size > 0) {
        NoteError(ENOMEM);
        return FileReadOutcome::Unreadable;
    }
    size_t got = 0;
    while (got < size) {
        ssize_t n = read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) NoteError(errno);
        if (n == 0) LastFileError = "the file was cut short while it was read";
        if (n <= 0) return FileReadOutcome::Unreadable;
        got += static_cast<size_t>(n);
    }
    return FileReadOutcome::Read;
}

FileReadOutcome PlatformReadWholeFileInto(const char* path, const std::function<unsigned char*(size_t)>& place,
                                          FileStamp* stamp) {
    struct stat info;
    bool absent = false;
    int fd = OpenRegularFile(DiskPath(path), info, &absent);
    if (fd < 0) return absent ? FileReadOutcome::Absent : FileReadOutcome::Unreadable;
    FileReadOutcome outcome = ReadOpenFile(fd, info, place, stamp);
    close(fd);
    return outcome;
}

// ---- Mapped letters.

// Mapped letters stay readable whatever another program does to their
// files: one that cuts a mapped file short in place would otherwise end the
// process with SIGBUS at the next read of a page beyond the new end, and so
// would a read error of the disk. The handler puts a page of zeros in the
// page's place and marks the mapping, whose owner then reads the file
// instead (PlatformMappingFaulted). The mappings are kept in fixed slots
// the handler can read; a slot's begin is set before its end and cleared
// after it, so that the handler never sees an end without its begin.
//
// Putting the page in place takes mmap, which POSIX does not list among the
// calls a signal handler may make. It is safe here: the signal is raised
// synchronously by a read of our own mapping, in our code or in a function
// such as memchr that holds no lock and no state, and mmap itself is one
// system call that takes no lock of the C library; the handler keeps errno
// and learns the page size before it is installed. Every other SIGBUS, a
// fault elsewhere or one sent by another process, goes on to the action
// installed before.
namespace {
constexpr int kMappingSlots = 256;
std::atomic<uintptr_t> MappingBegin[kMappingSlots];
std::atomic<uintptr_t> MappingEnd[kMappingSlots];
std::atomic<bool> MappingFaulted[kMappingSlots];
// Known before the handler is installed: it calls nothing to learn it.
const uintptr_t PageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
struct sigaction PreviousBusAction;

// What would have happened without our handler.
void PassOnBusError(int signal, siginfo_t* info, void* context) {
    const struct sigaction& previous = PreviousBusAction;
    const bool sent = info == nullptr || info->si_code <= 0;
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        if (previous.sa_flags & SA_SIGINFO) previous.sa_sigaction(signal, info, context);
        else previous.sa_handler(signal);
        return;
    }
    // Ignored as before; a fault cannot be ignored, for the read would run
    // again and again.
    if (previous.sa_handler == SIG_IGN && sent) return;
    // The default action: the process ends by the signal. A fault does so
    // when the read runs again; a signal sent is raised again, and arrives
    // once this handler returns.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    if (sent) raise(signal);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    // Raised by the system for a read of an address (si_code), not sent.
    if (info && (info->si_code == BUS_ADRERR || info->si_code == BUS_OBJERR)) {
        const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
        for (int slot = 0; slot < kMappingSlots; ++slot) {
            const uintptr_t begin = MappingBegin[slot].load();
            if (begin == 0 || at < begin || at >= MappingEnd[slot].load()) continue;
            const uintptr_t page = at & ~(PageSize - 1);
            if (mmap(reinterpret_cast<void*>(page), PageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                     0) == MAP_FAILED)
                break;
            MappingFaulted[slot].store(true);
            errno = savedErrno;
            return;
        }
    }
    errno = savedErrno;
    PassOnBusError(signal, info, context);
}

bool InstallBusErrorHandler() {
    struct sigaction action = {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGBUS, &action, &PreviousBusAction) == 0;
}

bool RegisterMapping(uintptr_t begin, uintptr_t end) {
    static const bool installed = InstallBusErrorHandler();
    if (!installed) return false;
    for (int slot = 0; slot < kMappingSlots; ++slot) {
        uintptr_t free = 0;
        if (!MappingBegin[slot].compare_exchange_strong(free, begin)) continue;
        MappingFaulted[slot].store(false);
        MappingEnd[slot].store(end);
        return true;
    }
    return false;
}

int SlotOf(uintptr_t begin) {
    for (int slot = 0; slot < kMappingSlots; ++slot)
        if (begin != 0 && MappingBegin[slot].load() == begin) return slot;
    return -1;
}

void UnregisterMapping(uintptr_t begin) {
    const int slot = SlotOf(begin);
    if (slot < 0) return;
    MappingEnd[slot].store(0);
    MappingBegin[slot].store(0);
}

// The file's pages and one page of zeros after them: whatever happens to
// the file, every string read from the mapping ends within it.
size_t MappedSpan(size_t size) {
    const size_t page = static_cast<size_t>(PageSize);
    return (size + page - 1) / page * page + page;
}
}  // namespace

bool PlatformMapFileForReading(const char* path, unsigned char*& data, size_t& size, FileStamp& stamp) {
    struct stat info;
    int fd = OpenRegularFile(DiskPath(path), info);
    if (fd < 0) return false;
    if (info.st_size <= 0 || static_cast<unsigned long long>(info.st_size) > kMaxReadableFileSize) {
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

bool PlatformReadAheadMapping(const unsigned char* data, size_t size) {
#ifdef MADV_POPULATE_READ
    // A system without it (EINVAL) brings the pages in as they are read.
    // EFAULT: a page would raise SIGBUS if it were read.
    if (data && size && madvise(const_cast<unsigned char*>(data), size, MADV_POPULATE_READ) != 0 &&
        (errno == EFAULT || errno == EIO))
        return NoteError(errno == EFAULT ? EIO : errno);
#endif
    return true;
}

bool PlatformMappingFaulted(const unsigned char* data) {
    const int slot = SlotOf(reinterpret_cast<uintptr_t>(data));
    return slot >= 0 && MappingFaulted[slot].load();
}

void PlatformUnmapFile(unsigned char* data, size_t size) {
    if (!data) return;
    UnregisterMapping(reinterpret_cast<uintptr_t>(data));
    munmap(data, MappedSpan(size));
}

bool PlatformReadFile(const char* path, std::vector<unsigned char>& out) {
    return PlatformReadWholeFile(path, out) == FileReadOutcome::Read;
}


std::string PlatformShownPath(const std::string& path) { return DiskPath(path.c_str()); }

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
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The folder that holds `path`.
static std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename or a new name reaches the disk with its folder: until the folder
// is synced a power cut may bring back what was there before. A file system
// that cannot sync a folder is left to its own pace; the change is made
// either way, so the outcome is not the caller's failure.
static void SyncFolderOf(const std::string& path) {
    int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Writes `target` whole through a temporary file beside it and a rename;
// `durable` waits for the disk before the rename and for the folder after
// it, and `mayReplace` is asked last. On any failure the old file stays and
// the temporary goes, and the reason is noted.
template <class MayReplace>
static bool WriteThroughTemp(const std::string& target, const void* data, size_t size, mode_t mode, bool durable,
                             MayReplace mayReplace) {
    std::string temp = UniqueTempName(target);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return NoteError(errno);
    bool ok = WriteAll(fd, data, size) || NoteError(errno);
    if (ok && durable && fsync(fd) != 0) ok = NoteError(errno);
    if (close(fd) != 0 && ok) ok = NoteError(errno);
    if (ok && !mayReplace()) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = NoteError(errno);
    if (!ok) unlink(temp.c_str());
    if (ok && durable) SyncFolderOf(target);
    return ok;
}

bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size) {
    return WriteThroughTemp(DiskPath(path), data, size, 0644, true, [path] {
        return !PlatformIsMarkedReadOnly(path) || NoteMarkedReadOnly();
    });
}

bool PlatformDeleteFile(const char* path) { return unlink(DiskPath(path).c_str()) == 0 || NoteError(errno); }

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

static long long SecondsSince(const struct timespec& then) {
    struct timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return 0;
    return static_cast<long long>(now.tv_sec) - static_cast<long long>(then.tv_sec);
}

std::vector<FolderItem> PlatformListFolder(const char* path) {
    std::vector<FolderItem> items;
    std::string folder = DiskPath(path);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return items;
    while (dirent* entry = readdir(dir)) {
        struct stat info;
        FolderItem listed{entry->d_name, false};
        // Relative to the open folder: the folder's path is not walked again
        // for each item (a long --root made every listing slower).
        if (fstatat(dirfd(dir), entry->d_name, &info, 0) == 0) {
            listed.isDirectory = S_ISDIR(info.st_mode);
            listed.size = static_cast<unsigned long long>(info.st_size);
            listed.unusedSeconds = SecondsSince(info.st_mtim);
        }
        items.push_back(listed);
    }
    closedir(dir);
    return items;
}

std::vector<UnnamableFolder> PlatformUnnamableFolders(const char*, const char*) { return {}; }

void PlatformMarkFileUsed(const char* path) {
    struct stat info;
    const std::string disk = DiskPath(path);
    if (stat(disk.c_str(), &info) == 0 && SecondsSince(info.st_mtim) > 3600)
        utimensat(AT_FDCWD, disk.c_str(), nullptr, 0);
}

bool PlatformCreateFolder(const char* name) {
    const std::string disk = DiskPath(name);
    if (mkdir(disk.c_str(), 0755) != 0) return NoteError(errno);
    SyncFolderOf(disk);
    return true;
}

bool PlatformNameExists(const char* name) {
    struct stat info;
    return stat(DiskPath(name).c_str(), &info) == 0;
}

FileLockOutcome PlatformLockFile(const char* path, int waitMilliseconds, PlatformLockHandle* lock) {
    std::string disk = DiskPath(path);
    // Without waiting: a FIFO of that name would hold the open for good.
    int fd = open(disk.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
    // flock needs no write access: a lock file this user may only read still serves.
    if (fd < 0 && errno == EACCES) fd = open(disk.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        NoteError(errno);
        return FileLockOutcome::Failed;
    }
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
    NoteError(errno);
    close(fd);
    return FileLockOutcome::Failed;
}

void PlatformUnlockFile(PlatformLockHandle lock) { close(static_cast<int>(lock)); }

bool PlatformIsFolder(const char* path) {
    struct stat info;
    return stat(DiskPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformRemoveFolder(const char* path) { return rmdir(DiskPath(path).c_str()) == 0 || NoteError(errno); }

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
    if (PlatformIsMarkedReadOnly(to)) return NoteMarkedReadOnly();
    const std::string target = DiskPath(to);
    if (rename(DiskPath(from).c_str(), target.c_str()) != 0) return NoteError(errno);
    SyncFolderOf(target);
    return true;
}

bool PlatformMoveToNewName(const char* from, const char* to) {
    std::string source = DiskPath(from), target = DiskPath(to);
    bool moved = renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    if (!moved && errno != EINVAL && errno != ENOSYS) return NoteError(errno);
    // A file system without the no-replace move: a plain move, which would
    // also replace an empty folder, so only where the name is free.
    struct stat info;
    if (!moved && lstat(target.c_str(), &info) == 0) return NoteError(EEXIST);
    if (!moved && rename(source.c_str(), target.c_str()) != 0) return NoteError(errno);
    SyncFolderOf(target);
    return true;
}

PlatformFileReader::PlatformFileReader(const char* path) {
    struct stat info;
    int fd = OpenRegularFile(DiskPath(path), info);
    if (fd < 0) return;
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
            NoteError(errno);
            failed_ = true;
            return 0;
        }
    }
}
