#include "storage/dictionary.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/catalog.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/dictionary_state.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"
#include "storage/text_case.h"

static void CopyName(char* to, size_t size, const char* from) { std::snprintf(to, size, "%s", from); }

bool IsOpenDictionary(const char* folder) { return EqualNoCase(folder, CurrentDictionary.Folder); }

// A change of several files that a killed writer left half done is
// finished (or undone) before anything is read, when no writer is at work.
static void TidyInterruptedChange(const char* folder) {
    if (!HasStagingArea(folder)) return;
    DictionaryWriteLock lock(folder, 0);
    if (lock.Held()) FinishInterruptedCommit(folder);
}

int OpenDictionary(const char* folder) {
    if (IsOpenDictionary(folder)) return kResultOk;
    TidyInterruptedChange(folder);
    std::vector<unsigned char> header;
    if (!PlatformReadFile(HeaderPath(folder).c_str(), header)) return kResultHeaderCannotOpen;
    CopyName(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, folder);
    // A field the file does not reach keeps the value it had.
    HeaderFields fields;
    std::memcpy(fields.name, CurrentDictionary.DisplayName, kHeaderNameSize);
    fields.name[kHeaderNameSize] = '\0';
    fields.dual = CurrentDictionary.Dual;
    fields.caseSensitive = CurrentDictionary.CaseSensitive;
    ParseHeader(header, fields);
    std::memset(CurrentDictionary.DisplayName, 0, sizeof CurrentDictionary.DisplayName);
    std::memcpy(CurrentDictionary.DisplayName, fields.name, sizeof fields.name);
    CurrentDictionary.Dual = fields.dual;
    CurrentDictionary.CaseSensitive = fields.caseSensitive;
    CurrentDictionary.WordFont = fields.wordFont;
    CurrentDictionary.DescriptionFont = fields.descriptionFont;
    LoadLetter(0);
    return kResultOk;
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
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (EqualNoCase(base.c_str(), device)) return false;
    bool numbered = base.size() == 4 && (StartsWithNoCase(base, "COM") || StartsWithNoCase(base, "LPT"));
    return !(numbered && base[3] >= '0' && base[3] <= '9');
}

CreateOutcome CreateDictionary(const char* folder, int dual, int caseSensitive) {
    std::string header = HeaderPath(folder);
    if (!IsPlainFolderName(folder)) return CreateOutcome::FolderFailed;
    if (PlatformNameExists(folder)) {
        if (PlatformNameExists(header.c_str())) return CreateOutcome::AlreadyExists;
    } else if (!PlatformCreateFolder(folder)) {
        return CreateOutcome::FolderFailed;
    }
    {
        // Another writer may be making the same dictionary this moment.
        DictionaryWriteLock lock(folder);
        if (lock.Held() && PlatformNameExists(header.c_str())) return CreateOutcome::AlreadyExists;
        unsigned char bytes[kHeaderSize];
        BuildHeader(bytes, folder, dual ? 1 : 0, caseSensitive ? 1 : 0, DefaultFont, DefaultFont);
        if (!lock.Held() || !PlatformWriteFileAtomic(header.c_str(), bytes, sizeof bytes))
            return CreateOutcome::FileFailed;
    }
    ListDictionaries();
    return CreateOutcome::Created;
}

bool WriteDictionaryHeader(const HeaderEdit* edit) {
    int slot = FindCatalogIndex(CurrentDictionary.DisplayName, 1);
    if (!IsDictionaryOpen()) return false;
    std::string path = HeaderPath(CurrentDictionary.Folder);
    // The header is read afresh and written back under the lock, so that no
    // other writer's change of it comes in between.
    DictionaryWriteLock lock(CurrentDictionary.Folder);
    std::vector<unsigned char> file;
    if (!lock.Held() || !PlatformReadFile(path.c_str(), file)) return false;

    char name[kHeaderNameSize];
    int32_t dual = CurrentDictionary.Dual, caseSensitive = CurrentDictionary.CaseSensitive;
    if (edit) {
        std::snprintf(name, sizeof name, "%s", edit->name ? edit->name : "");
        dual = edit->dual ? 1 : 0;
        caseSensitive = edit->caseSensitive ? 1 : 0;
    } else {
        std::snprintf(name, sizeof name, "%.63s", CurrentDictionary.DisplayName);
    }

    unsigned char header[kHeaderSize];
    BuildHeader(header, name, dual, caseSensitive, CurrentDictionary.WordFont, CurrentDictionary.DescriptionFont);
    // Only the first 192 bytes are rewritten; anything after them stays.
    if (file.size() < kHeaderSize) file.resize(kHeaderSize);
    std::memcpy(file.data(), header, kHeaderSize);
    if (!PlatformWriteFileAtomic(path.c_str(), file.data(), file.size())) return false;

    CopyName(CurrentDictionary.DisplayName, sizeof CurrentDictionary.DisplayName, name);
    CurrentDictionary.Dual = dual;
    CurrentDictionary.CaseSensitive = caseSensitive;
    if (slot >= 0) {
        CatalogEntry& entry = DictionaryCatalog.Slots[slot];
        CopyName(entry.DisplayName, sizeof entry.DisplayName, name);
    }
    return true;
}
