#include "tools/check.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>

#include "platform/disk.h"
#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"
#include "tools/check_messages.h"
#include "tools/codepage.h"
#include "tools/import_build.h"
#include "tools/letter_files.h"

static void CheckHeader(const std::string& folder, CheckReport& report) {
    std::vector<unsigned char> header;
    std::string shown = CheckFile(folder, "00.dat");
    FileReadOutcome read = PlatformReadWholeFile((folder + "\\00.dat").c_str(), header);
    if (read != FileReadOutcome::Read) {
        report.headerMissing = true;
        report.problems.push_back(shown + (read == FileReadOutcome::Absent
                                               ? ": missing, so the program does not list this dictionary"
                                               : ": cannot be read, so the program does not list this dictionary"));
        return;
    }
    if (header.size() < static_cast<size_t>(kHeaderSize)) {
        report.headerNeedsRepair = true;
        report.problems.push_back(shown + " offset " + std::to_string(header.size()) + ": the header is " +
                                  std::to_string(header.size()) + " bytes, shorter than " +
                                  std::to_string(kHeaderSize));
    }
    // A shorter header leaves the rest of the name empty: only a full name
    // field can lack its terminator.
    if (header.size() >= static_cast<size_t>(kHeaderNameSize) &&
        std::memchr(header.data(), 0, kHeaderNameSize) == nullptr) {
        report.headerNeedsRepair = true;
        report.problems.push_back(shown + " offset 0: the name has no terminator within its " +
                                  std::to_string(kHeaderNameSize) + " bytes");
    }
    if (header.size() >= 68) std::memcpy(&report.dual, header.data() + 64, 4);
    if (header.size() >= 72) std::memcpy(&report.caseSensitive, header.data() + 68, 4);
}

CheckReport CheckDictionary(const std::string& folder) {
    CheckReport report;
    report.folderMissing = !PlatformIsFolder(folder.c_str());
    FindLeftovers(folder, report);
    CheckHeader(folder, report);
    std::snprintf(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, "%s", folder.c_str());
    CurrentDictionary.CaseSensitive = report.caseSensitive;
    if (!report.folderMissing) CheckLetterFiles(folder, report);
    return report;
}

// The header as the program reads it: what the file holds over the
// defaults, the name cut to fit with its terminator; a header without a
// name takes the folder's, as a new dictionary does.
static bool RepairHeader(const std::string& folder, std::vector<std::string>& notes) {
    std::string path = folder + "\\00.dat";
    std::vector<unsigned char> file;
    if (!PlatformReadFile(path.c_str(), file)) return false;
    unsigned char fields[kHeaderSize];
    BuildHeader(fields, "", 0, 0, DefaultFont, DefaultFont);
    if (!file.empty()) std::memcpy(fields, file.data(), file.size() < sizeof fields ? file.size() : sizeof fields);
    char name[kHeaderNameSize];
    std::memcpy(name, fields, kHeaderNameSize);
    name[kHeaderNameSize - 1] = '\0';
    if (name[0] == '\0') std::snprintf(name, sizeof name, "%s", folder.c_str());
    std::memset(fields, 0, kHeaderNameSize);
    std::memcpy(fields, name, std::strlen(name));
    if (file.size() < sizeof fields) file.resize(sizeof fields);
    std::memcpy(file.data(), fields, sizeof fields);
    if (!PlatformWriteFileAtomic(path.c_str(), file.data(), file.size())) {
        notes.push_back(CheckFile(folder, "00.dat") + ": cannot be written");
        return false;
    }
    notes.push_back(CheckFile(folder, "00.dat") + ": rewritten, 192 bytes, name " + CheckQuote(name) +
                    " (missing fields as a new dictionary has them)");
    return true;
}

// The letter files, or a note saying why they cannot be rewritten.
static bool LoadLetters(const std::string& folder, LetterFiles& loaded, std::vector<std::string>& notes) {
    ReadLetterFiles(folder, loaded);
    if (!loaded.unreadable) return true;
    notes.push_back(CheckFile(folder, LetterFileName(loaded.unreadable)) +
                    ": cannot be read, so no letter file was rewritten");
    return false;
}

// The changed letter files, all of them or none.
static bool WriteLetters(const std::string& folder, const DictionaryBuild& build, const LetterFiles& loaded,
                         std::vector<std::string>& notes) {
    StagedCommit commit(folder);
    std::vector<std::string> rewritten;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::string bytes = BuildLetterBytes(build, static_cast<unsigned char>(letter));
        if (bytes == loaded.bytes[letter] && (loaded.versions[letter].exists || bytes.empty())) continue;
        std::string name = LetterFileName(static_cast<unsigned char>(letter));
        if (!commit.Stage(name, bytes, loaded.versions[letter])) {
            notes.push_back(CheckFile(folder, name) + ": cannot be written, so no letter file was rewritten");
            return false;
        }
        rewritten.push_back(name);
    }
    if (!commit.Commit()) {
        std::string why = !commit.ReadOnly().empty()           ? commit.ReadOnly().front() + " is marked read-only"
                          : !commit.ChangedMeanwhile().empty() ? commit.ChangedMeanwhile().front() + " changed meanwhile"
                                                               : "they cannot be written";
        notes.push_back(Cp1251ToUtf8(folder) + ": the letter files were not rewritten: " + why);
        return false;
    }
    for (const std::string& name : rewritten) notes.push_back(CheckFile(folder, name) + ": rewritten");
    return true;
}

