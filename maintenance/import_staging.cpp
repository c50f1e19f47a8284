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

std::vector<AbandonedImport> FindAbandonedImports(const std::string& target) {
    std::vector<AbandonedImport> found;
    for (const FolderItem& item : PlatformListFolder(".")) {
        if (!item.isDirectory) continue;
        const std::string of = TargetOf(item.name);
        if (of.empty() || (!target.empty() && of != target)) continue;
        const bool empty = IsEmpty(item.name);
        // Taken without waiting: an import at work keeps it.
        if (!empty && !DictionaryWriteLock(item.name.c_str(), 0).Held()) continue;
        found.push_back({item.name, of, PlatformNameExists(HeaderPath(item.name).c_str()), empty});
    }
    return found;
}

bool RemoveAbandonedImport(const AbandonedImport& import) {
    return import.empty ? PlatformRemoveFolder(import.folder.c_str()) : RemoveFolderAndItsFiles(import.folder);
}
