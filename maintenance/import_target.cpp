#include "maintenance/import_target.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "maintenance/codepage.h"
#include "maintenance/import_staging.h"
#include "maintenance/letter_files.h"
#include "platform/files.h"
#include "storage/catalog.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "storage/dictionary_state.h"
#include "storage/staged_commit.h"

static std::string Shown(const std::string& folder, const std::string& file = "") {
    return Cp1251ToUtf8(folder) + (file.empty() ? "" : "/" + file);
}

// Every failure ends the import with one message.
static bool Fail(ImportOutcome& outcome, const std::string& message) {
    outcome.error = message;
    return false;
}

// The system's reason for the file operation that just failed.
static std::string Why() { return PlatformLastFileErrorNote(); }

enum class Placed { Done, NameTaken, Failed };

static bool AddSources(const ImportJob& job, DictionaryBuild& build, ImportOutcome& outcome) {
    std::string error;
    outcome.counts = ImportCounts{};
    if (AddImportedEntries(job.sources, build, outcome.counts, error)) return true;
    return Fail(outcome, error + ". Nothing was written.");
}

// The letters whose files the import changes.
static std::vector<unsigned char> ChangedLetters(const DictionaryBuild& build) {
    std::vector<unsigned char> letters;
    for (int letter = 1; letter <= 0xFF; ++letter)
        if (!build.added[letter].empty()) letters.push_back(static_cast<unsigned char>(letter));
    return letters;
}

// ---- A new dictionary.

static std::string CreateStagingFolder(const std::string& folder) {
    std::mt19937_64 random(std::random_device{}() ^
                           static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        std::string staging = NewDictionaryStagingPrefix(folder) + suffix;
        if (PlatformCreateFolder(staging.c_str())) return staging;
        if (!PlatformNameExists(staging.c_str())) break;
    }
    return std::string();
}

// Every letter file, then the header: a staging folder with a header is complete.
static bool WriteStagedDictionary(const std::string& staging, const ImportJob& job, const DictionaryBuild& build,
                                  ImportOutcome& outcome) {
    DictionaryWriteLock lock(staging.c_str());
    if (!lock.Held()) return Fail(outcome, "cannot lock " + Shown(staging) + Why() + ". Nothing was written.");
    for (unsigned char letter : ChangedLetters(build)) {
        std::string bytes = BuildLetterBytes(build, letter);
        if (!PlatformWriteFileAtomic(LetterPath(staging, letter).c_str(), bytes.data(), bytes.size()))
            return Fail(outcome,
                        "cannot write " + Shown(staging, LetterFileName(letter)) + Why() + ". Nothing was written.");
        ++outcome.lettersWritten;
    }
    unsigned char header[kHeaderSize];
    BuildHeader(header, job.name.c_str(), job.dual, job.caseSensitive, DefaultFont, DefaultFont);
    if (!PlatformWriteFileAtomic(HeaderPath(staging).c_str(), header, sizeof header))
        return Fail(outcome, "cannot write " + Shown(staging, kHeaderFileName) + Why() + ". Nothing was written.");
    return true;
}

static Placed MakeNewDictionary(const ImportJob& job, ImportOutcome& outcome) {
    DictionaryBuild build;
    build.rule = CaseRuleOf(job.caseSensitive);
    if (!AddSources(job, build, outcome)) return Placed::Failed;
    std::string staging;
    bool complete = false;
    // Until it is locked, a new folder is as empty as one a killed import
    // left, and another import or a check may remove it: then another is made.
    for (int attempt = 0; attempt < 3 && !complete; ++attempt) {
        staging = CreateStagingFolder(job.folder);
        if (staging.empty()) {
            Fail(outcome, "cannot create a folder for the new dictionary beside " + Shown(job.folder) + Why() +
                              ". Nothing was written.");
            return Placed::Failed;
        }
        outcome.lettersWritten = 0;
        // The lock on the staging folder ends before the move: a folder with
        // an open file in it cannot be moved on Windows.
        complete = WriteStagedDictionary(staging, job, build, outcome);
        if (PlatformIsFolder(staging.c_str())) break;
    }
    if (complete && PlatformMoveToNewName(staging.c_str(), job.folder.c_str())) return Placed::Done;
    const std::string why = Why();
    RemoveFolderAndItsFiles(staging);
    if (!complete) return Placed::Failed;
    if (PlatformNameExists(job.folder.c_str())) return Placed::NameTaken;
    Fail(outcome, "cannot give the new dictionary its name " + Shown(job.folder) + why + ". Nothing was written.");
    return Placed::Failed;
}

