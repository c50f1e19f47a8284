#include "maintenance/import_build.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "storage/text_case.h"

int ContinuationNumber(const std::string& word, std::string& base) {
    if (word.size() < 5 || word.back() != '}') return 0;
    size_t open = word.rfind('{');
    if (open == std::string::npos || open == 0 || word[open - 1] != ' ') return 0;
    int number = 0;
    for (size_t i = open + 1; i + 1 < word.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(word[i])) || number > 100000) return 0;
        number = number * 10 + (word[i] - '0');
    }
    if (open + 2 == word.size() || number < 2) return 0;
    size_t end = open;
    while (end > 0 && word[end - 1] == ' ') --end;
    if (end == 0) return 0;
    base = word.substr(0, end);
    return number;
}

static const uint32_t kNone = UINT32_MAX;

void ReserveBuild(DictionaryBuild& build, size_t entries, size_t bytes) {
    build.text.reserve(bytes);
    build.start.reserve(entries);
    build.nextInGroup.reserve(entries);
    build.number.reserve(entries);
    build.groups.reserve(entries);
}

const char* EntryWord(const DictionaryBuild& build, uint32_t entry) {
    return build.text.data() + build.start[entry];
}

const char* EntryDescription(const DictionaryBuild& build, uint32_t entry) {
    const char* word = EntryWord(build, entry);
    return word + std::strlen(word) + 1;
}

uint32_t LastEntry(const DictionaryBuild& build) { return static_cast<uint32_t>(build.start.size() - 1); }

static uint32_t Append(DictionaryBuild& build, const std::string& word, const std::string& description,
                       int number) {
    build.start.push_back(build.text.size());
    build.text += word;
    build.text += '\0';
    build.text += description;
    build.text += '\0';
    build.nextInGroup.push_back(kNone);
    build.number.push_back(number);
    return static_cast<uint32_t>(build.start.size() - 1);
}

static void Join(DictionaryBuild& build, WordGroup& group, uint32_t entry, size_t baseLength) {
    if (group.first == kNone) {
        group.first = entry;
        group.spellingEntry = entry;
        group.spellingLength = static_cast<uint32_t>(baseLength);
    } else {
        build.nextInGroup[group.last] = entry;
    }
    group.last = entry;
    group.highest = std::max(group.highest, build.number[entry]);
}

static bool NumberInUse(const DictionaryBuild& build, const WordGroup& group, int number) {
    for (uint32_t member = group.first; member != kNone; member = build.nextInGroup[member])
        if (build.number[member] == number) return true;
    return false;
}

void AddExistingEntry(DictionaryBuild& build, unsigned char letter, const std::string& word,
                      const std::string& description) {
    std::string base;
    int number = ContinuationNumber(word, base);
    uint32_t entry = Append(build, word, description, number ? number : 1);
    build.existing[letter].push_back(entry);
    Join(build, build.groups[FoldString(number ? base.c_str() : word.c_str(), build.rule)], entry,
         number ? base.size() : word.size());
}

AddOutcome AddNewEntry(DictionaryBuild& build, std::string word, std::string description, size_t longest,
                       size_t longestDescription) {
    // A NUL would end the string early and break the file's pairing.
    if (word.find('\0') != std::string::npos) word.erase(std::remove(word.begin(), word.end(), '\0'), word.end());
    if (description.find('\0') != std::string::npos)
        description.erase(std::remove(description.begin(), description.end(), '\0'), description.end());
    if (word.empty()) return AddOutcome::EmptyWord;
    if (description.empty()) return AddOutcome::EmptyDescription;
    if (word.size() > longest) return AddOutcome::WordTooLong;
    if (description.size() > longestDescription) return AddOutcome::DescriptionTooLong;

    std::string base;
    int number = ContinuationNumber(word, base);
    if (number == 0) number = 1;
    WordGroup& group = build.groups[FoldString(number > 1 ? base.c_str() : word.c_str(), build.rule)];
    for (uint32_t member = group.first; member != kNone; member = build.nextInGroup[member])
        if (std::strcmp(EntryDescription(build, member), description.c_str()) == 0) return AddOutcome::Duplicate;
    size_t baseLength = number > 1 ? base.size() : word.size();
    if (group.first != kNone && NumberInUse(build, group, number)) {
        // The word is stored already: this one continues it.
        std::string spelling(EntryWord(build, group.spellingEntry), group.spellingLength);
        number = std::max(group.highest, 1);
        do ++number;
        while (NumberInUse(build, group, number));
        word = spelling + "  {" + std::to_string(number) + "}";
        baseLength = spelling.size();
    }
    uint32_t entry = Append(build, word, description, number);
    build.added[FoldChar(static_cast<unsigned char>(word[0]), build.rule)].push_back(entry);
    Join(build, group, entry, baseLength);
    return AddOutcome::Stored;
}

std::string BuildLetterBytes(const DictionaryBuild& build, unsigned char letter) {
    auto before = [&build](uint32_t a, uint32_t b) {
        return CompareNoCase(EntryWord(build, a), EntryWord(build, b)) < 0;
    };
    std::vector<uint32_t> added = build.added[letter];
    std::stable_sort(added.begin(), added.end(), before);
    // On equal words the existing entry comes first, as insertion places a
    // new entry after the words equal to it.
    std::vector<uint32_t> merged;
    merged.reserve(build.existing[letter].size() + added.size());
    std::merge(build.existing[letter].begin(), build.existing[letter].end(), added.begin(), added.end(),
               std::back_inserter(merged), before);
    auto length = [&build](uint32_t entry) {
        size_t end = entry + 1 < build.start.size() ? build.start[entry + 1] : build.text.size();
        return end - build.start[entry];
    };
    size_t size = 0;
    for (uint32_t entry : merged) size += length(entry);
    std::string bytes;
    bytes.reserve(size);
    for (uint32_t entry : merged) bytes.append(build.text, build.start[entry], length(entry));
    return bytes;
}