static std::string TrimBlanks(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

static bool RepairLetters(const std::string& folder, std::vector<std::string>& notes) {
    LetterFiles loaded;
    if (!LoadLetters(folder, loaded, notes)) return false;
    DictionaryBuild build;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::string file = LetterFileName(static_cast<unsigned char>(letter));
        for (const RawEntry& entry : SplitLetterFile(loaded.bytes[letter])) {
            std::string word = TrimBlanks(entry.word);
            std::string where = CheckPlace(folder, file, entry.offset);
            bool cut = word.size() > kLongestWord;
            if (cut) word = TrimBlanks(word.substr(0, kLongestWord));
            switch (AddNewEntry(build, word, entry.description, std::numeric_limits<size_t>::max())) {
            case AddOutcome::Stored:
                if (EntryWord(build, LastEntry(build)) != entry.word)
                    notes.push_back(where + "kept " + CheckQuote(entry.word) + " as " +
                                    CheckQuote(EntryWord(build, LastEntry(build))) +
                                    (cut ? " (cut to " + std::to_string(kLongestWord) + " bytes)" : ""));
                break;
            case AddOutcome::Duplicate:
                notes.push_back(where + "dropped " + CheckQuote(entry.word) +
                                ": the same word with the same description is kept before it");
                break;
            case AddOutcome::EmptyWord:
                notes.push_back(where + "could not keep an entry without a word" +
                                (entry.description.empty() ? "" : " (description " + CheckQuote(entry.description) + ")"));
                break;
            case AddOutcome::EmptyDescription:
                notes.push_back(where + "could not keep " + CheckQuote(entry.word) + ": it has no description");
                break;
            case AddOutcome::WordTooLong:
                break;
            }
        }
    }
    return WriteLetters(folder, build, loaded, notes);
}

bool RepairDictionary(const std::string& folder, const CheckReport& report, std::vector<std::string>& notes) {
    if (report.headerMissing) {
        notes.push_back(CheckFile(folder, "00.dat") +
                        ": not repaired: without a header the case rule of the letter files is unknown, "
                        "so nothing was changed");
        return false;
    }
    bool ok = true;
    if (report.headerNeedsRepair) ok = RepairHeader(folder, notes) && ok;
    CurrentDictionary.CaseSensitive = report.caseSensitive;
    if (report.lettersNeedRepair) ok = RepairLetters(folder, notes) && ok;
    return ok;
}

// The folder's write lock, when it is a folder: null when it is not, or
// when the lock cannot be had (`busy`: another writer keeps it).
static std::unique_ptr<DictionaryWriteLock> LockFolder(const std::string& folder, bool& busy) {
    busy = false;
    if (!PlatformIsFolder(folder.c_str())) return nullptr;
    auto lock = std::make_unique<DictionaryWriteLock>(folder.c_str());
    if (lock->Held()) return lock;
    busy = lock->Busy();
    return nullptr;
}

static bool AnyLeftovers(const Leftovers& leftovers) {
    return leftovers.stagedChange || !leftovers.tempFiles.empty() || !leftovers.importFolders.empty();
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
    // No writer changes the files while they are checked and repaired.
    bool busy = false;
    std::unique_ptr<DictionaryWriteLock> lock = LockFolder(folder, busy);
    if (busy) {
        io.err << "dictionary-tool: check: " << Cp1251ToUtf8(folder)
               << " is being changed by another program; try again when it is done" << kToolLineEnd;
        return 1;
    }
    // A folder whose lock file cannot be made (read-only) is still checked;
    // nothing can change it then.
    CheckReport report = CheckDictionary(folder);
    for (const std::string& problem : report.problems) io.out << problem << kToolLineEnd;
    for (const std::string& note : report.notes) io.out << "note: " << note << kToolLineEnd;
    bool clean = report.problems.empty();
    if (!clean && options.Has("--fix")) {
        std::vector<std::string> notes;
        CheckReport current = report;
        if (AnyLeftovers(report.leftovers)) {
            RemoveLeftovers(folder, report.leftovers, notes);
            // A finished import may just have made the folder.
            if (!lock) lock = LockFolder(folder, busy);
            ResetToolState();
            current = CheckDictionary(folder);
        }
        if (!current.problems.empty()) RepairDictionary(folder, current, notes);
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
