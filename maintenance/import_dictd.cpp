// The DICT server database: NAME.index (headword TAB offset TAB length, the
// numbers in dictd's base 64) and the definitions in NAME.dict or the
// dictzip file NAME.dict.dz.
#include <cstdint>

#include "maintenance/import_sources.h"
#include "maintenance/import_text.h"

static bool DecodeDictdNumber(const std::string& digits, uint64_t& value) {
    static const std::string kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (digits.empty() || digits.size() > 10) return false;
    value = 0;
    for (char c : digits) {
        size_t digit = kDigits.find(c);
        if (digit == std::string::npos) return false;
        value = value * 64 + digit;
    }
    return true;
}

static std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// dictfmt's own entries (00-database-info, ...) describe the database.
static bool IsDatabaseEntry(const std::string& word) {
    return word.compare(0, 10, "00database") == 0 || word.compare(0, 11, "00-database") == 0;
}

struct IndexLine {
    std::string word;
    uint64_t offset, length;
    std::string where;   // "NAME.index line N"
};

// The index, checked line by line, without the database's own entries.
static bool ReadIndex(const std::string& indexPath, std::vector<IndexLine>& lines, std::string& error) {
    std::string index;
    if (!ReadWholeFile(indexPath, index, error)) return false;
    std::string indexName = FileNameOf(indexPath);
    size_t lineNumber = 0;
    for (size_t start = 0; start < index.size();) {
        ++lineNumber;
        size_t end = index.find('\n', start);
        std::string where = indexName + " line " + std::to_string(lineNumber);
        if (end == std::string::npos) {
            error = where + ": the file ends in the middle of a line (cut short?)";
            return false;
        }
        std::string line = index.substr(start, end - start);
        size_t lineStart = start;
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t bad = FindInvalidUtf8(line);
        if (bad != std::string::npos) {
            error = where + ": invalid UTF-8 at byte " + std::to_string(lineStart + bad);
            return false;
        }
        std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() < 3) {
            error = where + ": expected a word, an offset and a length separated by tabs";
            return false;
        }
        uint64_t offset, length;
        if (!DecodeDictdNumber(fields[1], offset) || !DecodeDictdNumber(fields[2], length)) {
            error = where + ": the offset or length is not a dictd number";
            return false;
        }
        if (IsDatabaseEntry(fields[0])) continue;
        // A fourth field keeps the headword as written where the first is normalised.
        lines.push_back({fields.size() > 3 && !fields[3].empty() ? fields[3] : fields[0], offset, length, where});
    }
    return true;
}

bool ReadDictdSource(const std::string& indexPath, std::vector<SourceRecord>& out, std::string& error) {
    std::vector<IndexLine> lines;
    if (!ReadIndex(indexPath, lines, error)) return false;
    // The data is read where the index points, and nowhere else.
    NeededData data;
    for (const IndexLine& line : lines) data.Need(line.offset, line.length);
    std::string base = indexPath;
    if (base.size() > 6 && base.compare(base.size() - 6, 6, ".index") == 0) base.resize(base.size() - 6);
    std::string dataPath;
    if (!data.Read(base + ".dict", dataPath, error)) return false;
    std::string dataName = FileNameOf(dataPath);
    bool compressed = dataPath.size() > 3 && dataPath.compare(dataPath.size() - 3, 3, ".dz") == 0;

    for (const IndexLine& line : lines) {
        if (!data.Within(line.offset, line.length, dataPath, "'" + line.word + "' (" + line.where + ")", error))
            return false;
        SourceRecord record;
        record.word = line.word;
        record.text = data.Bytes(line.offset, line.length);
        size_t bad = FindInvalidUtf8(record.text);
        if (bad != std::string::npos) {
            error = dataName + ": invalid UTF-8 at " + (compressed ? "uncompressed " : "") + "byte " +
                    std::to_string(line.offset + bad) + " (entry '" + line.word + "', " + line.where + ")";
            return false;
        }
        out.push_back(std::move(record));
    }
    return true;
}
