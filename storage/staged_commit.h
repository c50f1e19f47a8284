// Several files of one dictionary folder replaced as one change. Every new
// file is first written whole into the folder's staging area; then a journal
// naming them all is written; only then are they moved into place, one by
// one, and the journal removed. A change that a killed writer left before
// its journal was written is undone; one left after it is finished. Each
// file is, at every moment, the old version or the new one.
//
// Writers of the folder hold its write lock (storage/dictionary_lock.h)
// while they stage, commit and finish.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a file held when a change was based on it.
struct FileVersion {
    bool exists = false;
    uint64_t size = 0;
    uint64_t hash = 0;   // of the bytes
    bool operator==(const FileVersion& other) const {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
    bool operator!=(const FileVersion& other) const { return !(*this == other); }
};
FileVersion VersionOfBytes(const void* data, size_t size);
// Reads the file. One that cannot be read has a version of its own, equal
// to none that was read.
FileVersion VersionOfFile(const char* path);
// A version as text, "size:hash" ("-": no file), as the journal and the
// installer's record write it; and back (false for other text).
std::string FileVersionText(const FileVersion& version);
bool ParseFileVersionText(const std::string& text, FileVersion& version);

class StagedCommit {
public:
    explicit StagedCommit(std::string folder);
    // Removes whatever was staged and not committed.
    ~StagedCommit();
    StagedCommit(const StagedCommit&) = delete;
    StagedCommit& operator=(const StagedCommit&) = delete;

    // Writes `bytes` as the next content of the folder's file `name` (a bare
    // file name), which is now `basedOn`. Files are moved into place in the
    // order they were staged. False when it cannot be written.
    bool Stage(const std::string& name, const std::string& bytes, const FileVersion& basedOn);
    // Moves every staged file into place. False when it did not: the files
    // in ChangedMeanwhile() no longer hold the version the change was based
    // on, or ReadOnly() ones are marked read-only, or the journal cannot be
    // written (in each case nothing was changed); or a move failed
    // (MovedBeforeFailure() files were moved; the journal stays, so that
    // FinishInterruptedCommit completes the change).
    bool Commit();
    size_t Staged() const { return staged_.size(); }
    const std::vector<std::string>& ChangedMeanwhile() const { return changedMeanwhile_; }
    const std::vector<std::string>& ReadOnly() const { return readOnly_; }
    size_t MovedBeforeFailure() const { return moved_; }

private:
    struct Entry {
        std::string name;
        FileVersion basedOn;
        FileVersion next;
    };
    std::string folder_;
    std::string staging_;
    std::vector<Entry> staged_;
    std::vector<std::string> changedMeanwhile_;
    std::vector<std::string> readOnly_;
    size_t moved_ = 0;
    bool committed_ = false;
    bool created_ = false;
};

// What FinishInterruptedCommit found and did.
struct CommitRecovery {
    enum Outcome { NothingLeft, Finished, Undone, CannotTidy } outcome = NothingLeft;
    size_t moved = 0;                        // files moved into place now
    std::vector<std::string> changedMeanwhile;   // not replaced: changed since the change was staged
};

// Finishes the change a killed writer left in `folder` (its journal was
// complete) or undoes it (it was not), and removes the staging area. A file
// that no longer holds the version the change was based on is left as it
// is. Call it with the folder's write lock held, before reading the folder
// for a change of one's own.
CommitRecovery FinishInterruptedCommit(const char* folder);
// True when `folder` holds a staging area (a change in progress or left).
bool HasStagingArea(const char* folder);
// Removes the files of `folder` (its lock file last), then the folder;
// false when something stays.
bool RemoveFolderAndItsFiles(const std::string& folder);
