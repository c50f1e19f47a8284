// Tab-separated text: word TAB description, one entry a line, UTF-8. The
// escapes (\n for a line break, \r, \t, \\, \xHH) are undone by the layout.
#include "maintenance/import_sources.h"
#include "maintenance/import_text.h"

// A line ends in LF, CR LF or a CR alone (older Mac text): the escapes
// carry every line break inside an entry, so a raw CR is never part of one.
static size_t LineEnd(const std::string& text, size_t start, size_t& next) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
        next = text.size();
        return text.size();
    }
    next = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    return end;
}

bool ReadTsvSource(const std::string& path, std::vector<SourceRecord>& out, std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text, error)) return false;
    std::string name = FileNameOf(path);
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    size_t lineNumber = 0;
    while (start < text.size()) {
        ++lineNumber;
        size_t next;
        size_t end = LineEnd(text, start, next);
        size_t bad = FindInvalidUtf8(text, start, end);
        if (bad != std::string::npos) {
            error = name + " line " + std::to_string(lineNumber) + ": invalid UTF-8 at byte " +
                    std::to_string(bad);
            return false;
        }
        std::string line = text.substr(start, end - start);
        start = next;
        if (line.empty()) continue;
        SourceRecord record;
        size_t tab = line.find('\t');
        record.word = line.substr(0, tab);
        if (tab != std::string::npos) record.text = line.substr(tab + 1);
        out.push_back(std::move(record));
    }
    return true;
}
