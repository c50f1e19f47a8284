#include "tools/import_command.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <unordered_map>

#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "tools/codepage.h"
#include "tools/import_build.h"
#include "tools/import_layout.h"
#include "tools/import_sources.h"

static std::ostream& Complain(std::ostream& err) { return err << "dictionary-tool: import: "; }

static std::string HeaderPath(const std::string& folder) { return folder + "\\00.dat"; }

static std::string Shown(const std::string& folder, const std::string& file) {
    return Cp1251ToUtf8(folder) + "/" + file;
}

static std::string LetterName(unsigned char letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%02x.dat", letter);
    return name;
}

struct ImportCounts {
    unsigned long long read = 0, stored = 0, reverseStored = 0;
    unsigned long long emptyWord = 0, emptyDescription = 0, duplicate = 0, tooLong = 0;
};

static void Count(AddOutcome outcome, bool reverse, ImportCounts& counts) {
    switch (outcome) {
    case AddOutcome::Stored: ++(reverse ? counts.reverseStored : counts.stored); break;
    case AddOutcome::Duplicate: ++counts.duplicate; break;
    case AddOutcome::EmptyWord: ++counts.emptyWord; break;
    case AddOutcome::EmptyDescription: ++counts.emptyDescription; break;
    case AddOutcome::WordTooLong: ++counts.tooLong; break;
    }
}

// Reverse entries: each single translation, the headwords it translates,
// in the order the translations first appear.
struct ReverseIndex {
    std::unordered_map<std::string, size_t> byWord;   // folded translation
    std::vector<std::string> words;
    std::vector<std::string> headwords;
};

// Longer lists of headwords would only fill the window.
static const size_t kLongestReverseList = 2000;

static bool Listed(const std::string& list, const std::string& item) {
    for (size_t at = 0; at <= list.size();) {
        size_t end = list.find(", ", at);
        if (end == std::string::npos) end = list.size();
        if (list.compare(at, end - at, item) == 0) return true;
        at = end + 2;
    }
    return false;
}

static void AddReverse(ReverseIndex& reverse, const LaidOutEntry& entry) {
    if (entry.word.empty() || entry.description.empty()) return;
    std::string headword = FoldedCopy(entry.word.c_str());
    for (const std::string& translation : entry.translations) {
        std::string key = FoldedCopy(translation.c_str());
        if (key == headword) continue;
        auto found = reverse.byWord.emplace(key, reverse.words.size());
        if (found.second) {
            reverse.words.push_back(translation);
            reverse.headwords.push_back(entry.word);
            continue;
        }
        std::string& list = reverse.headwords[found.first->second];
        // The same headword twice (noun and verb) is listed once.
        if (list.size() + entry.word.size() < kLongestReverseList && !Listed(list, entry.word))
            list += ", " + entry.word;
    }
}

// The dictionary's letter files as they stand; false, with a message, when
// one of them is not sound enough to be merged with.
static bool LoadExisting(const std::string& folder, DictionaryBuild& build, std::ostream& err) {
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        if (!PlatformReadFile(LetterPath(folder.c_str(), static_cast<unsigned char>(letter)).c_str(), raw))
            continue;
        std::string bytes(raw.begin(), raw.end());
        std::vector<BuildEntry> entries;
        std::string problem;
        size_t offset = 0;
        if (!ParseLetterEntries(bytes, entries, problem, offset)) {
            Complain(err) << Shown(folder, LetterName(static_cast<unsigned char>(letter))) << " offset "
                          << offset << ": " << problem << "; run 'dictionary-tool check --dict "
                          << Cp1251ToUtf8(folder) << " --fix' first. Nothing was written." << kToolLineEnd;
            return false;
        }
        for (const BuildEntry& entry : entries)
            AddExistingEntry(build, static_cast<unsigned char>(letter), entry.word, entry.description);
    }
    return true;
}

int ImportCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--to", true}, {"--name", true}, {"--dual", false}, {"--case-sensitive", false}},
                          options, io.err))
        return kExitUsage;
    if (options.operands.size() < 2) {
        Complain(io.err) << "needs a format (dictd, stardict or tsv) and at least one source file" << kToolLineEnd;
        return kExitUsage;
    }
    const std::string& formatName = options.operands[0];
    SourceFormat format;
    if (formatName == "dictd") format = SourceFormat::Dictd;
    else if (formatName == "stardict") format = SourceFormat::Stardict;
    else if (formatName == "tsv") format = SourceFormat::Tsv;
    else {
        Complain(io.err) << "unknown format '" << formatName << "' (dictd, stardict or tsv)" << kToolLineEnd;
        return kExitUsage;
    }
    if (!options.Has("--to")) {
        Complain(io.err) << "needs --to FOLDER, the dictionary to make or add to" << kToolLineEnd;
        return kExitUsage;
    }
    std::string folder, name;
    if (!ToolDictionaryFolder(options.Value("--to", ""), folder, io.err)) return kExitUsage;
    if (folder[0] == '.') {
        // The program lists no folder whose name begins with a dot.
        Complain(io.err) << "'" << options.Value("--to", "")
                         << "' begins with '.', and the program never lists such a folder" << kToolLineEnd;
        return kExitUsage;
    }
    if (!ToolArgumentToCp1251(options.Value("--name", options.Value("--to", "")), name, io.err)) return kExitUsage;

    auto started = std::chrono::steady_clock::now();
    ResetToolState();

    std::vector<unsigned char> header;
    bool haveHeader = PlatformReadFile(HeaderPath(folder).c_str(), header);
    int32_t dual = options.Has("--dual") ? 1 : 0;
    int32_t caseSensitive = options.Has("--case-sensitive") ? 1 : 0;
    if (haveHeader) {
        int32_t storedCase = 0;
        if (header.size() >= 72) std::memcpy(&storedCase, header.data() + 68, 4);
        if ((storedCase != 0) != (caseSensitive != 0) || options.Has("--name"))
            io.out << "note: " << Cp1251ToUtf8(folder) << " exists; its header keeps its name and its "
                   << (storedCase ? "case-sensitive" : "case-insensitive") << " comparison" << kToolLineEnd;
        caseSensitive = storedCase ? 1 : 0;
    }
    std::snprintf(CurrentDictionary.Folder, sizeof CurrentDictionary.Folder, "%s", folder.c_str());
    CurrentDictionary.CaseSensitive = caseSensitive;

    DictionaryBuild build;
    if (!LoadExisting(folder, build, io.err)) {
        ResetToolState();
        return kExitCannotOpen;
    }
    // Everything is read and checked before anything is written.
    ImportCounts counts;
    TextCounts text;
    ReverseIndex reverse;
    for (size_t i = 1; i < options.operands.size(); ++i) {
        std::vector<SourceRecord> records;
        std::string error;
        std::string source = ToolUserPath(options.operands[i]);
        bool ok = format == SourceFormat::Dictd      ? ReadDictdSource(source, records, error)
                  : format == SourceFormat::Stardict ? ReadStardictSource(source, records, error)
                                                     : ReadTsvSource(source, records, error);
        if (!ok) {
            Complain(io.err) << error << ". Nothing was written." << kToolLineEnd;
            ResetToolState();
            return kExitCannotOpen;
        }
        size_t bytes = 0;
        for (const SourceRecord& record : records) bytes += record.word.size() + record.text.size() + 2;
        ReserveBuild(build, build.start.size() + records.size() * (dual ? 3 : 1),
                     build.text.size() + bytes * (dual ? 2 : 1));
        counts.read += records.size();
        for (const SourceRecord& record : records) {
            LaidOutEntry entry = LayOutRecord(record, format, text, dual != 0);
            Count(AddNewEntry(build, entry.word, entry.description), false, counts);
            if (dual) AddReverse(reverse, entry);
        }
    }
    for (size_t i = 0; i < reverse.words.size(); ++i)
        Count(AddNewEntry(build, reverse.words[i], reverse.headwords[i]), true, counts);

    if (!haveHeader) {
        if (!PlatformNameExists(folder.c_str()) && !PlatformCreateFolder(folder.c_str())) {
            Complain(io.err) << "cannot create the folder " << Cp1251ToUtf8(folder) << kToolLineEnd;
            ResetToolState();
            return kExitCannotOpen;
        }
        unsigned char bytes[kHeaderSize];
        BuildHeader(bytes, name.c_str(), dual, caseSensitive, DefaultFont, DefaultFont);
        if (!PlatformWriteFileAtomic(HeaderPath(folder).c_str(), bytes, sizeof bytes)) {
            Complain(io.err) << "cannot write " << Shown(folder, "00.dat") << kToolLineEnd;
            ResetToolState();
            return kExitCannotOpen;
        }
    }
    int written = 0;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        if (build.added[letter].empty()) continue;
        std::string bytes = BuildLetterBytes(build, static_cast<unsigned char>(letter));
        std::string path = LetterPath(folder.c_str(), static_cast<unsigned char>(letter));
        if (!PlatformWriteFileAtomic(path.c_str(), bytes.data(), bytes.size())) {
            // Each file is replaced whole or not at all: the ones before are complete.
            Complain(io.err) << "cannot write " << Shown(folder, LetterName(static_cast<unsigned char>(letter)))
                             << "; " << written << " letter files were written before it, the rest not"
                             << kToolLineEnd;
            ResetToolState();
            return kExitCannotOpen;
        }
        ++written;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ResetToolState();

    const char* nl = kToolLineEnd;
    io.out << "read: " << counts.read << " entries" << nl
           << "stored: " << counts.stored << " entries";
    if (dual) io.out << " and " << counts.reverseStored << " reverse entries";
    io.out << " in " << written << " letter files of " << Cp1251ToUtf8(folder) << nl
           << "skipped: " << counts.duplicate << " duplicate, " << counts.emptyWord << " empty word, "
           << counts.emptyDescription << " empty description, " << counts.tooLong << " word longer than "
           << kLongestWord << " bytes" << nl
           << "characters: " << text.marksRemoved << " accents removed, " << text.replaced << " replaced, "
           << text.dropped << " dropped" << nl;
    char time[32];
    std::snprintf(time, sizeof time, "%.2f", seconds);
    io.out << "time: " << time << " s" << nl;
    io.out.flush();
    return kExitOk;
}
