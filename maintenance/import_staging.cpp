#include "maintenance/import_staging.h"

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"

namespace {

const char kImportInfix[] = ".import-";
// Long enough for an import to take the lock of the folder it has just made.
const long long kNewFolderSeconds = 60;

// The dictionary a hidden import folder was made for; empty for any other name.
std::string TargetOf(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return std::string();
    const size_t infix = name.rfind(kImportInfix);
    if (infix == std::string::npos || infix < 2 || infix + sizeof kImportInfix - 1 == name.size()) return std::string();
    std::string target = name.substr(1, infix - 1);
    return NewDictionaryStagingPrefix(target) == name.substr(0, infix + sizeof kImportInfix - 1) ? target
                                                                                                 : std::string();
}

bool ImportGone(const FolderItem& folder) {
    const std::vector<FolderItem> items = PlatformListFolder(folder.name.c_str());
    bool empty = true;
    for (const FolderItem& item : items)
        if (item.name != "." && item.name != "..") empty = false;
    if (empty) return folder.unusedSeconds > kNewFolderSeconds;
    // Taken without waiting: an import at work keeps it.
    return DictionaryWriteLock(folder.name.c_str(), 0).Held();
}

}  // namespace

std::vector<AbandonedImport> FindAbandonedImports(const std::string& target) {
    std::vector<AbandonedImport> found;
    for (const FolderItem& item : PlatformListFolder(".")) {
        if (!item.isDirectory) continue;
        const std::string of = TargetOf(item.name);
        if (of.empty() || (!target.empty() && of != target) || !ImportGone(item)) continue;
        found.push_back({item.name, of, PlatformNameExists(HeaderPath(item.name).c_str())});
    }
    return found;
}
