// Readers of the formats the importer takes. Each reads the whole source
// into records, checking it as it goes: on a fault it stops with a message
// that names the file and the position, before anything is written.
#pragma once

#include <cstdint>
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

// The whole file, named in UTF-8 as the user typed it (and so are the paths
// the readers above take); a message naming it when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& out, std::string& error);
// The most the importer unpacks from one compressed file: the trailer of a
// gzip file is never trusted, and a small file may unpack to gigabytes.
constexpr uint64_t kLargestInflated = uint64_t(1) << 30;
// A gzip (or dictzip) file's uncompressed bytes, the first `needed` of them
// at most (a data file is read only as far as its index points); a message
// with the byte offset in the compressed file when the data is broken, and
// a refusal when it unpacks to more than kLargestInflated.
bool InflateGzipFile(const std::string& path, const std::string& compressed, std::string& out,
                     std::string& error, uint64_t needed = UINT64_MAX);
// `base` itself, or else `base`.dz uncompressed as far as `needed` bytes;
// `used` names the one read.
bool ReadDataFile(const std::string& base, uint64_t needed, std::string& out, std::string& used,
                  std::string& error);
// False, with a message naming the entry ("'word' (where)"), when the
// definition at `offset` runs past the end of the data read from `dataPath`.
bool WithinData(const std::string& data, uint64_t offset, uint64_t length, const std::string& dataPath,
                const std::string& entry, std::string& error);
// "1 GiB", "64 MiB" or "N bytes", for messages.
std::string SizeText(uint64_t bytes);
// A path's last component, for messages.
std::string FileNameOf(const std::string& path);
