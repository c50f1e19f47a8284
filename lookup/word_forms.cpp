#include "lookup/word_forms.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/file_bytes.h"
#include "storage/letter_index_store.h"
#include "storage/letter_view.h"

const char* const kWordFormsFolder = "forms";

namespace {

const char kBaseSeparator = ';';

// A table is a folder with a header, as a dictionary is; other folders
// (such as the tables' sources) are passed over.
std::vector<std::string> LanguageFolders() {
    std::vector<std::string> folders;
    for (const FolderItem& item : PlatformListFolder(kWordFormsFolder)) {
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        if (PlatformNameExists(HeaderPath(PathInFolder(kWordFormsFolder, item.name)).c_str()))
            folders.push_back(item.name);
    }
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    });
    return folders;
}

void AddBases(const std::string& description, CaseRule rule, std::vector<std::string>& bases) {
    for (size_t item = 0; item <= description.size();) {
        size_t end = description.find(kBaseSeparator, item);
        if (end == std::string::npos) end = description.size();
        std::string base = description.substr(item, end - item);
        base.erase(0, base.find_first_not_of(' '));
        base.erase(base.find_last_not_of(' ') + 1);
        bool known = std::any_of(bases.begin(), bases.end(), [&](const std::string& other) {
            return FoldString(other.c_str(), rule) == FoldString(base.c_str(), rule);
        });
        if (!base.empty() && !known) bases.push_back(base);
        item = end + 1;
    }
}

bool IsContinuation(const char* word, size_t length) { return length > 0 && word[length - 1] == '}'; }

// A table read once and kept, with the index of its entries, while its
// file keeps the stamp it was read with: the look-up's fallback asks the
// same few tables for every word it does not find.
struct KeptTable {
    std::string path;
    FileStamp stamp;
    FileBytes bytes;   // the file and one NUL after it
    LetterIndex index;
};
const size_t kKeptTablesMax = 8;
std::vector<KeptTable> KeptTables;

// The table at `path` as its file now is, in `found`; the outcome of
// reading it. Without `mayMap` it is read into memory, as after a mapping
// that faulted.
FileReadOutcome TableAt(const std::string& path, bool mayMap, KeptTable*& found) {
    found = nullptr;
    FileStamp now;
    const bool there = PlatformFileStamp(path.c_str(), now);
    for (size_t i = 0; i < KeptTables.size(); ++i) {
        if (KeptTables[i].path != path) continue;
        if (there && now == KeptTables[i].stamp && (mayMap || !KeptTables[i].bytes.Mapped())) {
            found = &KeptTables[i];
            return FileReadOutcome::Read;
        }
        KeptTables.erase(KeptTables.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    // Read even when its stamp could not be had: the read tells a file that
    // is not there from one that cannot be read.
    KeptTable table{path, FileStamp(), FileBytes(), LetterIndex()};
    const FileReadOutcome outcome = table.bytes.Load(path.c_str(), table.stamp, mayMap);
    if (outcome != FileReadOutcome::Read) return outcome;
    PrepareLetterIndex(path.c_str(), table.stamp, table.bytes.Data(), table.bytes.Length(), table.bytes.Mapped(),
                       table.index);
    if (KeptTables.size() == kKeptTablesMax) KeptTables.erase(KeptTables.begin());
    KeptTables.push_back(std::move(table));
    found = &KeptTables.back();
    return FileReadOutcome::Read;
}

// The first entry equal to the key, as the look-up finds it, and the
// continuation entries right after it give the bases.
void CollectBases(KeptTable& table, const std::string& foldedKey, CaseRule rule, std::vector<std::string>& bases) {
    const LetterView view{table.bytes.Data(), table.bytes.Length(), &table.index};
    const int32_t found = FindFoldedWord(view, foldedKey, rule);
    if (found < 0) return;
    const char* text = reinterpret_cast<const char*>(view.data);
    auto description = [&](const LetterEntry& entry) {
        return std::string(text + entry.descriptionOffset, entry.DescriptionLength());
    };
    LetterEntryWalker walker(view.data, view.FileSize(), EntryWalk::Strict, static_cast<size_t>(found));
    LetterEntry entry;
    if (!walker.Next(entry)) return;
    AddBases(description(entry), rule, bases);
    while (walker.Next(entry) && IsContinuation(text + entry.offset, entry.WordLength()))
        AddBases(description(entry), rule, bases);
}

// The bases the table at `path` gives, added to `bases`; false when its
// file cannot be read. A table a page of whose mapping could not be read
// (it read as zeros) is read again from its file.
bool CollectTableBases(const std::string& path, const std::string& foldedKey, CaseRule rule,
                       std::vector<std::string>& bases) {
    const size_t before = bases.size();
    KeptTable* table = nullptr;
    FileReadOutcome outcome = TableAt(path, true, table);
    if (outcome == FileReadOutcome::Read) {
        CollectBases(*table, foldedKey, rule, bases);
        if (!table->bytes.Mapped() || !PlatformMappingFaulted(table->bytes.Data())) return true;
        bases.resize(before);
        outcome = TableAt(path, false, table);
        if (outcome == FileReadOutcome::Read) CollectBases(*table, foldedKey, rule, bases);
    }
    return outcome != FileReadOutcome::Unreadable;
}

}  // namespace

std::vector<std::string> BaseFormsOf(const char* word, CaseRule rule, UnreadableTable* unreadable) {
    std::vector<std::string> bases;
    if (unreadable) *unreadable = UnreadableTable();
    if (!word || !*word) return bases;
    std::string key = FoldString(word, rule);
    // Tables are filed by the first byte folded, whatever the dictionary's rule.
    unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), CaseRule::Folded);
    for (const std::string& language : LanguageFolders()) {
        std::string path = LetterPath(PathInFolder(kWordFormsFolder, language), letter);
        if (CollectTableBases(path, key, rule, bases) || !unreadable || !unreadable->path.empty()) continue;
        *unreadable = UnreadableTable{path, PlatformLastFileError()};
    }
    return bases;
}

void ForgetWordFormsTables() { std::vector<KeptTable>().swap(KeptTables); }

void KeepWalkedWordFormsIndexes() {
    for (KeptTable& table : KeptTables) KeepWalkedIndex(table.bytes.Data(), table.bytes.Length(), table.index);
}
