#include "tools/check.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <ostream>
#include <unordered_map>

#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "storage/text_compare.h"
#include "tools/codepage.h"
#include "tools/import_build.h"

static std::string FileName(unsigned char letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%02x.dat", letter);
    return name;
}

static std::string At(const std::string& folder, const std::string& file, size_t offset) {
    return Cp1251ToUtf8(folder) + "/" + file + " offset " + std::to_string(offset) + ": ";
}

// A word or description as a message shows it: UTF-8, long ones cut.
static std::string Quote(const std::string& bytes) {
    const size_t kShown = 40;
    std::string shown = bytes.size() > kShown ? bytes.substr(0, kShown) : bytes;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return "'" + Cp1251ToUtf8(shown) + (bytes.size() > kShown ? "...'" : "'");
}

static std::string Entries(size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

static void CheckHeader(const std::string& folder, CheckReport& report) {
    std::vector<unsigned char> header;
    std::string shown = Cp1251ToUtf8(folder) + "/00.dat";
    if (!PlatformReadFile((folder + "\\00.dat").c_str(), header)) {
        report.headerMissing = true;
        report.problems.push_back(shown + ": missing, so the program does not list this dictionary");
        return;
    }
    if (header.size() < static_cast<size_t>(kHeaderSize)) {
        report.headerNeedsRepair = true;
        report.problems.push_back(shown + " offset " + std::to_string(header.size()) + ": the header is " +
                                  std::to_string(header.size()) + " bytes, shorter than " +
                                  std::to_string(kHeaderSize));
    }
    size_t nameBytes = header.size() < static_cast<size_t>(kHeaderNameSize) ? header.size() : kHeaderNameSize;
    if (std::memchr(header.data(), 0, nameBytes) == nullptr) {
        report.headerNeedsRepair = true;
        report.problems.push_back(shown + " offset 0: the name has no terminator within its " +
                                  std::to_string(kHeaderNameSize) + " bytes");
    }
    if (header.size() >= 72) std::memcpy(&report.caseSensitive, header.data() + 68, 4);
}

static void CheckLetter(const std::string& folder, unsigned char letter, const std::string& bytes,
                        CheckReport& report) {
    size_t before = report.problems.size();
    std::string file = FileName(letter);
    std::vector<RawEntry> entries = SplitLetterFile(bytes);
    if (!bytes.empty() && bytes.back() != '\0') {
        const RawEntry& last = entries.back();
        size_t start = last.hasDescription ? last.descriptionOffset : last.offset;
        report.problems.push_back(At(folder, file, bytes.size()) + "the file does not end with NUL (the " +
                                  std::to_string(bytes.size() - start) + " bytes from offset " +
                                  std::to_string(start) + " are not terminated)");
    }
    bool walkEnded = false;
    std::unordered_map<std::string, size_t> firstOfWord;
    const RawEntry* previous = nullptr;
    for (size_t i = 0; i < entries.size(); ++i) {
        const RawEntry& entry = entries[i];
        std::string hidden = walkEnded || i + 1 == entries.size()
                                 ? std::string()
                                 : ", which hides the " + Entries(entries.size() - i - 1) + " after it from the look-up";
        if (entry.word.empty()) {
            report.problems.push_back(At(folder, file, entry.offset) + "an empty word" + hidden);
            walkEnded = true;
            continue;
        }
        if (entry.description.empty()) {
            report.problems.push_back(At(folder, file, entry.offset) + Quote(entry.word) +
                                      " has an empty description" + hidden);
            walkEnded = true;
        }
        unsigned char belongs = FoldChar(static_cast<unsigned char>(entry.word[0]));
        if (entry.word.front() == ' ' || entry.word.back() == ' ') {
            // Typed words lose their blanks before the look-up compares them.
            report.problems.push_back(At(folder, file, entry.offset) + Quote(entry.word) +
                                      " begins or ends with a blank, which the look-up never matches");
        } else if (belongs != letter) {
            report.problems.push_back(At(folder, file, entry.offset) + Quote(entry.word) + " belongs in " +
                                      FileName(belongs));
        } else {
            std::string key = FoldedCopy(entry.word.c_str());
            auto first = firstOfWord.find(key);
            if (first != firstOfWord.end())
                report.problems.push_back(At(folder, file, entry.offset) + Quote(entry.word) +
                                          " is never found: the equal word " +
                                          Quote(entries[first->second].word) + " at offset " +
                                          std::to_string(entries[first->second].offset) + " comes first");
            else
                firstOfWord.emplace(key, i);
        }
        if (previous && CompareNoCase(previous->word.c_str(), entry.word.c_str()) > 0)
            report.problems.push_back(At(folder, file, entry.offset) + Quote(entry.word) +
                                      " is out of order: it sorts before " + Quote(previous->word) +
                                      " at offset " + std::to_string(previous->offset));
        previous = &entry;
    }
    if (report.problems.size() != before) report.lettersNeedRepair = true;
}

CheckReport CheckDictionary(const std::string& folder) {
    CheckReport report;
    CheckHeader(folder, report);
    std::snprintf(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, "%s", folder.c_str());
    CurrentDictionary.CaseSensitive = report.caseSensitive;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        if (!PlatformReadFile(LetterPath(folder.c_str(), static_cast<unsigned char>(letter)).c_str(), raw)) continue;
        CheckLetter(folder, static_cast<unsigned char>(letter), std::string(raw.begin(), raw.end()), report);
    }
    return report;
}

