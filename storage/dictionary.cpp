#include "storage/dictionary.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_index_store.h"
#include "storage/staged_commit.h"

// A change of several files that a killed writer left half done is
// finished (or undone) before anything is read, when no writer is at work.
static void TidyInterruptedChange(const char* folder) {
    if (!HasStagingArea(folder)) return;
    DictionaryWriteLock lock(folder, 0);
    if (lock.Held()) FinishInterruptedCommit(folder);
}

// A name as the value holds it: 255 bytes at most.
static std::string Truncated(const char* name) { return std::string(name, strnlen(name, 255)); }

OpenOutcome OpenDictionary(Dictionary& dictionary, const char* folder) {
    if (dictionary.Is(folder)) return OpenOutcome::AlreadyOpen;
    const std::string path = dictionary.InProgramFolder(folder);
    TidyInterruptedChange(path.c_str());
    std::vector<unsigned char> header;
    if (!PlatformReadFile(HeaderPath(path).c_str(), header)) return OpenOutcome::NoHeader;
    dictionary.folder = Truncated(folder);
    // A field the file does not reach keeps the value it had.
    HeaderFields fields;
    std::snprintf(fields.name, sizeof fields.name, "%.64s", dictionary.displayName.c_str());
    fields.dual = dictionary.dual;
    fields.caseSensitive = dictionary.caseSensitive;
    ParseHeader(header, fields);
    dictionary.displayName = fields.name;
    dictionary.dual = fields.dual;
    dictionary.caseSensitive = fields.caseSensitive;
    dictionary.wordFont = fields.wordFont;
    dictionary.descriptionFont = fields.descriptionFont;
    dictionary.held = HeldLetter{};
    return OpenOutcome::Opened;
}

void KeepWalkedIndexes(Dictionary& dictionary) {
    // An index of bytes a fault turned to zeros would hide entries for good.
    if (LetterBytes* held = dictionary.held.bytes.get(); held && !held->Faulted())
        KeepWalkedIndex(held->file.Data(), held->file.Length(), held->index);
    dictionary.kept.KeepWalkedIndexes();
    dictionary.formsTables.KeepWalkedIndexes();
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

CreateOutcome CreateDictionary(const std::string& programFolder, const char* folder, int dual, int caseSensitive) {
    if (!IsPlainFolderName(folder)) return CreateOutcome::FolderFailed;
    const std::string path = ProgramFolderPath(programFolder, folder);
    const std::string header = HeaderPath(path);
    if (PlatformNameExists(path.c_str())) {
        if (PlatformNameExists(header.c_str())) return CreateOutcome::AlreadyExists;
    } else if (!PlatformCreateFolder(path.c_str())) {
        return CreateOutcome::FolderFailed;
    }
    // Another writer may be making the same dictionary this moment.
    DictionaryWriteLock lock(path.c_str());
    if (lock.Held() && PlatformNameExists(header.c_str())) return CreateOutcome::AlreadyExists;
    unsigned char bytes[kHeaderSize];
    BuildHeader(bytes, folder, dual ? 1 : 0, caseSensitive ? 1 : 0, DefaultFont, DefaultFont);
    if (!lock.Held() || !PlatformWriteFileAtomic(header.c_str(), bytes, sizeof bytes)) return CreateOutcome::FileFailed;
    return CreateOutcome::Created;
}

bool WriteDictionaryHeader(Dictionary& dictionary, const HeaderEdit* edit) {
    if (!dictionary.IsOpen()) return false;
    const std::string folder = dictionary.Path();
    const std::string path = HeaderPath(folder);
    // The header is read afresh and written back under the lock, so that no
    // other writer's change of it comes in between.
    DictionaryWriteLock lock(folder.c_str());
    std::vector<unsigned char> file;
    if (!lock.Held() || !PlatformReadFile(path.c_str(), file)) return false;

    char name[kHeaderNameSize];
    int32_t dual = dictionary.dual, caseSensitive = dictionary.caseSensitive;
    if (edit) {
        std::snprintf(name, sizeof name, "%s", edit->name ? edit->name : "");
        dual = edit->dual ? 1 : 0;
        caseSensitive = edit->caseSensitive ? 1 : 0;
    } else {
        std::snprintf(name, sizeof name, "%.63s", dictionary.displayName.c_str());
    }

    unsigned char header[kHeaderSize];
    BuildHeader(header, name, dual, caseSensitive, dictionary.wordFont, dictionary.descriptionFont);
    // Only the first 192 bytes are rewritten; anything after them stays.
    if (file.size() < kHeaderSize) file.resize(kHeaderSize);
    std::memcpy(file.data(), header, kHeaderSize);
    if (!PlatformWriteFileAtomic(path.c_str(), file.data(), file.size())) return false;

    dictionary.displayName = name;
    dictionary.dual = dual;
    dictionary.caseSensitive = caseSensitive;
    return true;
}
