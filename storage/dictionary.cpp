#include "storage/dictionary.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "platform/platform.h"
#include "storage/dictionary_lock.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"
#include "storage/text_compare.h"

const FontRecord DefaultFont = {16, 0, 0, 0, 0, 0, 0, 0, 204, 0, 0, 0, 0, "Times New Roman"};

static const OpenDictionaryRecord kNoDictionary = {"", "", 1, 0, DefaultFont, DefaultFont};

OpenDictionaryRecord CurrentDictionary = kNoDictionary;
CatalogEntry DictionaryCatalog[kCatalogSlots];
int CatalogCount = 0;
void (*ApplyDictionaryFontsHook)() = nullptr;

static const int kDictionaryMenuButton = 2;
static const char kCaption[] = "Dictionary";

static std::string HeaderPath(const char* folder) { return std::string(folder) + "\\00.dat"; }

static void CopyName(char* to, size_t size, const char* from) {
    std::snprintf(to, size, "%s", from);
}

void ResetDictionaryState() {
    ForgetLetter(0);
    CurrentDictionary = kNoDictionary;
    std::memset(DictionaryCatalog, 0, sizeof DictionaryCatalog);
    CatalogCount = 0;
}

void ListDictionaries() {
    CatalogCount = 0;
    for (const FolderItem& item : PlatformListCurrentDirectory()) {
        if (CatalogCount >= kCatalogSlots) break;
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        if (item.name.size() >= kCatalogFolderSize) continue;  // does not fit a slot
        std::vector<unsigned char> header;
        if (!PlatformReadFile(HeaderPath(item.name.c_str()).c_str(), header)) continue;
        CatalogEntry& slot = DictionaryCatalog[CatalogCount];
        std::memset(&slot, 0, sizeof slot);
        // An empty header has no data pointer to copy from.
        if (!header.empty())
            std::memcpy(slot.DisplayName, header.data(),
                        header.size() < kHeaderNameSize ? header.size() : kHeaderNameSize);
        CopyName(slot.Folder, sizeof slot.Folder, item.name.c_str());
        ++CatalogCount;
    }
}

// Reads the header fields in turn from what the file holds; a field the file
// does not reach keeps its value.
static void ReadHeaderFields(const std::vector<unsigned char>& header) {
    size_t at = 0;
    auto take = [&](void* field, size_t size) {
        size_t n = header.size() > at ? header.size() - at : 0;
        if (n > size) n = size;
        if (n) std::memcpy(field, header.data() + at, n);
        at += size;
    };
    if (!header.empty()) std::memset(CurrentDictionary.DisplayName, 0, sizeof CurrentDictionary.DisplayName);
    take(CurrentDictionary.DisplayName, kHeaderNameSize);
    CurrentDictionary.DisplayName[kHeaderNameSize] = '\0';
    take(&CurrentDictionary.Dual, 4);
    take(&CurrentDictionary.CaseSensitive, 4);
    CurrentDictionary.WordFont = DefaultFont;
    CurrentDictionary.DescriptionFont = DefaultFont;
    take(&CurrentDictionary.WordFont, sizeof(FontRecord));
    take(&CurrentDictionary.DescriptionFont, sizeof(FontRecord));
    CurrentDictionary.WordFont.faceName[31] = '\0';
    CurrentDictionary.DescriptionFont.faceName[31] = '\0';
}

static void SetDictionaryTitle() {
    std::string title = std::string(kCaption) + " - [" + CurrentDictionary.DisplayName + "]";
    SetMainWindowTitle(title.c_str());
}

// A change of several files that a killed writer left half done is
// finished (or undone) before anything is read, when no writer is at work.
static void TidyInterruptedChange(const char* folder) {
    if (!HasStagingArea(folder)) return;
    DictionaryWriteLock lock(folder, 0);
    if (lock.Held()) FinishInterruptedCommit(folder);
}

int OpenDictionary(const char* folder) {
    if (EqualNoCase(folder, CurrentDictionary.Folder)) return kResultOk;
    TidyInterruptedChange(folder);
    std::vector<unsigned char> header;
    if (!PlatformReadFile(HeaderPath(folder).c_str(), header)) return kResultHeaderCannotOpen;
    CopyName(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, folder);
    ReadHeaderFields(header);
    LoadLetter(0);
    SetDictionaryTitle();
    if (WordText[0] != '\0') LookupWord(1, -1);
    if (ApplyDictionaryFontsHook) ApplyDictionaryFontsHook();
    return kResultOk;
}

void BuildHeader(unsigned char out[kHeaderSize], const char* name, int32_t dual,
                 int32_t caseSensitive, const FontRecord& wordFont,
                 const FontRecord& descriptionFont) {
    std::memset(out, 0, kHeaderSize);
    size_t n = std::strlen(name);
    if (n > kHeaderNameSize - 1) n = kHeaderNameSize - 1;
    std::memcpy(out, name, n);
    std::memcpy(out + 64, &dual, 4);
    std::memcpy(out + 68, &caseSensitive, 4);
    std::memcpy(out + 72, &wordFont, sizeof(FontRecord));
    std::memcpy(out + 132, &descriptionFont, sizeof(FontRecord));
}

bool IsPlainFolderName(const char* name) {
    size_t n = std::strlen(name);
    if (n == 0 || n >= kCatalogFolderSize) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (const char* c = name; *c; ++c) {
        unsigned char b = static_cast<unsigned char>(*c);
        if (b < 0x20 || std::strchr("\\/:*?\"<>|", b)) return false;
    }
    // Windows drops trailing dots and spaces, which would name another folder.
    if (name[n - 1] == '.' || name[n - 1] == ' ') return false;
    // Reserved device names, with or without an extension.
    std::string base(name, std::strcspn(name, "."));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (base == device) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        base[3] >= '0' && base[3] <= '9')
        return false;
    return true;
}

