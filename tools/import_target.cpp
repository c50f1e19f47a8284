#include "tools/import_target.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <random>

#include "platform/disk.h"
#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/dictionary_lock.h"
#include "storage/letter_file.h"
#include "storage/staged_commit.h"
#include "tools/codepage.h"
#include "tools/letter_files.h"
#include "tools/tool_commands.h"

static std::ostream& Complain(std::ostream& err) { return err << "dictionary-tool: import: "; }

static std::string Shown(const std::string& folder, const std::string& file = "") {
    return Cp1251ToUtf8(folder) + (file.empty() ? "" : "/" + file);
}

static std::string LetterName(unsigned char letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%02x.dat", letter);
    return name;
}

std::string NewDictionaryStagingPrefix(const std::string& folder) { return "." + folder + ".import-"; }

enum class Placed { Done, NameTaken, Failed };

static void UseFolder(const std::string& folder, int32_t caseSensitive) {
    ResetToolState();
    std::snprintf(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, "%s", folder.c_str());
    CurrentDictionary.CaseSensitive = caseSensitive;
}

static bool AddSources(const ImportJob& job, DictionaryBuild& build, ImportOutcome& outcome, std::ostream& err) {
    std::string error;
    outcome.counts = ImportCounts{};
    if (AddImportedEntries(job.sources, build, outcome.counts, error)) return true;
    Complain(err) << error << ". Nothing was written." << kToolLineEnd;
    return false;
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
                                  ImportOutcome& outcome, std::ostream& err) {
    DictionaryWriteLock lock(staging.c_str());
    if (!lock.Held()) {
        Complain(err) << "cannot lock " << Shown(staging) << ". Nothing was written." << kToolLineEnd;
        return false;
    }
    for (unsigned char letter : ChangedLetters(build)) {
        std::string bytes = BuildLetterBytes(build, letter);
        if (!PlatformWriteFileAtomic(LetterPath(staging.c_str(), letter).c_str(), bytes.data(), bytes.size())) {
            Complain(err) << "cannot write " << Shown(staging, LetterName(letter))
                          << " (is the disk full?). Nothing was written." << kToolLineEnd;
            return false;
        }
        ++outcome.lettersWritten;
    }
    unsigned char header[kHeaderSize];
    BuildHeader(header, job.name.c_str(), job.dual, job.caseSensitive, DefaultFont, DefaultFont);
    if (!PlatformWriteFileAtomic((staging + "\\00.dat").c_str(), header, sizeof header)) {
        Complain(err) << "cannot write " << Shown(staging, "00.dat") << " (is the disk full?). Nothing was written."
                      << kToolLineEnd;
        return false;
    }
    return true;
}

static Placed MakeNewDictionary(const ImportJob& job, ImportOutcome& outcome, std::ostream& err) {
    UseFolder(job.folder, job.caseSensitive);
    DictionaryBuild build;
    if (!AddSources(job, build, outcome, err)) return Placed::Failed;
    std::string staging = CreateStagingFolder(job.folder);
    if (staging.empty()) {
        Complain(err) << "cannot create a folder for the new dictionary beside " << Shown(job.folder)
                      << ". Nothing was written." << kToolLineEnd;
        return Placed::Failed;
    }
    outcome.lettersWritten = 0;
    // The lock on the staging folder ends before the move: a folder with an
    // open file in it cannot be moved on Windows.
    bool complete = WriteStagedDictionary(staging, job, build, outcome, err);
    if (complete && PlatformMoveToNewName(staging.c_str(), job.folder.c_str())) return Placed::Done;
    RemoveFolderAndItsFiles(staging);
    if (!complete) return Placed::Failed;
    if (PlatformNameExists(job.folder.c_str())) return Placed::NameTaken;
    Complain(err) << "cannot give the new dictionary its name " << Shown(job.folder) << ". Nothing was written."
                  << kToolLineEnd;
    return Placed::Failed;
}

// ---- A dictionary that exists.

