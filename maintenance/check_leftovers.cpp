// What writers that were cut short leave behind: temp files of single
// writes, the staging area of a change of several files, and the hidden
// folder where a new dictionary was being made. A writer that still runs
// holds its write lock; what a writer that is gone left is a problem that
// --fix tidies: a change is finished when it was complete, else undone.
#include "maintenance/check_leftovers.h"

#include "maintenance/check_messages.h"
#include "maintenance/codepage.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/staged_commit.h"

void FindLeftovers(const std::string& folder, CheckReport& report) {
    Leftovers& found = report.leftovers;
    for (const FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (item.isDirectory || !IsWriterTempFileName(item.name.c_str())) continue;
        found.tempFiles.push_back(item.name);
        report.problems.push_back(CheckFile(folder, item.name) + ": a temp file (" + std::to_string(item.size) +
                                  " bytes) left by a write that was cut short");
    }
    if (HasStagingArea(folder.c_str())) {
        found.stagedChange = true;
        std::string journal = PathInFolder(PathInFolder(folder, kStagingFolderName), kJournalName);
        report.problems.push_back(CheckFile(folder, kStagingFolderName) + ": a change of several files was cut short " +
                                  (PlatformNameExists(journal.c_str()) ? "after it was decided (--fix finishes it)"
                                                                       : "before it was decided (--fix undoes it)"));
    }
    for (const AbandonedImport& import : FindAbandonedImports()) {
        found.importFolders.push_back(import);
        const bool named = import.complete && !PlatformNameExists(import.target.c_str());
        report.problems.push_back(Cp1251ToUtf8(import.folder) + ": an import into " + Cp1251ToUtf8(import.target) +
                                  " was cut short " +
                                  (named            ? "when complete (--fix gives it its name)"
                                   : import.complete ? "when complete, and " + Cp1251ToUtf8(import.target) +
                                                           " exists now (--fix removes it)"
                                   : import.empty ? "before it wrote anything (--fix removes it)"
                                                  : "half-way (--fix removes it)"));
    }
}

bool RemoveLeftovers(const std::string& folder, const Leftovers& leftovers, std::vector<std::string>& notes) {
    bool ok = true;
    if (leftovers.stagedChange) {
        CommitRecovery recovery = FinishInterruptedCommit(folder.c_str());
        std::string shown = CheckFile(folder, kStagingFolderName) + ": ";
        switch (recovery.outcome) {
        case CommitRecovery::Finished:
            notes.push_back(shown + "finished the change (" + std::to_string(recovery.moved) +
                            " files moved into place)");
            break;
        case CommitRecovery::Undone: notes.push_back(shown + "undid the change"); break;
        case CommitRecovery::CannotTidy:
            notes.push_back(shown + "cannot be tidied away");
            ok = false;
            break;
        case CommitRecovery::NothingLeft: break;
        }
        for (const std::string& name : recovery.changedMeanwhile)
            notes.push_back(CheckFile(folder, name) + ": changed by another writer since, so left as it is");
    }
    for (const std::string& name : leftovers.tempFiles) {
        bool removed = PlatformDeleteFile(PathInFolder(folder, name).c_str());
        notes.push_back(CheckFile(folder, name) + (removed ? ": removed" : ": cannot be removed"));
        ok = removed && ok;
    }
    // Each one again: an import may have taken it up or finished it since.
    std::vector<AbandonedImport> stillLeft = FindAbandonedImports();
    for (const AbandonedImport& import : leftovers.importFolders) {
        bool left = false;
        for (const AbandonedImport& still : stillLeft) left = left || still.folder == import.folder;
        if (!left) continue;
        std::string shown = Cp1251ToUtf8(import.folder);
        if (import.complete && PlatformMoveToNewName(import.folder.c_str(), import.target.c_str())) {
            notes.push_back(shown + ": the import was complete; it is now " + Cp1251ToUtf8(import.target));
        } else if (RemoveAbandonedImport(import)) {
            notes.push_back(shown + ": removed");
        } else {
            notes.push_back(shown + ": cannot be removed");
            ok = false;
        }
    }
    return ok;
}