// ---- A dictionary that exists.

// The letter files as they stand, and the version of each that the change
// replaces. False, with a message, when one of them is not sound enough
// to be merged with or cannot be read.
static bool LoadExisting(const std::string& folder, DictionaryBuild& build, FileVersion versions[256],
                         ImportOutcome& outcome) {
    LetterFiles files;
    ReadLetterFiles(folder, files);
    // Merging with nothing would write over entries that are there.
    if (files.unreadable)
        return Fail(outcome,
                    Shown(folder, LetterFileName(files.unreadable)) + " cannot be read. Nothing was written.");
    for (int letter = 1; letter <= 0xFF; ++letter) {
        versions[letter] = files.versions[letter];
        std::vector<RawEntry> entries;
        std::string problem;
        size_t offset = 0;
        if (!ParseLetterEntries(files.bytes[letter], entries, problem, offset))
            return Fail(outcome, Shown(folder, LetterFileName(static_cast<unsigned char>(letter))) + " offset " +
                                     std::to_string(offset) + ": " + problem + "; run 'dictionary-tool check --dict " +
                                     Cp1251ToUtf8(folder) + " --fix' first. Nothing was written.");
        std::string().swap(files.bytes[letter]);   // the build holds the entries now
        for (const RawEntry& entry : entries)
            AddExistingEntry(build, static_cast<unsigned char>(letter), entry.word, entry.description);
    }
    return true;
}

static std::string RecoveryNote(const std::string& folder, const CommitRecovery& recovery) {
    std::string shown = Shown(folder);
    switch (recovery.outcome) {
    case CommitRecovery::NothingLeft: return std::string();
    case CommitRecovery::Finished: return "note: " + shown + ": a change that was cut short has been finished first";
    case CommitRecovery::Undone: return "note: " + shown + ": a change that was cut short has been undone first";
    case CommitRecovery::CannotTidy: break;
    }
    return "note: " + shown + ": a change that was cut short could not be tidied away";
}