// The letter files as they stand, and the version of each that the change
// replaces. False, with a message, when one of them is not sound enough
// to be merged with or cannot be read.
static bool LoadExisting(const std::string& folder, DictionaryBuild& build, FileVersion versions[256],
                         std::ostream& err) {
    LetterFiles files;
    ReadLetterFiles(folder, files);
    if (files.unreadable) {
        // Merging with nothing would write over entries that are there.
        Complain(err) << Shown(folder, LetterName(files.unreadable)) << " cannot be read. Nothing was written."
                      << kToolLineEnd;
        return false;
    }
    for (int letter = 1; letter <= 0xFF; ++letter) {
        versions[letter] = files.versions[letter];
        std::vector<BuildEntry> entries;
        std::string problem;
        size_t offset = 0;
        if (!ParseLetterEntries(files.bytes[letter], entries, problem, offset)) {
            Complain(err) << Shown(folder, LetterName(static_cast<unsigned char>(letter))) << " offset " << offset
                          << ": " << problem << "; run 'dictionary-tool check --dict " << Cp1251ToUtf8(folder)
                          << " --fix' first. Nothing was written." << kToolLineEnd;
            return false;
        }
        std::string().swap(files.bytes[letter]);   // the build holds the entries now
        for (const BuildEntry& entry : entries)
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

static bool ExtendDictionary(const ImportJob& job, ImportOutcome& outcome, std::ostream& err) {
    ResetToolState();
    const std::string& folder = job.folder;
    if (!PlatformIsFolder(folder.c_str())) {
        Complain(err) << Shown(folder) << " exists and is not a folder. Nothing was written." << kToolLineEnd;
        return false;
    }
    DictionaryWriteLock lock(folder.c_str());
    if (!lock.Held()) {
        Complain(err) << Shown(folder) << " is being changed by another program (or cannot be written); try again "
                      << "when it is done. Nothing was written." << kToolLineEnd;
        return false;
    }
    std::string note = RecoveryNote(folder, FinishInterruptedCommit(folder.c_str()));
    if (!note.empty()) outcome.notes.push_back(note);

    std::vector<unsigned char> header;
    FileReadOutcome headerRead = PlatformReadWholeFile((folder + "\\00.dat").c_str(), header);
    bool haveHeader = headerRead == FileReadOutcome::Read;
    if (headerRead == FileReadOutcome::Unreadable) {
        Complain(err) << Shown(folder, "00.dat") << " cannot be read. Nothing was written." << kToolLineEnd;
        return false;
    }
    int32_t caseSensitive = job.caseSensitive;
    if (haveHeader) {
        int32_t storedCase = 0;
        if (header.size() >= 72) std::memcpy(&storedCase, header.data() + 68, 4);
        if ((storedCase != 0) != (caseSensitive != 0) || job.nameGiven)
            outcome.notes.push_back("note: " + Shown(folder) + " exists; its header keeps its name and its " +
                                    (storedCase ? "case-sensitive" : "case-insensitive") + " comparison");
        caseSensitive = storedCase ? 1 : 0;
    }
    UseFolder(folder, caseSensitive);
    DictionaryBuild build;
    FileVersion versions[256];
    if (!LoadExisting(folder, build, versions, err) || !AddSources(job, build, outcome, err)) return false;

    // Every changed file is staged before the first is replaced; a new
    // header comes last, so the dictionary is listed only once complete.
    StagedCommit commit(folder);
    outcome.lettersWritten = 0;
    for (unsigned char letter : ChangedLetters(build)) {
        if (!commit.Stage(LetterName(letter), BuildLetterBytes(build, letter), versions[letter])) {
            Complain(err) << "cannot write beside " << Shown(folder, LetterName(letter))
                          << " (is the disk full?). Nothing was written." << kToolLineEnd;
            return false;
        }
        ++outcome.lettersWritten;
    }
    if (!haveHeader) {
        unsigned char bytes[kHeaderSize];
        BuildHeader(bytes, job.name.c_str(), job.dual, caseSensitive, DefaultFont, DefaultFont);
        if (!commit.Stage("00.dat", std::string(reinterpret_cast<char*>(bytes), sizeof bytes), FileVersion{})) {
            Complain(err) << "cannot write beside " << Shown(folder, "00.dat") << ". Nothing was written."
                          << kToolLineEnd;
            return false;
        }
    }
    if (commit.Commit()) return true;
    if (!commit.ReadOnly().empty()) {
        Complain(err) << Shown(folder, commit.ReadOnly().front())
                      << " is marked read-only, so it is left as it is. Nothing was written." << kToolLineEnd;
    } else if (!commit.ChangedMeanwhile().empty()) {
        Complain(err) << Shown(folder, commit.ChangedMeanwhile().front())
                      << " was changed by another program while the import ran. Nothing was written."
                      << kToolLineEnd;
    } else if (commit.MovedBeforeFailure() == 0) {
        Complain(err) << "cannot write in " << Shown(folder) << ". Nothing was written." << kToolLineEnd;
    } else {
        Complain(err) << "cannot replace the files of " << Shown(folder) << " after " << commit.MovedBeforeFailure()
                      << " of " << commit.Staged() << "; 'dictionary-tool check --dict " << Shown(folder)
                      << " --fix' finishes the import" << kToolLineEnd;
    }
    return false;
}

// The program lists so many dictionaries at most: one more would not show.
static bool CatalogueFull() {
    ResetToolState();
    ListDictionaries();
    bool full = CatalogCount >= kCatalogSlots;
    ResetToolState();
    return full;
}

int RunImport(const ImportJob& job, ImportOutcome& outcome, std::ostream& err) {
    Placed placed = Placed::NameTaken;
    if (!PlatformNameExists(job.folder.c_str()) && CatalogueFull()) {
        Complain(err) << "the program folder holds " << kCatalogSlots << " dictionaries, the most the program lists, so "
                      << Shown(job.folder) << " would never be shown. Nothing was written." << kToolLineEnd;
        return kExitCannotOpen;
    }
    if (!PlatformNameExists(job.folder.c_str())) {
        placed = MakeNewDictionary(job, outcome, err);
        if (placed == Placed::NameTaken)
            outcome.notes.push_back("note: " + Shown(job.folder) +
                                    " appeared while the import ran; the entries are added to it");
    }
    if (placed == Placed::NameTaken) placed = ExtendDictionary(job, outcome, err) ? Placed::Done : Placed::Failed;
    ResetToolState();
    return placed == Placed::Done ? kExitOk : kExitCannotOpen;
}
