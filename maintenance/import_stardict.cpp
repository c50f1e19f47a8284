// StarDict: NAME.ifo (the description of the book), NAME.idx (headword NUL,
// offset and size as big-endian numbers) and the definitions in NAME.dict
// or NAME.dict.dz, made of typed fields.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "maintenance/codepage.h"
#include "maintenance/import_sources.h"
#include "maintenance/import_text.h"
#include "platform/files.h"
#include "storage/text_case.h"

static bool ParseIfo(const std::string& path, const std::string& text,
                     std::map<std::string, std::string>& values, std::string& error) {
    std::string name = FileNameOf(path);
    size_t lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1) {
            if (line != "StarDict's dict ifo file") {
                error = name + " line 1: not a StarDict ifo file";
                return false;
            }
            continue;
        }
        size_t equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    if (lineNumber == 0) {
        error = name + ": empty, not a StarDict ifo file";
        return false;
    }
    return true;
}

static bool ParseCount(const std::map<std::string, std::string>& values, const char* key, uint64_t& out) {
    auto found = values.find(key);
    if (found == values.end() || found->second.empty()) return false;
    char* end = nullptr;
    out = std::strtoull(found->second.c_str(), &end, 10);
    return end && *end == '\0';
}

static uint64_t BigEndian(const std::string& bytes, size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Text of the markup field types (Pango, HTML, XDXF): tags dropped, line
// breaks kept, the common entities decoded.
static std::string StripMarkup(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '<') {
            size_t close = text.find('>', i);
            if (close == std::string::npos) break;
            std::string tag = text.substr(i + 1, close - i - 1);
            for (char& t : tag) t = static_cast<char>(AsciiLower(static_cast<unsigned char>(t)));
            if (tag.compare(0, 2, "br") == 0 || tag == "/p" || tag == "/div" || tag == "/li") out += '\n';
            i = close;
        } else if (c == '&') {
            size_t semicolon = text.find(';', i);
            std::string name = semicolon == std::string::npos ? "" : text.substr(i + 1, semicolon - i - 1);
            static const std::map<std::string, std::string> kEntities = {
                {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
            auto known = kEntities.find(name);
            if (known != kEntities.end()) {
                out += known->second;
                i = semicolon;
            } else if (name.size() > 1 && name[0] == '#') {
                bool hex = name[1] == 'x' || name[1] == 'X';
                unsigned long code = std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
                if (code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF))
                    AppendUtf8(out, static_cast<char32_t>(code));
                i = semicolon;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
    return out;
}

static void TakeField(char type, const std::string& value, SourceRecord& record) {
    std::string text;
    switch (type) {
    case 'm': case 'l': case 'w':
        text = value;
        break;
    case 'g': case 'h': case 'x':
        text = StripMarkup(value);
        break;
    case 't':
        if (record.pronunciation.empty()) record.pronunciation = value;
        return;
    default:
        return;   // pictures, sounds, resource lists: nothing to show as text
    }
    if (!record.text.empty()) record.text += '\n';
    record.text += text;
}

// The typed fields of one definition, from `at` to `end` of the data. With a
// type sequence given once in the ifo the types are not stored; the last
// field then runs to the end of the definition.
static bool ReadFields(const std::string& data, size_t at, size_t end, const std::string& sequence,
                       SourceRecord& record, std::string& problem, size_t& problemAt) {
    size_t field = 0;
    while (at < end) {
        char type;
        if (!sequence.empty()) {
            if (field >= sequence.size()) break;
            type = sequence[field];
        } else {
            type = data[at++];
            if (at > end) break;
        }
        bool last = !sequence.empty() && field + 1 == sequence.size();
        ++field;
        std::string value;
        if (std::isupper(static_cast<unsigned char>(type))) {
            if (last) {
                value = data.substr(at, end - at);
                at = end;
            } else {
                if (end - at < 4) {
                    problem = "a field size runs past the end of the definition";
                    problemAt = at;
                    return false;
                }
                uint64_t size = BigEndian(data, at, 4);
                at += 4;
                if (size > end - at) {
                    problem = "a field runs past the end of the definition";
                    problemAt = at;
                    return false;
                }
                at += size;   // binary data: nothing of it is kept
            }
            continue;
        }
        size_t stop = end;
        if (!last) {
            size_t nul = data.find('\0', at);
            if (nul == std::string::npos || nul >= end) {
                if (sequence.empty()) nul = end;   // the last field may lack its NUL
                else {
                    problem = "a field has no terminating NUL within the definition";
                    problemAt = at;
                    return false;
                }
            }
            stop = nul;
        }
        value = data.substr(at, stop - at);
        size_t bad = FindInvalidUtf8(value);
        if (bad != std::string::npos) {
            problem = "invalid UTF-8";
            problemAt = at + bad;
            return false;
        }
        TakeField(type, value, record);
        at = stop < end ? stop + 1 : end;
    }
    return true;
}

bool ReadStardictSource(const std::string& ifoPath, std::vector<SourceRecord>& out, std::string& error) {
    std::string ifo;
    if (!ReadWholeFile(ifoPath, ifo, error)) return false;
    std::map<std::string, std::string> values;
    if (!ParseIfo(ifoPath, ifo, values, error)) return false;
    std::string ifoName = FileNameOf(ifoPath);
    uint64_t wordCount = 0, idxFileSize = 0;
    if (!ParseCount(values, "wordcount", wordCount)) {
        error = ifoName + ": no wordcount";
        return false;
    }
    bool haveIdxSize = ParseCount(values, "idxfilesize", idxFileSize);
    size_t offsetSize = values["idxoffsetbits"] == "64" ? 8 : 4;
    std::string sequence = values["sametypesequence"];

    std::string base = ifoPath;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".ifo") == 0) base.resize(base.size() - 4);
    std::string idx, idxPath;
    {
        std::string plainError;
        if (!ReadWholeFile(base + ".idx", idx, plainError)) {
            if (!SourceFileExists(base + ".idx.gz")) {
                error = "neither " + base + ".idx nor " + base + ".idx.gz can be opened";
                return false;
            }
            // One byte more than the ifo says, so that a longer file shows.
            uint64_t needed = haveIdxSize ? idxFileSize + 1 : UINT64_MAX;
            if (!InflateGzipFile(base + ".idx.gz", idx, error, needed)) return false;
            idxPath = base + ".idx.gz";
        } else {
            idxPath = base + ".idx";
        }
    }
    std::string idxName = FileNameOf(idxPath);
    if (haveIdxSize && idx.size() != idxFileSize) {
        error = idxName + ": " + std::to_string(idx.size()) + " bytes where " + ifoName + " says " +
                std::to_string(idxFileSize) + (idx.size() < idxFileSize ? " (cut short?)" : "");
        return false;
    }

    struct IdxEntry {
        std::string word;
        uint64_t offset, size;
        size_t number, at;   // in the idx, for messages
        std::string Where(const std::string& idxName) const {
            return idxName + " entry " + std::to_string(number) + " at byte " + std::to_string(at);
        }
    };
    std::vector<IdxEntry> entries;
    NeededData data;
    for (size_t at = 0; at < idx.size();) {
        // An index that unpacks to far more entries than the ifo counts is
        // not read to its end.
        if (entries.size() == wordCount) {
            error = idxName + ": holds more entries than the " + std::to_string(wordCount) + " " + ifoName + " says";
            return false;
        }
        const size_t number = entries.size() + 1;
        size_t nul = idx.find('\0', at);
        if (nul == std::string::npos || idx.size() - nul - 1 < offsetSize + 4) {
            error = IdxEntry{"", 0, 0, number, at}.Where(idxName) + ": cut short (the file ends inside the entry)";
            return false;
        }
        std::string word = idx.substr(at, nul - at);
        size_t bad = FindInvalidUtf8(word);
        if (bad != std::string::npos) {
            error = idxName + ": invalid UTF-8 at byte " + std::to_string(at + bad);
            return false;
        }
        uint64_t offset = BigEndian(idx, nul + 1, offsetSize);
        uint64_t size = BigEndian(idx, nul + 1 + offsetSize, 4);
        data.Need(offset, size);
        entries.push_back({std::move(word), offset, size, number, at});
        at = nul + 1 + offsetSize + 4;
    }
    if (entries.size() != wordCount) {
        error = idxName + ": holds " + std::to_string(entries.size()) + " entries where " + ifoName + " says " +
                std::to_string(wordCount);
        return false;
    }

    std::string dataPath;
    if (!data.Read(base + ".dict", dataPath, error)) return false;
    std::string dataName = FileNameOf(dataPath);
    bool compressed = dataPath.size() > 3 && dataPath.compare(dataPath.size() - 3, 3, ".dz") == 0;
    for (const IdxEntry& entry : entries) {
        if (!data.Within(entry.offset, entry.size, dataPath, "'" + entry.word + "' (" + entry.Where(idxName) + ")",
                         error))
            return false;
        SourceRecord record;
        record.word = entry.word;
        std::string problem;
        size_t problemAt = 0;
        const std::string definition = data.Bytes(entry.offset, entry.size);
        if (!ReadFields(definition, 0, definition.size(), sequence, record, problem, problemAt)) {
            error = dataName + ": " + problem + " at " + (compressed ? "uncompressed " : "") + "byte " +
                    std::to_string(entry.offset + problemAt) + " (entry '" + entry.word + "')";
            return false;
        }
        out.push_back(std::move(record));
    }
    return true;
}
