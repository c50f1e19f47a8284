#include "storage/catalog.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/text_case.h"

void ListDictionaries() {
    DictionaryCatalog.Count = 0;
    for (const FolderItem& item : PlatformListFolder(".")) {
        if (DictionaryCatalog.Count >= kCatalogSlots) break;
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        if (item.name.size() >= kCatalogFolderSize) continue;  // does not fit a slot
        std::vector<unsigned char> header;
        if (!PlatformReadFile(HeaderPath(item.name).c_str(), header)) continue;
        CatalogEntry& slot = DictionaryCatalog.Slots[DictionaryCatalog.Count];
        std::memset(&slot, 0, sizeof slot);
        // An empty header has no data pointer to copy from.
        if (!header.empty())
            std::memcpy(slot.DisplayName, header.data(),
                        header.size() < kHeaderNameSize ? header.size() : kHeaderNameSize);
        std::snprintf(slot.Folder, sizeof slot.Folder, "%s", item.name.c_str());
        ++DictionaryCatalog.Count;
    }
}

std::vector<UnnamableFolder> UnlistedDictionaries() {
    std::vector<UnnamableFolder> folders;
    for (UnnamableFolder& folder : PlatformUnnamableFolders(".", kHeaderFileName))
        if (folder.name[0] != '.') folders.push_back(std::move(folder));
    return folders;
}

int FindCatalogIndex(const char* name, int byDisplayName) {
    for (int i = 0; i < DictionaryCatalog.Count; ++i) {
        const CatalogEntry& slot = DictionaryCatalog.Slots[i];
        if (EqualNoCase(name, byDisplayName ? slot.DisplayName : slot.Folder)) return i;
    }
    return -1;
}

int CurrentCatalogIndex() { return FindCatalogIndex(CurrentDictionary.Folder, 0); }

int NextCatalogIndex() {
    int i = DictionaryCatalog.Count < 2 ? -1 : CurrentCatalogIndex();
    if (i < 0) return -1;
    return i + 1 < DictionaryCatalog.Count ? i + 1 : 0;
}

int PreviousCatalogIndex() {
    int i = DictionaryCatalog.Count < 2 ? -1 : CurrentCatalogIndex();
    if (i < 0) return -1;
    return i > 0 ? i - 1 : DictionaryCatalog.Count - 1;
}
