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
// There is a file or folder of that name.
bool SourceFileExists(const std::string& path);
// The most the importer unpacks from one compressed file: the trailer of a
// gzip file is never trusted, and a small file may unpack to gigabytes.
constexpr uint64_t kLargestInflated = uint64_t(1) << 30;
// A gzip (or dictzip) file's uncompressed bytes, the first `needed` of them
// at most, unpacked as a stream; a message with the byte offset in the
// compressed file when the data is broken, and a refusal when it unpacks to
// more than kLargestInflated.
bool InflateGzipFile(const std::string& path, std::string& out, std::string& error, uint64_t needed = UINT64_MAX);

// The parts of a data file (dictd's .dict, StarDict's .dict) that the
// entries of an index point at, and nothing else: read from the plain file,
// or unpacked from the compressed one as a stream as far as the last part
// and no further. Memory holds what the entries need, never what a file
// claims or unpacks to.
class NeededData {
public:
    // An entry's definition: `length` bytes at `offset`.
    void Need(uint64_t offset, uint64_t length);
    // Where the last definition ends.
    uint64_t Ends() const;
    // Reads the parts from `base`, or else from `base`.dz; `used` names the
    // one read. False, with a message, when neither can be read, when the
    // compressed data is broken, or when it would unpack past
    // kLargestInflated.
    bool Read(const std::string& base, std::string& used, std::string& error);
    // False, with a message naming the entry ("'word' (where)"), when the
    // definition runs past the end of the data read from `dataPath`.
    bool Within(uint64_t offset, uint64_t length, const std::string& dataPath, const std::string& entry,
                std::string& error) const;
    // A definition that is Within.
    std::string Bytes(uint64_t offset, uint64_t length) const;

private:
    struct Part {
        uint64_t begin, end;
        std::string bytes;   // from begin on, as far as the data had them
    };
    void Merge();
    bool Take(uint64_t offset, const char* bytes, size_t size, size_t& next);
    const std::string* Find(uint64_t offset, uint64_t length, uint64_t& at) const;
    std::vector<Part> parts_;
    uint64_t end_ = 0;
    uint64_t size_ = 0;   // of the data, as far as it was read
};
// "1 GiB", "64 MiB" or "N bytes", for messages.
std::string SizeText(uint64_t bytes);
// A path's last component, for messages.
std::string FileNameOf(const std::string& path);
