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

std::vector<std::string> LanguageFolders() {
    std::vector<std::string> folders;
    for (const FolderItem& item : PlatformListFolder(kWordFormsFolder))
        if (item.isDirectory && !item.name.empty() && item.name[0] != '.') folders.push_back(item.name);
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    });
    return folders;
}

// A letter file held with one NUL appended: every string ends inside it.
class HeldLetterFile {
public:
    explicit HeldLetterFile(std::vector<unsigned char>&& bytes) : bytes_(std::move(bytes)) { bytes_.push_back(0); }
    const char* At(size_t offset) const { return reinterpret_cast<const char*>(bytes_.data() + offset); }
    bool EndsAt(size_t offset) const { return offset >= bytes_.size() || bytes_[offset] == 0; }
    size_t AfterString(size_t offset) const {
        const void* nul = std::memchr(bytes_.data() + offset, 0, bytes_.size() - offset);
        return static_cast<size_t>(static_cast<const unsigned char*>(nul) - bytes_.data()) + 1;
    }

private:
    std::vector<unsigned char> bytes_;
};

bool FoldedEquals(const char* word, const std::string& foldedKey) {
    size_t i = 0;
    for (; i < foldedKey.size(); ++i)
        if (FoldChar(static_cast<unsigned char>(word[i])) != static_cast<unsigned char>(foldedKey[i])) return false;
    return word[i] == '\0';
}

bool IsContinuation(const char* word) {
    size_t length = std::strlen(word);
    return length > 0 && word[length - 1] == '}';
}

void AddBases(const char* description, std::vector<std::string>& bases) {
    for (const char* item = description; *item;) {
        const char* end = std::strchr(item, kBaseSeparator);
        if (!end) end = item + std::strlen(item);
        std::string base(item, end);
        base.erase(0, base.find_first_not_of(' '));
        base.erase(base.find_last_not_of(' ') + 1);
        bool known = std::any_of(bases.begin(), bases.end(), [&](const std::string& other) {
            return FoldedCopy(other.c_str()) == FoldedCopy(base.c_str());
        });
        if (!base.empty() && !known) bases.push_back(base);
        item = *end ? end + 1 : end;
    }
}

// Walks the entries as the look-up does: an empty word or description ends
// the walk. The first entry equal to the key and the continuation entries
// right after it give the bases.
void CollectBases(const HeldLetterFile& file, const std::string& foldedKey, std::vector<std::string>& bases) {
    for (size_t word = 0; !file.EndsAt(word);) {
        size_t description = file.AfterString(word);
        if (file.EndsAt(description)) return;
        size_t next = file.AfterString(description);
        if (FoldedEquals(file.At(word), foldedKey)) {
            AddBases(file.At(description), bases);
            while (!file.EndsAt(next) && IsContinuation(file.At(next))) {
                size_t more = file.AfterString(next);
                if (file.EndsAt(more)) return;
                AddBases(file.At(more), bases);
                next = file.AfterString(more);
            }
            return;
        }
        word = next;
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
        if (!PlatformReadFile(LetterPath(folder.c_str(), letter).c_str(), bytes) || bytes.empty()) continue;
        CollectBases(HeldLetterFile(std::move(bytes)), key, bases);
    }
    return bases;
}
