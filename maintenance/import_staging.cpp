#include "maintenance/import_staging.h"

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/staged_commit.h"

namespace {

const char kImportInfix[] = ".import-";

// The dictionary a hidden import folder was made for; empty for any other name.
std::string TargetOf(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return std::string();
    const size_t infix = name.rfind(kImportInfix);
    if (infix == std::string::npos || infix < 2 || infix + sizeof kImportInfix - 1 == name.size()) return std::string();
    std::string target = name.substr(1, infix - 1);
    return NewDictionaryStagingPrefix(target) == name.substr(0, infix + sizeof kImportInfix - 1) ? target
                                                                                                 : std::string();
}

bool IsEmpty(const std::string& folder) {
    for (const FolderItem& item : PlatformListFolder(folder.c_str()))
        if (item.name != "." && item.name != "..") return false;
    return true;
}

}  // namespace

std::vector<AbandonedImport> FindAbandonedImports(const std::string& programFolder, const std::string& target) {
    std::vector<AbandonedImport> found;
    const std::string listed = programFolder.empty() ? std::string(".") : programFolder;
    for (const FolderItem& item : PlatformListFolder(listed.c_str())) {
        if (!item.isDirectory) continue;
        const std::string of = TargetOf(item.name);
        if (of.empty() || (!target.empty() && of != target)) continue;
        const std::string folder = ProgramFolderPath(programFolder, item.name);
        const bool empty = IsEmpty(folder);
        // Taken without waiting: an import at work keeps it.
        if (!empty && !DictionaryWriteLock(folder.c_str(), 0).Held()) continue;
        found.push_back(
            {folder, ProgramFolderPath(programFolder, of), PlatformNameExists(HeaderPath(folder).c_str()), empty});
    }
    return found;
}

bool RemoveAbandonedImport(const AbandonedImport& import) {
    return import.empty ? PlatformRemoveFolder(import.folder.c_str()) : RemoveFolderAndItsFiles(import.folder);
}
