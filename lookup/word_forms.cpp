#include "lookup/word_forms.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/letter_view.h"

const char* const kWordFormsFolder = "forms";

namespace {

const char kBaseSeparator = ';';

// A table is a folder with a header, as a dictionary is; other folders
// (such as the tables' sources) are passed over.
std::vector<std::string> LanguageFolders(const std::string& formsFolder) {
    std::vector<std::string> folders;
    for (const FolderItem& item : PlatformListFolder(formsFolder.c_str())) {
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        if (PlatformNameExists(HeaderPath(PathInFolder(formsFolder, item.name)).c_str()))
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

// The first entry equal to the key, as the look-up finds it, and the
// continuation entries right after it give the bases.
void CollectBases(LetterBytes& table, const std::string& foldedKey, CaseRule rule, std::vector<std::string>& bases) {
    const LetterView view = table.View();
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
bool CollectTableBases(KeptTables& tables, const std::string& path, const std::string& foldedKey, CaseRule rule,
                       std::vector<std::string>& bases) {
    const size_t before = bases.size();
    std::shared_ptr<LetterBytes> table;
    FileReadOutcome outcome = tables.Read(path, true, true, table);
    if (outcome == FileReadOutcome::Read) {
        CollectBases(*table, foldedKey, rule, bases);
        if (!table->Faulted()) return true;
        bases.resize(before);
        outcome = tables.Read(path, true, false, table);
        if (outcome == FileReadOutcome::Read) CollectBases(*table, foldedKey, rule, bases);
    }
    return outcome != FileReadOutcome::Unreadable;
}

}  // namespace

std::vector<std::string> BaseFormsOf(Dictionary& dictionary, const char* word, UnreadableTable* unreadable) {
    std::vector<std::string> bases;
    if (unreadable) *unreadable = UnreadableTable();
    if (!word || !*word) return bases;
    const CaseRule rule = dictionary.Rule();
    std::string key = FoldString(word, rule);
    // Tables are filed by the first byte folded, whatever the dictionary's rule.
    unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), CaseRule::Folded);
    const std::string formsFolder = dictionary.InProgramFolder(kWordFormsFolder);
    for (const std::string& language : LanguageFolders(formsFolder)) {
        std::string path = LetterPath(PathInFolder(formsFolder, language), letter);
        if (CollectTableBases(dictionary.formsTables, path, key, rule, bases) || !unreadable ||
            !unreadable->path.empty())
            continue;
        // Named as the layout writes it, whatever folder the program runs from.
        *unreadable = UnreadableTable{LetterPath(PathInFolder(kWordFormsFolder, language), letter),
                                      PlatformLastFileError()};
    }
    return bases;
}