static void Tell(const char* format, const char* value, unsigned icon) {
    std::string text(std::strlen(format) + std::strlen(value) + 1, '\0');
    int n = std::snprintf(&text[0], text.size(), format, value);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    ShowMessageBox(text.c_str(), kCaption, icon);
}

void CreateDictionary(const char* folder, int dual, int caseSensitive) {
    std::string header = HeaderPath(folder);
    if (!IsPlainFolderName(folder)) {
        Tell("Error creating folder '%s'", folder, kMsgIconError);
        return;
    }
    if (PlatformNameExists(folder)) {
        if (PlatformNameExists(header.c_str())) {
            Tell("Dictionary already exists in folder '%s'", folder, kMsgIconError);
            return;
        }
    } else if (!PlatformCreateFolder(folder)) {
        Tell("Error creating folder '%s'", folder, kMsgIconError);
        return;
    }
    {
        // Another writer may be making the same dictionary this moment.
        DictionaryWriteLock lock(folder);
        if (lock.Held() && PlatformNameExists(header.c_str())) {
            Tell("Dictionary already exists in folder '%s'", folder, kMsgIconError);
            return;
        }
        unsigned char bytes[kHeaderSize];
        BuildHeader(bytes, folder, dual ? 1 : 0, caseSensitive ? 1 : 0, DefaultFont, DefaultFont);
        if (!lock.Held() || !PlatformWriteFileAtomic(header.c_str(), bytes, sizeof bytes)) {
            Tell("Error creating file '%s'", header.c_str(), kMsgIconError);
            return;
        }
    }
    ListDictionaries();
    if (LetterBuffer.Letter == 0 && CatalogCount > 0) OpenDictionary(DictionaryCatalog[0].Folder);
    Tell("Dictionary '%s' successfuly created", folder, kMsgIconInformation);
}

void WriteDictionaryHeader(const HeaderEdit* dialog) {
    int slot = FindCatalogIndex(CurrentDictionary.DisplayName, 1);
    std::string path = HeaderPath(CurrentDictionary.Folder);
    if (CurrentDictionary.Folder[0] == '\0') return;
    // The header is read afresh and written back under the lock, so that no
    // other writer's change of it comes in between.
    DictionaryWriteLock lock(CurrentDictionary.Folder);
    std::vector<unsigned char> file;
    if (!lock.Held() || !PlatformReadFile(path.c_str(), file)) return;

    char name[kHeaderNameSize];
    int32_t dual = CurrentDictionary.Dual, caseSensitive = CurrentDictionary.CaseSensitive;
    if (dialog) {
        std::snprintf(name, sizeof name, "%s", dialog->name ? dialog->name : "");
        dual = dialog->dual ? 1 : 0;
        caseSensitive = dialog->caseSensitive ? 1 : 0;
    } else {
        std::snprintf(name, sizeof name, "%.63s", CurrentDictionary.DisplayName);
    }

    unsigned char header[kHeaderSize];
    BuildHeader(header, name, dual, caseSensitive, CurrentDictionary.WordFont,
                CurrentDictionary.DescriptionFont);
    // Only the first 192 bytes are rewritten; anything after them stays.
    if (file.size() < kHeaderSize) file.resize(kHeaderSize);
    std::memcpy(file.data(), header, kHeaderSize);
    if (!PlatformWriteFileAtomic(path.c_str(), file.data(), file.size())) return;

    CopyName(CurrentDictionary.DisplayName, sizeof CurrentDictionary.DisplayName, name);
    CurrentDictionary.Dual = dual;
    CurrentDictionary.CaseSensitive = caseSensitive;
    if (slot >= 0) CopyName(DictionaryCatalog[slot].DisplayName, sizeof DictionaryCatalog[slot].DisplayName, name);
    if (dialog) SetDictionaryTitle();
}

int FindCatalogIndex(const char* name, int byDisplayName) {
    for (int i = 0; i < CatalogCount; ++i) {
        const char* slotName = byDisplayName ? DictionaryCatalog[i].DisplayName : DictionaryCatalog[i].Folder;
        if (EqualNoCase(name, slotName)) return i;
    }
    return -1;
}

int CurrentCatalogIndex() { return FindCatalogIndex(CurrentDictionary.Folder, 0); }

void NextDictionary() {
    if (CatalogCount < 2) return;
    int i = CurrentCatalogIndex();
    if (i < 0) return;
    OpenDictionary(DictionaryCatalog[i + 1 < CatalogCount ? i + 1 : 0].Folder);
}

void PreviousDictionary() {
    if (CatalogCount < 2) return;
    int i = CurrentCatalogIndex();
    if (i < 0) return;
    OpenDictionary(DictionaryCatalog[i > 0 ? i - 1 : CatalogCount - 1].Folder);
}

void DictionaryMenu() {
    std::vector<MenuItemSpec> items;
    for (int i = 0; i < CatalogCount; ++i)
        items.push_back({i + 1, DictionaryCatalog[i].DisplayName,
                         EqualNoCase(DictionaryCatalog[i].DisplayName, CurrentDictionary.DisplayName)});
    int chosen = TrackToolbarMenu(kDictionaryMenuButton, items);
    if (chosen > 0 && chosen <= CatalogCount) OpenDictionary(DictionaryCatalog[chosen - 1].Folder);
}
