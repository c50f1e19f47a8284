// The dictionary folder on disk: the names of its files, the 192-byte
// header "00.dat", and the letter files, which hold entries
// `word NUL description NUL` in sorted order. Everything that reads or
// writes these bytes goes by what is said here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/font_record.h"

// ---- Names inside a dictionary folder (and the one beside it).

extern const char kHeaderFileName[];     // "00.dat"
// The lock file that writers hold; it is not a dictionary file.
extern const char kWriterLockName[];     // "writer.lock"
// The subfolder that holds a change of several files in progress, and the
// journal inside it, present only once every staged file is complete.
extern const char kStagingFolderName[];  // ".staged"
extern const char kJournalName[];        // "journal"

// "FOLDER\00.dat"
std::string HeaderPath(const std::string& folder);
// "41.dat": the letter's byte in two lower-case hex digits.
std::string LetterFileName(unsigned char letter);
// "FOLDER\41.dat"
std::string LetterPath(const std::string& folder, unsigned char letter);
// "FOLDER\NAME"
std::string PathInFolder(const std::string& folder, const std::string& name);
// A name of the program folder (a dictionary's folder, the forms folder) as
// files are opened: inside `programFolder`, or as given when that is empty.
std::string ProgramFolderPath(const std::string& programFolder, const std::string& name);
// The last name of a path made by PathInFolder or ProgramFolderPath: a
// folder of the program folder by its name, as messages name it.
std::string LastName(const std::string& path);
// The header's or a letter file's name: two hex digits and ".dat".
bool IsDictionaryFileName(const std::string& name);
// A writer's temporary file: a dictionary file's name followed by ".tmp"
// and anything (the atomic write names them so).
bool IsWriterTempFileName(const char* name);
// The start of the name of the hidden folder beside the program's
// dictionaries in which a new dictionary FOLDER is made whole before it
// takes its name: ".FOLDER.import-".
std::string NewDictionaryStagingPrefix(const std::string& folder);

// The longest name of a dictionary's folder, its terminator counted, that
// the catalogue lists (storage/catalog.h) and a dictionary may be given.
constexpr int kCatalogFolderSize = 192;

// ---- What an entry may hold.

// A word is looked up through 255 bytes at most (deleting reads 255).
constexpr size_t kLongestWord = 255;
// A description: what the description edit reads (9,999 bytes with its
// terminator).
constexpr size_t kLongestDescription = 9998;

// ---- The header. Exactly 192 bytes, little-endian, no signature.

constexpr int kHeaderSize = 192;
constexpr int kHeaderNameSize = 64;      // NUL-terminated display name
constexpr size_t kHeaderNameOffset = 0;
constexpr size_t kHeaderDualOffset = 64;            // int32, non-zero: dual
constexpr size_t kHeaderCaseSensitiveOffset = 68;   // int32, non-zero: exact
constexpr size_t kHeaderWordFontOffset = 72;        // FontRecord
constexpr size_t kHeaderDescriptionFontOffset = 132;
static_assert(kHeaderDescriptionFontOffset + sizeof(FontRecord) == kHeaderSize, "the header is 192 bytes");

// Height 16, Cyrillic character set, "Times New Roman": new dictionaries
// get it for both fonts, and a header too short to hold a font keeps it.
extern const FontRecord DefaultFont;

struct HeaderFields {
    char name[kHeaderNameSize + 1];   // terminated even when the file's is not
    int32_t dual;
    int32_t caseSensitive;
    FontRecord wordFont;
    FontRecord descriptionFont;
};
// Reads the fields in turn from what `bytes` hold. The fonts start as
// DefaultFont; the name and the flags keep the values `fields` had where the
// bytes do not reach them (an empty file keeps even the name).
void ParseHeader(const std::vector<unsigned char>& bytes, HeaderFields& fields);
// The 192 header bytes for the given fields; the name is cut to 63 bytes.
void BuildHeader(unsigned char out[kHeaderSize], const char* name, int32_t dual, int32_t caseSensitive,
                 const FontRecord& wordFont, const FontRecord& descriptionFont);

// ---- The entries of a letter file.

// One entry as the bytes hold it. A string ends at its NUL, or at the end of
// the bytes when a damaged file lacks the last one.
struct LetterEntry {
    size_t offset;              // of the word
    size_t wordEnd;             // of the word's NUL, or the size
    bool hasDescription;        // some byte follows the word's NUL
    size_t descriptionOffset;   // the size when there is none
    size_t descriptionEnd;      // of the description's NUL, or the size
    size_t end;                 // where the next entry begins (at most the size)
    size_t WordLength() const { return wordEnd - offset; }
    size_t DescriptionLength() const { return descriptionEnd - descriptionOffset; }
};

enum class EntryWalk {
    // The look-up's walk: it stops at an empty word, and after the first
    // entry whose description is empty or missing. What lies beyond can
    // never be looked up.
    Strict,
    // Every word/description pair of the file, empty strings included, as
    // import, check, export and repair read it.
    Lenient,
};

// Walks the entries of `size` bytes (a held letter passes its file bytes,
// without the NUL it appends).
class LetterEntryWalker {
public:
    // `start`, when given, is an entry of the walk to go on from.
    LetterEntryWalker(const unsigned char* bytes, size_t size, EntryWalk mode, size_t start = 0)
        : bytes_(bytes), size_(size), mode_(mode), at_(start) {}
    // The next entry; false at the end of the walk.
    bool Next(LetterEntry& entry);

private:
    const unsigned char* bytes_;
    size_t size_;
    EntryWalk mode_;
    size_t at_ = 0;
    bool ended_ = false;
};

// Every entry of a letter file's bytes, as the lenient walk reads them.
struct RawEntry {
    size_t offset;               // of the word
    size_t descriptionOffset;    // of the description (the file's size when there is none)
    std::string word;
    std::string description;
    bool hasDescription;
};
std::vector<RawEntry> SplitLetterFile(const std::string& bytes);

// The entries of a letter file fit to be merged with: it ends with a NUL,
// and every entry has a word and a description. False, with the first
// problem and its byte offset, when it is not.
bool ParseLetterEntries(const std::string& bytes, std::vector<RawEntry>& out, std::string& problem,
                        size_t& offset);
