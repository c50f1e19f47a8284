#include "maintenance/import_entries.h"

#include <unordered_map>

#include "maintenance/import_layout.h"
#include "storage/text_case.h"

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

static void AddReverse(ReverseIndex& reverse, const LaidOutEntry& entry, CaseRule rule) {
    if (entry.word.empty() || entry.description.empty()) return;
    std::string headword = FoldString(entry.word.c_str(), rule);
    for (const std::string& translation : entry.translations) {
        std::string key = FoldString(translation.c_str(), rule);
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

bool AddImportedEntries(const ImportSources& sources, DictionaryBuild& build, ImportCounts& counts,
                        std::string& error) {
    ReverseIndex reverse;
    for (const std::string& source : sources.paths) {
        std::vector<SourceRecord> records;
        bool ok = sources.format == SourceFormat::Dictd      ? ReadDictdSource(source, records, error)
                  : sources.format == SourceFormat::Stardict ? ReadStardictSource(source, records, error)
                                                             : ReadTsvSource(source, records, error);
        if (!ok) return false;
        size_t bytes = 0;
        for (const SourceRecord& record : records) bytes += record.word.size() + record.text.size() + 2;
        ReserveBuild(build, build.start.size() + records.size() * (sources.dual ? 3 : 1),
                     build.text.size() + bytes * (sources.dual ? 2 : 1));
        counts.read += records.size();
        const ImportCounts before = counts;
        for (const SourceRecord& record : records) {
            LaidOutEntry entry = LayOutRecord(record, sources.format, counts.text, sources.dual);
            Count(AddNewEntry(build, entry.word, entry.description), false, counts);
            if (sources.dual) AddReverse(reverse, entry, build.rule);
        }
        // An import that stores nothing from a source is no import: the file
        // is not what it was taken for, or it is hostile.
        if (counts.stored + counts.duplicate == before.stored + before.duplicate) {
            error = source + ": " +
                    (records.empty() ? std::string("holds no entry")
                                     : "no entry can be stored from it (" + std::to_string(records.size()) +
                                           " read; each needs a word of at most " + std::to_string(kLongestWord) +
                                           " bytes and a description)");
            return false;
        }
    }
    for (size_t i = 0; i < reverse.words.size(); ++i)
        Count(AddNewEntry(build, reverse.words[i], reverse.headwords[i]), true, counts);
    return true;
}
