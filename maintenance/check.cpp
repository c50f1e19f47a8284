#include "maintenance/check.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "maintenance/check_leftovers.h"
#include "maintenance/check_letters.h"
#include "maintenance/check_messages.h"
#include "maintenance/codepage.h"
#include "maintenance/import_build.h"
#include "maintenance/letter_files.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/staged_commit.h"

static void CheckHeader(const std::string& folder, CheckReport& report) {
    std::vector<unsigned char> header;
    std::string shown = CheckFile(folder, kHeaderFileName);
    FileReadOutcome read = PlatformReadWholeFile(HeaderPath(folder).c_str(), header);
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
    // The flags as the program reads them.
    HeaderFields fields{};
    ParseHeader(header, fields);
    report.dual = fields.dual;
    report.caseSensitive = fields.caseSensitive;
}

CheckReport CheckDictionary(const std::string& folder) {
    CheckReport report;
    report.folderMissing = !PlatformIsFolder(folder.c_str());
    FindLeftovers(folder, report);
    // A dictionary whose first import was cut short never existed: what the
    // import left is all there is to check.
    if (report.folderMissing) return report;
    CheckHeader(folder, report);
    CheckLetterFiles(folder, report);
    return report;
}

// The header as the program reads it: what the file holds over the
// defaults, the name cut to fit with its terminator; a header without a
// name takes the folder's, as a new dictionary does.
static bool RepairHeader(const std::string& folder, std::vector<std::string>& notes) {
    std::string path = HeaderPath(folder);
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
        notes.push_back(CheckFile(folder, kHeaderFileName) + ": cannot be written");
        return false;
    }
    notes.push_back(CheckFile(folder, kHeaderFileName) + ": rewritten, 192 bytes, name " + CheckQuote(name) +
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

static bool RepairLetters(const std::string& folder, CaseRule rule, std::vector<std::string>& notes) {
    LetterFiles loaded;
    if (!LoadLetters(folder, loaded, notes)) return false;
    DictionaryBuild build;
    build.rule = rule;
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
        notes.push_back(CheckFile(folder, kHeaderFileName) +
                        ": not repaired: without a header the case rule of the letter files is unknown, "
                        "so nothing was changed");
        return false;
    }
    bool ok = true;
    if (report.headerNeedsRepair) ok = RepairHeader(folder, notes) && ok;
    if (report.lettersNeedRepair) ok = RepairLetters(folder, report.Rule(), notes) && ok;
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

CheckRun RunCheck(const std::string& folder, bool fix) {
    CheckRun run;
    // No writer changes the files while they are checked and repaired.
    std::unique_ptr<DictionaryWriteLock> lock = LockFolder(folder, run.busy);
    if (run.busy) return run;
    // A folder whose lock file cannot be made (read-only) is still checked;
    // nothing can change it then.
    run.found = CheckDictionary(folder);
    if (run.found.problems.empty() || !fix) return run;
    CheckReport current = run.found;
    if (AnyLeftovers(run.found.leftovers)) {
        RemoveLeftovers(folder, run.found.leftovers, run.fixNotes);
        // A finished import may just have made the folder.
        bool busy = false;
        if (!lock) lock = LockFolder(folder, busy);
        current = CheckDictionary(folder);
    }
    if (!current.problems.empty()) RepairDictionary(folder, current, run.fixNotes);
    run.repaired = true;
    run.after = CheckDictionary(folder);
    return run;
}
