// The files and folders the dictionaries live in. Paths are relative to the
// current directory (the program folder) and use '\' as separator, as the
// dictionary layout writes them; their bytes are code page 1251, as the
// catalogue holds them (Windows takes them as UTF-16, the POSIX system
// as they are). Two implementations: files_win32.cpp and files_posix.cpp
// (the native tool and tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <vector>

// The paths these functions take are code page 1251 (Windows, which is
// given them as UTF-16), or else the system's own bytes (POSIX).
extern const bool kPathsInCp1251;
// A path that begins with this byte is UTF-8 after it, on Windows too: a
// file the user names outside the dictionaries (an import source, an export
// target) in a folder whose name the code page cannot hold. No file name
// holds a control character, so no 1251 path begins with it.
constexpr char kUtf8PathMark = '\x01';

struct FolderItem {
    std::string name;
    bool isDirectory;
    unsigned long long size = 0;     // of a file
    long long unusedSeconds = 0;     // since its last write (or PlatformMarkFileUsed)
};

// Files are read whole into memory; one of 2 GiB or more cannot be held.
constexpr unsigned long long kMaxReadableFileSize = 0x7FFFFFFEull;

enum class FileReadOutcome {
    Read,        // the whole file is in `out`
    Absent,      // there is no file of that name
    Unreadable,  // it is there but could not be opened or read whole (held
                 // open elsewhere, no permission, not a plain file, a read
                 // error, too large, no memory); `out` is empty
};
// Why the last file operation of this thread that failed did so, in the
// system's words ("Read-only file system", "No space left on device",
// "it is a FIFO, not a regular file"); empty when no reason is known. Only a
// regular file is ever opened: a FIFO, a device or a folder named like a
// dictionary file is refused at once, never waited on. UTF-8, as the
// messages of the tool it goes into, whatever the system's code page.
std::string PlatformLastFileError();
// The same as the end of a message: " (reason)", or nothing.
inline std::string PlatformLastFileErrorNote() {
    const std::string reason = PlatformLastFileError();
    return reason.empty() ? std::string() : " (" + reason + ")";
}
// What tells one version of a file from another: its size, the time of its
// last write and its identity (POSIX: device and inode; Windows: its
// creation time), so that a file replaced by another shows a new stamp.
// POSIX adds the time of the last change of the inode, which every write
// moves forward and no program can set back.
struct FileStamp {
    unsigned long long size = 0;
    unsigned long long written = 0;
    unsigned long long identity = 0;
    unsigned long long device = 0;
    unsigned long long changed = 0;
    // The file's last write and change were at least kSettledSeconds before
    // the stamp was taken, so any later change gives it another stamp even
    // on a file system whose clock is coarse. Never set on Windows, whose
    // write time may lag behind writes through open handles.
    bool settled = false;
    bool operator==(const FileStamp& other) const {
        return size == other.size && written == other.written && identity == other.identity &&
               device == other.device && changed == other.changed;
    }
};
constexpr unsigned kSettledSeconds = 2;
// The stamp of the file at `path` now; false when it cannot be had.
bool PlatformFileStamp(const char* path, FileStamp& stamp);
// Opens without sharing and reads the whole file into memory the caller
// provides, so that the bytes are read once into the place that keeps
// them: `place` gets the file's size and returns room for that many bytes
// (null: no memory). Whatever it returned stays the caller's, whatever the
// outcome. `stamp`, when given, receives the stamp of the file read.
FileReadOutcome PlatformReadWholeFileInto(const char* path, const std::function<unsigned char*(size_t size)>& place,
                                          FileStamp* stamp = nullptr);
