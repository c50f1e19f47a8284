#include "lookup/word_forms.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"
#include "storage/letter_file.h"
#include "storage/text_compare.h"

const char* const kWordFormsFolder = "forms";

namespace {

const char kBaseSeparator = ';';

// The letter a forms folder files a word under: its first byte folded
// case-insensitively.
unsigned char FormsLetter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
    return c;
}

// A table is a folder with a header, as a dictionary is; other folders
// (such as the tables' sources) are passed over.
std::vector<std::string> LanguageFolders() {
    std::vector<std::string> folders;
    for (const FolderItem& item : PlatformListFolder(kWordFormsFolder)) {
        if (!item.isDirectory || item.name.empty() || item.name[0] == '.') continue;
        std::string header = std::string(kWordFormsFolder) + "\\" + item.name + "\\00.dat";
        if (PlatformNameExists(header.c_str())) folders.push_back(item.name);
    }
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    });
    return folders;
}

// The bytes of one letter file, walked as the look-up walks a letter: a
// string ends at its NUL, or at the end of the file when a damaged file
// lacks the last one.
class FormsFile {
public:
    explicit FormsFile(const std::vector<unsigned char>& bytes)
        : at_(bytes.data()), end_(bytes.data() + bytes.size()) {}
    bool AtEnd() const { return at_ == end_ || *at_ == 0; }
    // The string here; moves past it and its NUL.
    std::string Take() {
        const unsigned char* start = at_;
        while (at_ != end_ && *at_) ++at_;
        std::string text(start, at_);
        if (at_ != end_) ++at_;
        return text;
    }
    void Skip() {
        while (at_ != end_ && *at_) ++at_;
        if (at_ != end_) ++at_;
    }
    // Whether the word here equals the key folded; moves past the word.
    bool TakeEqual(const unsigned char fold[256], const std::string& foldedKey) {
        const unsigned char* key = reinterpret_cast<const unsigned char*>(foldedKey.data());
        const unsigned char* keyEnd = key + foldedKey.size();
        while (key != keyEnd && at_ != end_ && fold[*at_] == *key) ++at_, ++key;
        bool equal = key == keyEnd && (at_ == end_ || *at_ == 0);
        Skip();
        return equal;
    }

private:
    const unsigned char* at_;
    const unsigned char* end_;
};

void AddBases(const std::string& description, std::vector<std::string>& bases) {
    for (size_t item = 0; item <= description.size();) {
        size_t end = description.find(kBaseSeparator, item);
        if (end == std::string::npos) end = description.size();
        std::string base = description.substr(item, end - item);
        base.erase(0, base.find_first_not_of(' '));
        base.erase(base.find_last_not_of(' ') + 1);
        bool known = std::any_of(bases.begin(), bases.end(), [&](const std::string& other) {
            return FoldedCopy(other.c_str()) == FoldedCopy(base.c_str());
        });
        if (!base.empty() && !known) bases.push_back(base);
        item = end + 1;
    }
}

bool IsContinuation(const std::string& word) { return !word.empty() && word.back() == '}'; }

// Walks the entries as the look-up does: an empty word or description ends
// the walk. The first entry equal to the key and the continuation entries
// right after it give the bases. The walk touches each byte once: a table
// is read whole for every word that is not found.
void CollectBases(const std::vector<unsigned char>& bytes, const std::string& foldedKey,
                  std::vector<std::string>& bases) {
    unsigned char fold[256];
    for (int c = 0; c < 256; ++c) fold[c] = FoldChar(static_cast<unsigned char>(c));
    FormsFile file(bytes);
    while (!file.AtEnd()) {
        bool equal = file.TakeEqual(fold, foldedKey);
        if (file.AtEnd()) return;
        if (!equal) {
            file.Skip();
            continue;
        }
        AddBases(file.Take(), bases);
        while (!file.AtEnd()) {
            std::string word = file.Take();
            if (!IsContinuation(word) || file.AtEnd()) return;
            AddBases(file.Take(), bases);
        }
        return;
    }
}

}  // namespace

std::vector<std::string> BaseFormsOf(const char* word) {
    std::vector<std::string> bases;
    if (!word || !*word) return bases;
    std::string key = FoldedCopy(word);
    unsigned char letter = FormsLetter(static_cast<unsigned char>(word[0]));
    for (const std::string& language : LanguageFolders()) {
        std::string folder = std::string(kWordFormsFolder) + "\\" + language;
        std::vector<unsigned char> bytes;
        if (PlatformReadFile(LetterPath(folder.c_str(), letter).c_str(), bytes)) CollectBases(bytes, key, bases);
    }
    return bases;
}
