#include "storage/staged_commit.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/files.h"
#include "storage/dictionary_format.h"

FileVersion VersionOfBytes(const void* data, size_t size) {
    // FNV-1a: enough to tell one version of a file from another.
    uint64_t hash = 14695981039346656037ull;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    FileVersion version;
    version.exists = true;
    version.size = size;
    version.hash = hash;
    return version;
}

FileVersion VersionOfFile(const char* path) {
    std::vector<unsigned char> bytes;
    switch (PlatformReadWholeFile(path, bytes)) {
    case FileReadOutcome::Read: return VersionOfBytes(bytes.data(), bytes.size());
    case FileReadOutcome::Absent: return FileVersion{};
    case FileReadOutcome::Unreadable: break;
    }
    // Unlike any version that was read: no change is based on it.
    FileVersion unknown;
    unknown.exists = true;
    unknown.size = UINT64_MAX;
    return unknown;
}

static std::string StagingOf(const std::string& folder) { return PathInFolder(folder, kStagingFolderName); }

std::string FileVersionText(const FileVersion& version) {
    if (!version.exists) return "-";
    char text[48];
    std::snprintf(text, sizeof text, "%" PRIu64 ":%016" PRIx64, version.size, version.hash);
    return text;
}

bool ParseFileVersionText(const std::string& text, FileVersion& version) {
    version = FileVersion{};
    if (text == "-") return true;
    uint64_t size = 0, hash = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%" SCNu64 ":%" SCNx64 "%n", &size, &hash, &used) != 2 ||
        static_cast<size_t>(used) != text.size())
        return false;
    version.exists = true;
    version.size = size;
    version.hash = hash;
    return true;
}

// A journal names files of the folder itself, nothing elsewhere.
static bool IsBareFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.find_first_of("\\/:") == std::string::npos;
}

bool RemoveFolderAndItsFiles(const std::string& folder) {
    bool ok = true, locked = false;
    for (const FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (item.isDirectory) continue;
        if (item.name == kWriterLockName) locked = true;
        else ok = PlatformDeleteFile(PathInFolder(folder, item.name).c_str()) && ok;
    }
    // The lock file last: a removal cut short leaves a folder that still
    // shows it was a writer's, not an empty one a writer may have just made.
    if (locked) ok = PlatformDeleteFile(PathInFolder(folder, kWriterLockName).c_str()) && ok;
    return PlatformRemoveFolder(folder.c_str()) && ok;
}

StagedCommit::StagedCommit(std::string folder) : folder_(std::move(folder)), staging_(StagingOf(folder_)) {}

StagedCommit::~StagedCommit() {
    if (created_ && !committed_) RemoveFolderAndItsFiles(staging_);
}

bool StagedCommit::Stage(const std::string& name, const std::string& bytes, const FileVersion& basedOn) {
    if (committed_ || !IsBareFileName(name)) return false;
    if (!created_) {
        // A staging area of another change is finished or undone first
        // (FinishInterruptedCommit); it is never mixed with this one.
        if (!PlatformCreateFolder(staging_.c_str())) return false;
        created_ = true;
    }
    if (!PlatformWriteFileAtomic(PathInFolder(staging_, name).c_str(), bytes.data(), bytes.size())) return false;
    staged_.push_back({name, basedOn, VersionOfBytes(bytes.data(), bytes.size())});
    return true;
}

bool StagedCommit::Commit() {
    if (committed_) return true;
    if (staged_.empty()) {
        committed_ = true;
        return true;
    }
    for (const Entry& entry : staged_) {
        std::string target = PathInFolder(folder_, entry.name);
        if (VersionOfFile(target.c_str()) != entry.basedOn) changedMeanwhile_.push_back(entry.name);
        if (PlatformIsMarkedReadOnly(target.c_str())) readOnly_.push_back(entry.name);
    }
    if (!changedMeanwhile_.empty() || !readOnly_.empty()) return false;

    std::string journal;
    for (const Entry& entry : staged_)
        journal += entry.name + "\t" + FileVersionText(entry.basedOn) + "\t" + FileVersionText(entry.next) + "\n";
    if (!PlatformWriteFileAtomic(PathInFolder(staging_, kJournalName).c_str(), journal.data(), journal.size()))
        return false;
    // From here on the change is decided: a failed move leaves the journal,
    // and whoever finds it completes the change.
    committed_ = true;
    for (const Entry& entry : staged_) {
        if (!PlatformReplaceFile(PathInFolder(staging_, entry.name).c_str(), PathInFolder(folder_, entry.name).c_str()))
            return false;
        ++moved_;
    }
    PlatformDeleteFile(PathInFolder(staging_, kJournalName).c_str());
    RemoveFolderAndItsFiles(staging_);
    return true;
}

bool HasStagingArea(const char* folder) { return PlatformNameExists(StagingOf(folder).c_str()); }

CommitRecovery FinishInterruptedCommit(const char* folder) {
    CommitRecovery recovery;
    std::string staging = StagingOf(folder);
    if (!PlatformNameExists(staging.c_str())) return recovery;
    std::vector<unsigned char> journal;
    const FileReadOutcome read = PlatformReadWholeFile(PathInFolder(staging, kJournalName).c_str(), journal);
    // A journal that is there but cannot be read may stand for a change half
    // moved into place: undoing it would leave the dictionary half new. It
    // stays as it is, for a later try.
    if (read == FileReadOutcome::Unreadable) {
        recovery.outcome = CommitRecovery::CannotTidy;
        return recovery;
    }
    recovery.outcome = CommitRecovery::Undone;
    if (read == FileReadOutcome::Read) {
        recovery.outcome = CommitRecovery::Finished;
        std::string text(journal.begin(), journal.end());
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            at = end + 1;
            size_t tab = line.find('\t'), second = line.find('\t', tab + 1);
            FileVersion basedOn, next;
            if (tab == std::string::npos || second == std::string::npos ||
                !ParseFileVersionText(line.substr(tab + 1, second - tab - 1), basedOn) ||
                !ParseFileVersionText(line.substr(second + 1), next))
                continue;
            std::string name = line.substr(0, tab);
            std::string staged = PathInFolder(staging, name);
            if (!IsBareFileName(name) || !PlatformNameExists(staged.c_str())) continue;   // moved already
            std::string target = PathInFolder(folder, name);
            if (VersionOfFile(target.c_str()) != basedOn || VersionOfFile(staged.c_str()) != next) {
                // Another writer changed the file since: its change stays.
                recovery.changedMeanwhile.push_back(name);
                continue;
            }
            if (PlatformReplaceFile(staged.c_str(), target.c_str())) ++recovery.moved;
            else recovery.outcome = CommitRecovery::CannotTidy;
        }
    }
    if (recovery.outcome != CommitRecovery::CannotTidy && !RemoveFolderAndItsFiles(staging))
        recovery.outcome = CommitRecovery::CannotTidy;
    return recovery;
}