static bool ExtendDictionary(const ImportJob& job, ImportOutcome& outcome) {
    const std::string& folder = job.folder;
    if (!PlatformIsFolder(folder.c_str()))
        return Fail(outcome, Shown(folder) + " exists and is not a folder. Nothing was written.");
    DictionaryWriteLock lock(folder.c_str());
    if (lock.Busy())
        return Fail(outcome, Shown(folder) + " is being changed by another program; try again when it is done. "
                                             "Nothing was written.");
    if (!lock.Held())
        return Fail(outcome, Shown(folder) + " cannot be written" + Why() + ". Nothing was written.");
    std::string note = RecoveryNote(folder, FinishInterruptedCommit(folder.c_str()));
    if (!note.empty()) outcome.notes.push_back(note);

    std::vector<unsigned char> header;
    FileReadOutcome headerRead = PlatformReadWholeFile(HeaderPath(folder).c_str(), header);
    bool haveHeader = headerRead == FileReadOutcome::Read;
    if (headerRead == FileReadOutcome::Unreadable)
        return Fail(outcome, Shown(folder, kHeaderFileName) + " cannot be read" + Why() + ". Nothing was written.");
    int32_t caseSensitive = job.caseSensitive;
    if (haveHeader) {
        // The case rule as the program reads it from the header.
        HeaderFields fields{};
        ParseHeader(header, fields);
        int32_t storedCase = fields.caseSensitive;
        if ((storedCase != 0) != (caseSensitive != 0) || job.nameGiven)
            outcome.notes.push_back("note: " + Shown(folder) + " exists; its header keeps its name and its " +
                                    (storedCase ? "case-sensitive" : "case-insensitive") + " comparison");
        caseSensitive = storedCase ? 1 : 0;
    }
    DictionaryBuild build;
    build.rule = CaseRuleOf(caseSensitive);
    FileVersion versions[256];
    if (!LoadExisting(folder, build, versions, outcome) || !AddSources(job, build, outcome)) return false;

    // Every changed file is staged before the first is replaced; a new
    // header comes last, so the dictionary is listed only once complete.
    StagedCommit commit(folder);
    outcome.lettersWritten = 0;
    for (unsigned char letter : ChangedLetters(build)) {
        if (!commit.Stage(LetterFileName(letter), BuildLetterBytes(build, letter), versions[letter]))
            return Fail(outcome, "cannot write beside " + Shown(folder, LetterFileName(letter)) + Why() +
                                     ". Nothing was written.");
        ++outcome.lettersWritten;
    }
    if (!haveHeader) {
        unsigned char bytes[kHeaderSize];
        BuildHeader(bytes, job.name.c_str(), job.dual, caseSensitive, DefaultFont, DefaultFont);
        if (!commit.Stage(kHeaderFileName, std::string(reinterpret_cast<char*>(bytes), sizeof bytes), FileVersion{}))
            return Fail(outcome,
                        "cannot write beside " + Shown(folder, kHeaderFileName) + Why() + ". Nothing was written.");
    }
    if (commit.Commit()) return true;
    const std::string why = Why();
    if (!commit.ReadOnly().empty())
        return Fail(outcome, Shown(folder, commit.ReadOnly().front()) +
                                 " is marked read-only, so it is left as it is. Nothing was written.");
    if (!commit.ChangedMeanwhile().empty())
        return Fail(outcome, Shown(folder, commit.ChangedMeanwhile().front()) +
                                 " was changed by another program while the import ran. Nothing was written.");
    if (commit.MovedBeforeFailure() == 0)
        return Fail(outcome, "cannot write in " + Shown(folder) + why + ". Nothing was written.");
    return Fail(outcome, "cannot replace the files of " + Shown(folder) + " after " +
                             std::to_string(commit.MovedBeforeFailure()) + " of " + std::to_string(commit.Staged()) +
                             why + "; 'dictionary-tool check --dict " + Shown(folder) +
                             " --fix' finishes the import");
}

// The program lists so many dictionaries at most: one more would not show.
static bool CatalogueFull() {
    ResetDictionaryState();
    ListDictionaries();
    bool full = DictionaryCatalog.Count >= kCatalogSlots;
    ResetDictionaryState();
    return full;
}

// What earlier imports of the same dictionary left when they were killed:
// copies nobody would ever use. (One that was complete and is being given
// its name this very moment by an import about to end loses the race; that
// import then adds its entries to the dictionary this one makes.)
static void RemoveAbandonedImports(const std::string& folder, ImportOutcome& outcome) {
    for (const AbandonedImport& import : FindAbandonedImports(folder)) {
        unsigned long long bytes = 0;
        for (const FolderItem& item : PlatformListFolder(import.folder.c_str()))
            if (!item.isDirectory) bytes += item.size;
        if (RemoveAbandonedImport(import))
            outcome.notes.push_back("note: removed " + Shown(import.folder) + " (" + std::to_string(bytes) +
                                    " bytes), left by an import into " + Shown(folder) + " that was cut short");
    }
}

bool RunImport(const ImportJob& job, ImportOutcome& outcome) {
    RemoveAbandonedImports(job.folder, outcome);
    Placed placed = Placed::NameTaken;
    if (!PlatformNameExists(job.folder.c_str()) && CatalogueFull())
        return Fail(outcome, "the program folder holds " + std::to_string(kCatalogSlots) +
                                 " dictionaries, the most the program lists, so " + Shown(job.folder) +
                                 " would never be shown. Nothing was written.");
    if (!PlatformNameExists(job.folder.c_str())) {
        placed = MakeNewDictionary(job, outcome);
        if (placed == Placed::NameTaken)
            outcome.notes.push_back("note: " + Shown(job.folder) +
                                    " appeared while the import ran; the entries are added to it");
    }
    if (placed == Placed::NameTaken) placed = ExtendDictionary(job, outcome) ? Placed::Done : Placed::Failed;
    return placed == Placed::Done;
}
