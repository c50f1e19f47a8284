// An upgrade never writes over the user's work: every dictionary file is
// compared with the version the installer's record says it left there.
#include "maintenance/installation.h"

#include <map>
#include <memory>
#include <set>

#include "maintenance/check_leftovers.h"
#include "maintenance/install_record.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/staged_commit.h"

namespace {

// The folder of the word-form tables.
const char kFormsFolder[] = "forms";

// "A\B\c.dat" -> "A\B"; "" for a file of the program folder itself.
std::string ParentOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// "A\B\c.dat" -> "A"; "" for a file of the program folder itself.
std::string TopFolderOf(const std::string& path) {
    size_t slash = path.find('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The programs, the other files of the program folder itself and the
// word-form tables belong to the release: a new one always replaces them.
bool BelongsToRelease(const std::string& path) {
    return ParentOf(path).empty() || TopFolderOf(path) == kFormsFolder;
}

// The files of the program folder and of the forms folder themselves, not
// of a dictionary or table: an uninstall removes them whatever they hold.
bool IsFolderFile(const std::string& path) {
    std::string parent = ParentOf(path);
    return parent.empty() || parent == kFormsFolder;
}

bool IsFolderItself(const FolderItem& item) { return item.name == "." || item.name == ".."; }

// The files under `folder`, by their paths from it.
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    for (const FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (IsFolderItself(item)) continue;
        std::string path = prefix.empty() ? item.name : PathInFolder(prefix, item.name);
        if (item.isDirectory) ListFiles(PathInFolder(folder, item.name), path, out);
        else out.push_back(path);
    }
}

// Makes the folders that `path` lies in, as far as they are missing.
void MakeFoldersFor(const std::string& path) {
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        if (!PlatformIsFolder(path.substr(0, at).c_str())) PlatformCreateFolder(path.substr(0, at).c_str());
}

// Finishes or undoes what a killed writer left in `folder`, as check --fix
// does, so that its files are compared as that writer meant them to be.
// The caller holds the folder's write lock.
void FinishLeftovers(const std::string& folder, std::vector<std::string>& lines) {
    CheckReport report;
    FindLeftovers(folder, report);
    if (!report.problems.empty()) RemoveLeftovers(folder, report.leftovers, lines);
}

// The release unpacked in the staging folder: each file with its version.
struct Release {
    std::string staging;
    std::map<std::string, FileVersion> files;
    std::string StagedPath(const std::string& path) const { return PathInFolder(staging, path); }
};

// The dictionary folders of the release and of the record.
std::set<std::string> DictionaryFolders(const Release& release, const InstallRecord& record) {
    std::set<std::string> folders;
    for (const auto& file : release.files)
        if (!BelongsToRelease(file.first)) folders.insert(ParentOf(file.first));
    for (const auto& file : record.files)
        if (!BelongsToRelease(file.first)) folders.insert(ParentOf(file.first));
    return folders;
}

// The write locks of the dictionaries, held until the installation ends.
class FolderLocks {
public:
    // False, with a line, when another writer keeps the folder busy. A
    // folder that does not exist yet needs none.
    bool Take(const std::string& folder, std::vector<std::string>& lines) {
        if (!PlatformIsFolder(folder.c_str())) return true;
        held_.push_back(std::make_unique<DictionaryWriteLock>(folder.c_str()));
        if (!held_.back()->Busy()) return true;
        lines.push_back(folder + ": another program is changing it; try again when it is done");
        return false;
    }

private:
    std::vector<std::unique_ptr<DictionaryWriteLock>> held_;
};

// One dictionary: the files to replace go in as one change, so a reader
// never meets half a release, and a kill leaves a change the next writer
// finishes. A file the release no longer has goes, when still as installed.
bool InstallDictionary(const std::string& folder, const Release& release, const InstallRecord& old,
                       InstallRecord& installed, std::vector<std::string>& lines) {
    std::vector<std::string> paths;
    for (const auto& file : release.files)
        if (ParentOf(file.first) == folder) paths.push_back(file.first);
    bool wasInstalled = false;
    for (const auto& file : old.files) wasInstalled = wasInstalled || ParentOf(file.first) == folder;

    if (!PlatformIsFolder(folder.c_str())) {
        if (wasInstalled) {
            lines.push_back(folder + ": removed since it was installed, so not put back");
            return true;
        }
        // A new dictionary appears whole under its name.
        MakeFoldersFor(folder);
        if (!PlatformMoveToNewName(release.StagedPath(folder).c_str(), folder.c_str())) {
            lines.push_back(folder + ": cannot be put in place");
            return false;
        }
        for (const std::string& path : paths) installed.Add(path, release.files.at(path));
        lines.push_back(folder + ": installed");
        return true;
    }

    StagedCommit change(folder);
    size_t replaced = 0;
    for (const std::string& path : paths) {
        FileVersion now = VersionOfFile(path.c_str());
        const FileVersion& next = release.files.at(path);
        if (now.exists && !old.AsInstalled(path, now)) {
            lines.push_back(path + ": kept, " +
                            (old.Holds(path) ? "changed since it was installed" : "not put there by the installer"));
            continue;
        }
        if (!now.exists && old.Holds(path)) {
            lines.push_back(path + ": kept deleted");
            continue;
        }
        if (PlatformIsMarkedReadOnly(path.c_str())) {
            lines.push_back(path + ": kept, marked read-only");
            continue;
        }
        if (now != next) {
            std::vector<unsigned char> bytes;
            if (!PlatformReadFile(release.StagedPath(path).c_str(), bytes) ||
                !change.Stage(NameOf(path), std::string(bytes.begin(), bytes.end()), now)) {
                lines.push_back(path + ": the new version cannot be made ready");
                return false;
            }
            ++replaced;
        }
        installed.Add(path, next);
    }
    std::vector<std::string> dropped;
    for (const auto& file : old.files) {
        if (ParentOf(file.first) != folder || release.files.count(file.first)) continue;
        FileVersion now = VersionOfFile(file.first.c_str());
        if (old.AsInstalled(file.first, now)) dropped.push_back(file.first);
        else if (now.exists) lines.push_back(file.first + ": kept, changed since it was installed");
    }
    if (!change.Commit()) {
        lines.push_back(folder + ": cannot be changed");
        return false;
    }
    if (replaced) lines.push_back(folder + ": " + std::to_string(replaced) + " files replaced by the new release");
    for (const std::string& path : dropped) {
        if (PlatformDeleteFile(path.c_str())) lines.push_back(path + ": removed, the new release has none");
        else installed.Add(path, VersionOfFile(path.c_str()));
    }
    return true;
}

// A file of the release alone: moved over the old one.
bool InstallReleaseFile(const std::string& path, const Release& release, InstallRecord& installed,
                        std::vector<std::string>& lines) {
    MakeFoldersFor(path);
    if (!PlatformReplaceFile(release.StagedPath(path).c_str(), path.c_str())) {
        lines.push_back(path + ": cannot be replaced");
        return false;
    }
    installed.Add(path, release.files.at(path));
    return true;
}

// The folder holds exactly the files installed there, each as installed
// (and the lock file writers leave).
bool FolderAsInstalled(const std::string& folder, const std::vector<std::string>& paths, const InstallRecord& record) {
    std::set<std::string> names;
    for (const std::string& path : paths) {
        if (!record.AsInstalled(path, VersionOfFile(path.c_str()))) return false;
        names.insert(NameOf(path));
    }
    for (const FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (IsFolderItself(item)) continue;
        if (item.isDirectory || (!names.count(item.name) && item.name != kWriterLockName)) return false;
    }
    return true;
}

// Removes a dictionary or table folder when it is exactly as installed.
void RemoveFolderAsInstalled(const std::string& folder, const std::vector<std::string>& paths,
                             const InstallRecord& record, InstallationOutcome& outcome) {
    if (!PlatformIsFolder(folder.c_str())) return;
    bool asInstalled;
    {
        DictionaryWriteLock lock(folder.c_str());
        if (lock.Busy()) {
            outcome.lines.push_back(folder + ": kept, another program is changing it");
            outcome.done = false;
            return;
        }
        FinishLeftovers(folder, outcome.lines);
        asInstalled = FolderAsInstalled(folder, paths, record);
        if (asInstalled)
            for (const std::string& path : paths) PlatformDeleteFile(path.c_str());
    }
    if (!asInstalled) {
        outcome.lines.push_back(folder + ": kept, changed since it was installed");
        return;
    }
    PlatformDeleteFile(PathInFolder(folder, kWriterLockName).c_str());
    if (PlatformRemoveFolder(folder.c_str())) return;
    outcome.lines.push_back(folder + ": cannot be removed");
    outcome.done = false;
}

}  // namespace

InstallationOutcome InstallRelease(const std::string& staging) {
    InstallationOutcome outcome;
    Release release{staging, {}};
    std::vector<std::string> paths;
    ListFiles(staging, "", paths);
    for (const std::string& path : paths) release.files[path] = VersionOfFile(release.StagedPath(path).c_str());
    if (release.files.empty()) {
        outcome.lines.push_back(staging + ": holds nothing to install");
        outcome.done = false;
        return outcome;
    }
    InstallRecord old = ReadInstallRecord();
    std::set<std::string> folders = DictionaryFolders(release, old);

    FolderLocks locks;
    for (const std::string& folder : folders) {
        if (!locks.Take(folder, outcome.lines)) {
            outcome.done = false;
            return outcome;
        }
    }
    for (const std::string& folder : folders)
        if (PlatformIsFolder(folder.c_str())) FinishLeftovers(folder, outcome.lines);

    // Until the end both versions of every file count as installed: an
    // installation cut short and run again takes neither for the user's.
    InstallRecord pending = old;
    for (const auto& file : release.files) pending.Add(file.first, file.second);
    if (!WriteInstallRecord(pending)) {
        outcome.lines.push_back(std::string(kInstallRecordName) + ": cannot be written");
        outcome.done = false;
        return outcome;
    }

    InstallRecord installed;
    for (const std::string& folder : folders)
        outcome.done = InstallDictionary(folder, release, old, installed, outcome.lines) && outcome.done;
    for (const auto& file : release.files)
        if (BelongsToRelease(file.first))
            outcome.done = InstallReleaseFile(file.first, release, installed, outcome.lines) && outcome.done;
    for (const auto& file : old.files) {
        if (!BelongsToRelease(file.first) || release.files.count(file.first)) continue;
        if (!PlatformDeleteFile(file.first.c_str()) && PlatformNameExists(file.first.c_str()))
            installed.files[file.first] = file.second;
    }
    if (outcome.done && !WriteInstallRecord(installed)) {
        outcome.lines.push_back(std::string(kInstallRecordName) + ": cannot be written");
        outcome.done = false;
    }
    return outcome;
}

InstallationOutcome RemoveInstalledFiles() {
    InstallationOutcome outcome;
    InstallRecord record = ReadInstallRecord();
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const auto& file : record.files) {
        if (IsFolderFile(file.first)) byFolder[""].push_back(file.first);
        else byFolder[ParentOf(file.first)].push_back(file.first);
    }
    for (const auto& folder : byFolder) {
        if (!folder.first.empty()) {
            RemoveFolderAsInstalled(folder.first, folder.second, record, outcome);
            continue;
        }
        for (const std::string& path : folder.second) {
            if (PlatformDeleteFile(path.c_str()) || !PlatformNameExists(path.c_str())) continue;
            outcome.lines.push_back(path + ": cannot be removed");
            outcome.done = false;
        }
    }
    // Empty once its tables went; it stays with the user's.
    if (!PlatformRemoveFolder(kFormsFolder) && PlatformIsFolder(kFormsFolder))
        outcome.lines.push_back(std::string(kFormsFolder) + ": kept, it holds word forms not put there by the installer");
    PlatformDeleteFile(kInstallRecordName);
    for (const FolderItem& item : PlatformListFolder(".")) {
        if (item.isDirectory && !IsFolderItself(item) && !byFolder.count(item.name) && item.name != kFormsFolder)
            outcome.lines.push_back(item.name + ": kept, not put there by the installer");
    }
    return outcome;
}