// The same into a vector.
inline FileReadOutcome PlatformReadWholeFile(const char* path, std::vector<unsigned char>& out) {
    out.clear();
    FileReadOutcome outcome = PlatformReadWholeFileInto(path, [&out](size_t size) -> unsigned char* {
        try {
            out.resize(size);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        return out.data();
    });
    if (outcome != FileReadOutcome::Read) std::vector<unsigned char>().swap(out);
    return outcome;
}
// Maps the file at `path` for reading instead of copying it: its `size`
// bytes and a NUL after them, read-only (a letter's bytes are never changed
// in place; an edit holds new ones). False, with nothing mapped, when
// the file is absent, empty, cannot be mapped, or the system keeps files it
// maps from being replaced (Windows, where other writers must be able to
// replace a letter file at any time): the caller then reads it.
bool PlatformMapFileForReading(const char* path, unsigned char*& data, size_t& size, FileStamp& stamp);
// Brings a whole mapping in at once, for a reader about to walk all of it:
// cheaper than taking its pages one fault at a time. False when a page
// could not be brought in (a read error, or the file was cut short in
// place): the caller then reads the file instead.
bool PlatformReadAheadMapping(const unsigned char* data, size_t size);
// A page of the mapping that begins at `data` could not be read when it was
// touched (a read error, or the file was cut short in place by another
// program): it reads as zeros since, so what was read from the mapping may
// be wrong. The caller drops it and reads the file.
bool PlatformMappingFaulted(const unsigned char* data);
// Gives back a mapping of PlatformMapFileForReading, `size` as it gave it.
void PlatformUnmapFile(unsigned char* data, size_t size);
// The same for callers to whom either failure means "no data": true only
// when the whole file was read.
bool PlatformReadFile(const char* path, std::vector<unsigned char>& out);
// Writes the file whole through a temporary file in the same folder, named
// "<path>.tmp<process>.<count>", and an atomic replace; on any failure the
// old file is left as it was and the temporary file removed. A file marked
// read-only is never replaced. The file reaches the disk before the rename,
// and the rename itself (the folder) after it where the system allows, so
// that a change that was reported survives a power cut; so do the moves,
// replacements and new folders below.
bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size);
// Why the last write of this process that failed did (PlatformWriteFileAtomic,
// PlatformReplaceFile, PlatformCreateFolder, PlatformLockFile), from the
// system's error: what a user can act on.
enum class WriteFailure {
    None,
    DiskFull,            // no room left (or the user's quota is used up)
    FileReadOnly,        // the file is marked read-only
    FolderNotWritable,   // no permission to write in the folder
    DiskReadOnly,        // the disk is mounted or protected read-only
    Other,
};
WriteFailure PlatformLastWriteFailure();
// The reason in words, for a message ("the disk is full"); empty for None
// and Other.
inline const char* WriteFailureText(WriteFailure failure) {
    switch (failure) {
    case WriteFailure::DiskFull: return "the disk is full";
    case WriteFailure::FileReadOnly: return "the file is read-only";
    case WriteFailure::FolderNotWritable: return "the folder cannot be written";
    case WriteFailure::DiskReadOnly: return "the disk is read-only";
    case WriteFailure::None:
    case WriteFailure::Other: break;
    }
    return "";
}
// A path of the dictionary layout ('\' between names) as this system
// writes paths, for messages.
std::string PlatformShownPath(const std::string& path);
bool PlatformDeleteFile(const char* path);
// The folder for data the program may rebuild at any time (the letter
// indexes, storage/letter_index_store.h): DICTIONARY_INDEX_CACHE when set
// (a full path; anything else, "off" say, keeps nothing), else the user's
// cache folder. Empty when nothing may be kept (always on Windows: see
// FileStamp::settled).
std::string PlatformIndexCacheFolder();
// `path` from the root of the disk, for a name that stays the same from
// any current directory.
std::string PlatformAbsolutePath(const char* path);
// Writes a rebuildable file whole through a temporary file and a rename,
// creating its folders (for this user only), without waiting for the disk:
// a reader finds the old file or the new one, and one cut short by a crash
// is caught by the reader's own check.
bool PlatformWriteCacheFile(const char* path, const void* data, size_t size);

// The items of a folder ("." for the current directory), in the order the
// system lists them; empty when it cannot be listed. On Windows a name code
// page 1251 cannot hold is left out.
std::vector<FolderItem> PlatformListFolder(const char* path);
// A folder whose name code page 1251 cannot hold (Windows, where names are
// UTF-16): no path of the program can name it, so the listing leaves it
// out. `name` has kUnheldByte (platform/cp1251.h) for each character the
// code page has not, `unheld` those characters in order.
struct UnnamableFolder {
    std::string name;
    std::u32string unheld;
};
// Such folders of `path` that hold a file named `holding`; none on POSIX,
// where a name is the bytes it is.
std::vector<UnnamableFolder> PlatformUnnamableFolders(const char* path, const char* holding);
// Marks a file as used now (its last write time), so that a tidy-up that
// removes files unused longest first keeps it. Cheap when called often: the
// mark moves at most once an hour.
void PlatformMarkFileUsed(const char* path);
bool PlatformCreateFolder(const char* name);
bool PlatformNameExists(const char* name);
bool PlatformIsFolder(const char* path);
// Removes an empty folder.
bool PlatformRemoveFolder(const char* path);

// A file without write permission (the read-only attribute on Windows):
// the user keeps it as it is, so no change replaces it.
bool PlatformIsMarkedReadOnly(const char* path);
// Moves a file over `to` in one step: `to` is the old file or the new one,
// never neither. Both must be on the same disk; a `to` marked read-only is
// left as it is.
bool PlatformReplaceFile(const char* from, const char* to);
// Moves a file or folder to a name that nothing has yet; false, changing
// nothing, when something already has it.
bool PlatformMoveToNewName(const char* from, const char* to);

// A file read in pieces, for files too large to hold whole.
class PlatformFileReader {
public:
    explicit PlatformFileReader(const char* path);
    ~PlatformFileReader();
    PlatformFileReader(const PlatformFileReader&) = delete;
    PlatformFileReader& operator=(const PlatformFileReader&) = delete;

    bool Opened() const { return handle_ != kClosed; }
    uint64_t Size() const { return size_; }
    // Reads up to `size` bytes at `offset`; the number read, 0 at the end.
    // Sets Failed() when the disk reports an error.
    size_t ReadAt(uint64_t offset, void* buffer, size_t size);
    bool Failed() const { return failed_; }

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t handle_ = kClosed;
    uint64_t size_ = 0;
    bool failed_ = false;
};

// An exclusive lock held through an open file: POSIX flock, on Windows the
// file opened without sharing. The system drops it when the process ends,
// however it ends. The file is created when missing and left in place.
enum class FileLockOutcome { Held, Busy, Failed };
using PlatformLockHandle = long long;
// Tries for up to `waitMilliseconds`: Busy when another holder kept it that
// long, Failed when the file cannot be opened or created at all.
FileLockOutcome PlatformLockFile(const char* path, int waitMilliseconds, PlatformLockHandle* lock);
void PlatformUnlockFile(PlatformLockHandle lock);
