#include "storage/dictionary_words.h"

#include <utility>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/kept_file.h"

namespace {

// Its digit is the version of the lists: raise it whenever LetterWords
// comes to list other words or to lay them out otherwise.
const char kMagic[8] = {'D', 'I', 'C', 'W', 'R', 'D', '1', '\n'};
const char kExtension[] = ".words";

uint32_t RuleFlag(CaseRule rule) { return rule == CaseRule::Exact ? 1u : 0u; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The letters the look-up may read: a letter file's name gives its byte,
// and under the folded rule only a folded byte names a letter.
std::vector<unsigned char> LettersIn(const std::string& folder, CaseRule rule) {
    bool seen[256] = {};
    for (const FolderItem& item : PlatformListFolder(folder.c_str())) {
        if (item.isDirectory || !IsDictionaryFileName(item.name)) continue;
        const int letter = HexValue(item.name[0]) * 16 + HexValue(item.name[1]);
        if (letter != 0 && FoldChar(static_cast<unsigned char>(letter), rule) == letter) seen[letter] = true;
    }
    std::vector<unsigned char> letters;
    for (int letter = 1; letter < 256; ++letter)
        if (seen[letter]) letters.push_back(static_cast<unsigned char>(letter));
    return letters;
}

std::shared_ptr<const LetterWords> TakeBack(const std::string& path, const FileStamp& stamp, unsigned char letter,
                                            CaseRule rule) {
    if (!stamp.settled) return nullptr;
    const std::string keptPath = KeptFilePath(path.c_str(), kExtension);
    FileBytes kept;
    KeptFileInfo info;
    if (keptPath.empty() || !ReadKeptFile(keptPath, kMagic, stamp, kept, info) || info.flags != RuleFlag(rule))
        return nullptr;
    auto words = std::make_shared<LetterWords>();
    words->letter = letter;
    words->rule = rule;
    if (!words->Hold(std::move(kept), kKeptFileHeaderSize, info.count)) return nullptr;
    return words;
}

// Builds the list from the file as it is now; `stamp` gets the stamp of
// the bytes read. Null when the file could not be read (`outcome` says why).
std::shared_ptr<const LetterWords> Build(const std::string& path, unsigned char letter, CaseRule rule,
                                         FileStamp& stamp, FileReadOutcome& outcome) {
    FileBytes bytes;
    outcome = bytes.Load(path.c_str(), stamp);
    if (outcome != FileReadOutcome::Read) return nullptr;
    auto words = std::make_shared<LetterWords>();
    words->Build(letter, rule, bytes.Data(), bytes.Data() ? static_cast<size_t>(bytes.Length() - 1) : 0);
    if (stamp.settled) {
        const std::string keptPath = KeptFilePath(path.c_str(), kExtension);
        if (!keptPath.empty())
            WriteKeptFile(keptPath, kMagic, stamp, KeptFileInfo{RuleFlag(rule), words->Count()}, words->Payload(),
                          words->PayloadSize());
    }
    return words;
}

}  // namespace

DictionaryWords WordsOfDictionary(const std::string& folder, CaseRule rule, HeldWordLists& held) {
    // The lists of one dictionary at a time: another one's are dropped.
    if (held.folder != folder || held.rule != rule) {
        held = HeldWordLists();
        held.folder = folder;
        held.rule = rule;
    }
    DictionaryWords result;
    std::vector<HeldWordLists::Held> lists;
    for (unsigned char letter : LettersIn(folder, rule)) {
        const std::string path = LetterPath(folder, letter);
        FileStamp stamp;
        if (!PlatformFileStamp(path.c_str(), stamp)) continue;
        std::shared_ptr<const LetterWords> words;
        for (const HeldWordLists::Held& list : held.lists)
            if (list.path == path && list.stamp == stamp) words = list.words;
        if (!words && (words = TakeBack(path, stamp, letter, rule))) ++result.takenBack;
        if (!words) {
            FileReadOutcome outcome;
            words = Build(path, letter, rule, stamp, outcome);
            if (outcome == FileReadOutcome::Unreadable) result.unreadable.push_back(letter);
            if (!words) continue;
            ++result.built;
        }
        lists.push_back({path, stamp, words});
        result.letters.push_back(words);
    }
    held.lists = std::move(lists);
    return result;
}

size_t HeldWordLists::Bytes() const {
    size_t bytes = 0;
    for (const Held& list : lists) bytes += list.words->Bytes();
    return bytes;
}
