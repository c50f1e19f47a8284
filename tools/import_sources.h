// Readers of the formats the importer takes. Each reads the whole source
// into records, checking it as it goes: on a fault it stops with a message
// that names the file and the position, before anything is written.
#pragma once

#include <string>
#include <vector>

enum class SourceFormat { Dictd, Stardict, Tsv };

struct SourceRecord {
    std::string word;            // UTF-8, as the source spells it
    std::string text;            // UTF-8 definition (tsv: still escaped)
    std::string pronunciation;   // UTF-8, where the format keeps it apart
};

// NAME.index with NAME.dict or NAME.dict.dz beside it.
bool ReadDictdSource(const std::string& indexPath, std::vector<SourceRecord>& out, std::string& error);
// NAME.ifo with NAME.idx (or .idx.gz) and NAME.dict (or .dict.dz).
bool ReadStardictSource(const std::string& ifoPath, std::vector<SourceRecord>& out, std::string& error);
// word TAB description, one entry a line, UTF-8.
bool ReadTsvSource(const std::string& path, std::vector<SourceRecord>& out, std::string& error);

// The whole file; a message naming it when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& out, std::string& error);
// A gzip (or dictzip) file's uncompressed bytes; a message with the byte
// offset in the compressed file when the data is broken.
bool InflateGzipFile(const std::string& path, const std::string& compressed, std::string& out,
                     std::string& error);
// `base` itself, or else `base`.dz uncompressed; `used` names the one read.
bool ReadDataFile(const std::string& base, std::string& out, std::string& used, std::string& error);
// A path's last component, for messages.
std::string FileNameOf(const std::string& path);
