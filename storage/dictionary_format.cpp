#include "storage/dictionary_format.h"

#include <cstdio>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "storage/text_case.h"

const char kHeaderFileName[] = "00.dat";
const char kWriterLockName[] = "writer.lock";
const char kStagingFolderName[] = ".staged";
const char kJournalName[] = "journal";

const FontRecord DefaultFont = {16, 0, 0, 0, 0, 0, 0, 0, 204, 0, 0, 0, 0, "Times New Roman"};

std::string PathInFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder[0] != kUtf8PathMark) return folder + "\\" + name;
    // A folder named in UTF-8 (a program folder the code page cannot name):
    // the whole path is UTF-8.
    std::string path = folder + "\\";
    for (unsigned char byte : name) AppendUtf8(path, UnicodeOfByte(byte));
    return path;
}

std::string ProgramFolderPath(const std::string& programFolder, const std::string& name) {
    return programFolder.empty() ? name : PathInFolder(programFolder, name);
}

std::string LastName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

std::string HeaderPath(const std::string& folder) { return PathInFolder(folder, kHeaderFileName); }

std::string LetterFileName(unsigned char letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%02x.dat", letter);
    return name;
}

std::string LetterPath(const std::string& folder, unsigned char letter) {
    return PathInFolder(folder, LetterFileName(letter));
}

static bool IsHexDigit(char c) {
    unsigned char lower = AsciiLower(static_cast<unsigned char>(c));
    return (lower >= '0' && lower <= '9') || (lower >= 'a' && lower <= 'f');
}

bool IsDictionaryFileName(const std::string& name) {
    return name.size() == 6 && IsHexDigit(name[0]) && IsHexDigit(name[1]) && EqualNoCase(name.c_str() + 2, ".dat");
}

bool IsWriterTempFileName(const char* name) {
    return std::strlen(name) >= 10 && IsDictionaryFileName(std::string(name, 6)) &&
           std::strncmp(name + 6, ".tmp", 4) == 0;
}

std::string NewDictionaryStagingPrefix(const std::string& folder) { return "." + folder + ".import-"; }

void ParseHeader(const std::vector<unsigned char>& bytes, HeaderFields& fields) {
    size_t at = 0;
    // A field the bytes reach only in part takes what they hold.
    auto take = [&](void* field, size_t size) {
        size_t n = bytes.size() > at ? bytes.size() - at : 0;
        if (n > size) n = size;
        if (n) std::memcpy(field, bytes.data() + at, n);
        at += size;
    };
    if (!bytes.empty()) std::memset(fields.name, 0, sizeof fields.name);
    take(fields.name, kHeaderNameSize);
    fields.name[kHeaderNameSize] = '\0';
    take(&fields.dual, sizeof fields.dual);
    take(&fields.caseSensitive, sizeof fields.caseSensitive);
    fields.wordFont = DefaultFont;
    fields.descriptionFont = DefaultFont;
    take(&fields.wordFont, sizeof(FontRecord));
    take(&fields.descriptionFont, sizeof(FontRecord));
    fields.wordFont.faceName[sizeof fields.wordFont.faceName - 1] = '\0';
    fields.descriptionFont.faceName[sizeof fields.descriptionFont.faceName - 1] = '\0';
}

void BuildHeader(unsigned char out[kHeaderSize], const char* name, int32_t dual, int32_t caseSensitive,
                 const FontRecord& wordFont, const FontRecord& descriptionFont) {
    std::memset(out, 0, kHeaderSize);
    size_t n = std::strlen(name);
    if (n > kHeaderNameSize - 1) n = kHeaderNameSize - 1;
    std::memcpy(out + kHeaderNameOffset, name, n);
    std::memcpy(out + kHeaderDualOffset, &dual, sizeof dual);
    std::memcpy(out + kHeaderCaseSensitiveOffset, &caseSensitive, sizeof caseSensitive);
    std::memcpy(out + kHeaderWordFontOffset, &wordFont, sizeof(FontRecord));
    std::memcpy(out + kHeaderDescriptionFontOffset, &descriptionFont, sizeof(FontRecord));
}

// Offset of the NUL that ends the string at `from`, or `size`.
static size_t StringEndIn(const unsigned char* bytes, size_t size, size_t from) {
    if (from >= size) return size;
    const void* nul = std::memchr(bytes + from, 0, size - from);
    return nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - bytes) : size;
}

bool LetterEntryWalker::Next(LetterEntry& entry) {
    if (ended_ || at_ >= size_) return false;
    if (mode_ == EntryWalk::Strict && bytes_[at_] == 0) return false;
    entry.offset = at_;
    entry.wordEnd = StringEndIn(bytes_, size_, at_);
    entry.hasDescription = entry.wordEnd + 1 < size_;
    entry.descriptionOffset = entry.hasDescription ? entry.wordEnd + 1 : size_;
    entry.descriptionEnd = StringEndIn(bytes_, size_, entry.descriptionOffset);
    size_t next = entry.hasDescription ? entry.descriptionEnd + 1 : entry.wordEnd + 1;
    entry.end = next < size_ ? next : size_;
    at_ = entry.hasDescription ? next : size_;
    if (mode_ == EntryWalk::Strict && entry.DescriptionLength() == 0) ended_ = true;
    return true;
}

std::vector<RawEntry> SplitLetterFile(const std::string& bytes) {
    std::vector<RawEntry> entries;
    LetterEntryWalker walker(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), EntryWalk::Lenient);
    for (LetterEntry entry; walker.Next(entry);)
        entries.push_back({entry.offset, entry.descriptionOffset, bytes.substr(entry.offset, entry.WordLength()),
                           bytes.substr(entry.descriptionOffset, entry.DescriptionLength()), entry.hasDescription});
    return entries;
}

bool ParseLetterEntries(const std::string& bytes, std::vector<RawEntry>& out, std::string& problem,
                        size_t& offset) {
    out.clear();
    if (!bytes.empty() && bytes.back() != '\0') {
        offset = bytes.size();
        problem = "the file does not end with NUL";
        return false;
    }
    LetterEntryWalker walker(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), EntryWalk::Lenient);
    for (LetterEntry entry; walker.Next(entry);) {
        offset = entry.offset;
        if (entry.WordLength() == 0) problem = "an empty word";
        else if (!entry.hasDescription) problem = "a word without a description at the end of the file";
        else if (entry.DescriptionLength() == 0) problem = "a word with an empty description";
        else {
            out.push_back({entry.offset, entry.descriptionOffset, bytes.substr(entry.offset, entry.WordLength()),
                           bytes.substr(entry.descriptionOffset, entry.DescriptionLength()), true});
            continue;
        }
        return false;
    }
    return true;
}
