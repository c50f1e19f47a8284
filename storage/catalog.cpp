#include "storage/catalog.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "storage/text_case.h"

CatalogRecord ListDictionaries(const std::string& programFolder) {
    CatalogRecord catalog{};
    const std::string listed = programFolder.empty() ? std::string(".") : programFolder;
    for (const FolderItem& item : PlatformListFolder(listed.c_str())) {
        if (catalog.Count >= kCatalogSlots) break;
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        if (item.name.size() >= kCatalogFolderSize) continue;  // does not fit a slot
        std::vector<unsigned char> header;
        if (!PlatformReadFile(HeaderPath(ProgramFolderPath(programFolder, item.name)).c_str(), header)) continue;
        CatalogEntry& slot = catalog.Slots[catalog.Count];
        std::memset(&slot, 0, sizeof slot);
        // An empty header has no data pointer to copy from.
        if (!header.empty())
            std::memcpy(slot.DisplayName, header.data(),
                        header.size() < kHeaderNameSize ? header.size() : kHeaderNameSize);
        std::snprintf(slot.Folder, sizeof slot.Folder, "%s", item.name.c_str());
        ++catalog.Count;
    }
    return catalog;
}

std::vector<UnnamableFolder> UnlistedDictionaries(const std::string& programFolder) {
    const std::string listed = programFolder.empty() ? std::string(".") : programFolder;
    std::vector<UnnamableFolder> folders;
    for (UnnamableFolder& folder : PlatformUnnamableFolders(listed.c_str(), kHeaderFileName))
        if (folder.name[0] != '.') folders.push_back(std::move(folder));
    return folders;
}

int FindCatalogIndex(const CatalogRecord& catalog, const char* name, int byDisplayName) {
    for (int i = 0; i < catalog.Count; ++i) {
        const CatalogEntry& slot = catalog.Slots[i];
        if (EqualNoCase(name, byDisplayName ? slot.DisplayName : slot.Folder)) return i;
    }
    return -1;
}

int CatalogIndexOf(const CatalogRecord& catalog, const Dictionary& dictionary) {
    return FindCatalogIndex(catalog, dictionary.folder.c_str(), 0);
}

int NextCatalogIndex(const CatalogRecord& catalog, const Dictionary& dictionary) {
    int i = catalog.Count < 2 ? -1 : CatalogIndexOf(catalog, dictionary);
    if (i < 0) return -1;
    return i + 1 < catalog.Count ? i + 1 : 0;
}

int PreviousCatalogIndex(const CatalogRecord& catalog, const Dictionary& dictionary) {
    int i = catalog.Count < 2 ? -1 : CatalogIndexOf(catalog, dictionary);
    if (i < 0) return -1;
    return i > 0 ? i - 1 : catalog.Count - 1;
}
