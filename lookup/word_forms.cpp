#include "lookup/word_forms.h"

#include <algorithm>

#include "platform/files.h"
#include "storage/dictionary_format.h"

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

// Walks the entries as the look-up does. The first entry equal to the key
// and the continuation entries right after it give the bases. A table is
// read whole for every word that is not found, so the walk folds through a
// table made once per call.
void CollectBases(const std::vector<unsigned char>& bytes, const std::string& foldedKey, CaseRule rule,
                  std::vector<std::string>& bases) {
    unsigned char fold[256];
    for (int c = 0; c < 256; ++c) fold[c] = FoldChar(static_cast<unsigned char>(c), rule);
    const char* text = reinterpret_cast<const char*>(bytes.data());
    auto description = [&](const LetterEntry& entry) {
        return std::string(text + entry.descriptionOffset, entry.DescriptionLength());
    };
    auto equal = [&](const LetterEntry& entry) {
        if (entry.WordLength() != foldedKey.size()) return false;
        for (size_t i = 0; i < foldedKey.size(); ++i)
            if (fold[bytes[entry.offset + i]] != static_cast<unsigned char>(foldedKey[i])) return false;
        return true;
    };
    LetterEntryWalker walker(bytes.data(), bytes.size(), EntryWalk::Strict);
    for (LetterEntry entry; walker.Next(entry);) {
        if (!equal(entry)) continue;
        AddBases(description(entry), rule, bases);
        while (walker.Next(entry) && IsContinuation(text + entry.offset, entry.WordLength()))
            AddBases(description(entry), rule, bases);
        return;
    }
}

}  // namespace

std::vector<std::string> BaseFormsOf(const char* word, CaseRule rule) {
    std::vector<std::string> bases;
    if (!word || !*word) return bases;
    std::string key = FoldString(word, rule);
    // Tables are filed by the first byte folded, whatever the dictionary's rule.
    unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]), CaseRule::Folded);
    for (const std::string& language : LanguageFolders()) {
        std::vector<unsigned char> bytes;
        std::string path = LetterPath(PathInFolder(kWordFormsFolder, language), letter);
        if (PlatformReadFile(path.c_str(), bytes)) CollectBases(bytes, key, rule, bases);
    }
    return bases;
}