// The header as the program reads it: what the file holds over the
// defaults, the name cut to fit with its terminator.
static bool RepairHeader(const std::string& folder, std::vector<std::string>& notes) {
    std::string path = folder + "\\00.dat";
    std::vector<unsigned char> file;
    if (!PlatformReadFile(path.c_str(), file)) return false;
    unsigned char fields[kHeaderSize];
    unsigned char defaults[kHeaderSize];
    BuildHeader(defaults, "", 0, 0, DefaultFont, DefaultFont);
    std::memcpy(fields, defaults, sizeof fields);
    std::memcpy(fields, file.data(), file.size() < sizeof fields ? file.size() : sizeof fields);
    char name[kHeaderNameSize];
    std::memcpy(name, fields, kHeaderNameSize);
    name[kHeaderNameSize - 1] = '\0';
    std::memset(fields, 0, kHeaderNameSize);
    std::memcpy(fields, name, std::strlen(name));
    if (file.size() < sizeof fields) file.resize(sizeof fields);
    std::memcpy(file.data(), fields, sizeof fields);
    if (!PlatformWriteFileAtomic(path.c_str(), file.data(), file.size())) {
        notes.push_back(Cp1251ToUtf8(folder) + "/00.dat: cannot be written");
        return false;
    }
    notes.push_back(Cp1251ToUtf8(folder) + "/00.dat: rewritten, 192 bytes, name " + Quote(name) +
                    " (missing fields as a new dictionary has them)");
    return true;
}

static bool RepairLetters(const std::string& folder, std::vector<std::string>& notes) {
    DictionaryBuild build;
    std::string current[256];
    bool exists[256] = {};
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        if (!PlatformReadFile(LetterPath(folder.c_str(), static_cast<unsigned char>(letter)).c_str(), raw)) continue;
        exists[letter] = true;
        current[letter].assign(raw.begin(), raw.end());
        std::string file = FileName(static_cast<unsigned char>(letter));
        for (const RawEntry& entry : SplitLetterFile(current[letter])) {
            std::string word = entry.word;
            size_t start = word.find_first_not_of(' ');
            word = start == std::string::npos ? std::string() : word.substr(start, word.find_last_not_of(' ') - start + 1);
            std::string where = At(folder, file, entry.offset);
            switch (AddNewEntry(build, word, entry.description, std::numeric_limits<size_t>::max())) {
            case AddOutcome::Stored:
                if (EntryWord(build, LastEntry(build)) != entry.word)
                    notes.push_back(where + "kept " + Quote(entry.word) + " as " +
                                    Quote(EntryWord(build, LastEntry(build))));
                break;
            case AddOutcome::Duplicate:
                notes.push_back(where + "dropped " + Quote(entry.word) +
                                ": the same word with the same description is kept before it");
                break;
            case AddOutcome::EmptyWord:
                notes.push_back(where + "could not keep an entry without a word" +
                                (entry.description.empty() ? "" : " (description " + Quote(entry.description) + ")"));
                break;
            case AddOutcome::EmptyDescription:
                notes.push_back(where + "could not keep " + Quote(entry.word) + ": it has no description");
                break;
            case AddOutcome::WordTooLong:
                break;
            }
        }
    }
    bool ok = true;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::string bytes = BuildLetterBytes(build, static_cast<unsigned char>(letter));
        if (bytes == current[letter] && (exists[letter] || bytes.empty())) continue;
        std::string path = LetterPath(folder.c_str(), static_cast<unsigned char>(letter));
        std::string shown = Cp1251ToUtf8(folder) + "/" + FileName(static_cast<unsigned char>(letter));
        if (PlatformWriteFileAtomic(path.c_str(), bytes.data(), bytes.size())) {
            notes.push_back(shown + ": rewritten");
        } else {
            notes.push_back(shown + ": cannot be written");
            ok = false;
        }
    }
    return ok;
}

bool RepairDictionary(const std::string& folder, const CheckReport& report, std::vector<std::string>& notes) {
    if (report.headerMissing) {
        notes.push_back(Cp1251ToUtf8(folder) +
                        "/00.dat: not repaired: without a header the case rule of the letter files is unknown, "
                        "so nothing was changed");
        return false;
    }
    bool ok = true;
    if (report.headerNeedsRepair) ok = RepairHeader(folder, notes) && ok;
    CurrentDictionary.CaseSensitive = report.caseSensitive;
    if (report.lettersNeedRepair) ok = RepairLetters(folder, notes) && ok;
    return ok;
}

int CheckCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--fix", false}}, options, io.err)) return kExitUsage;
    if (!options.operands.empty()) {
        io.err << "dictionary-tool: check takes no words" << kToolLineEnd;
        return kExitUsage;
    }
    std::string folder;
    if (!ToolDictionaryFolder(options.Value("--dict", kDefaultToolDictionary), folder, io.err)) return kExitUsage;
    ResetToolState();
    CheckReport report = CheckDictionary(folder);
    for (const std::string& problem : report.problems) io.out << problem << kToolLineEnd;
    bool clean = report.problems.empty();
    if (!clean && options.Has("--fix")) {
        std::vector<std::string> notes;
        RepairDictionary(folder, report, notes);
        for (const std::string& note : notes) io.out << "fix: " << note << kToolLineEnd;
        ResetToolState();
        CheckReport after = CheckDictionary(folder);
        for (const std::string& problem : after.problems) io.out << "still: " << problem << kToolLineEnd;
        clean = after.problems.empty();
    }
    ResetToolState();
    io.out << Cp1251ToUtf8(folder) << ": "
           << (report.problems.empty() ? "clean" : clean ? "repaired, now clean"
                                                         : std::to_string(report.problems.size()) + " problems")
           << kToolLineEnd;
    io.out.flush();
    return clean ? kExitOk : 1;
}
