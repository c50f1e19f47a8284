// The dictionary folder's format: the header's fields read from files of any
// length, the names of the files, and the two walks over a letter file's
// entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "storage/dictionary_format.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

// The words a walk visits, and the description of each.
std::vector<std::string> Walked(const std::string& bytes, EntryWalk mode) {
    std::vector<std::string> seen;
    LetterEntryWalker walker(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), mode);
    for (LetterEntry entry; walker.Next(entry);)
        seen.push_back(bytes.substr(entry.offset, entry.WordLength()) + "=" +
                       bytes.substr(entry.descriptionOffset, entry.DescriptionLength()));
    return seen;
}

}  // namespace

TEST(HeaderFormatTest, FieldsSitAtTheirOffsetsAndAShortFileKeepsWhatItDoesNotReach) {
    FontRecord word = DefaultFont;
    word.height = 30;
    unsigned char header[kHeaderSize];
    BuildHeader(header, std::string(70, 'n').c_str(), 1, 1, word, DefaultFont);
    std::string bytes(reinterpret_cast<char*>(header), kHeaderSize);
    EXPECT_EQ(std::string(bytes.c_str()), std::string(63, 'n'));
    EXPECT_EQ(bytes[kHeaderDualOffset], 1);
    EXPECT_EQ(bytes[kHeaderCaseSensitiveOffset], 1);
    EXPECT_EQ(bytes[kHeaderWordFontOffset], 30);
    EXPECT_EQ(std::memcmp(header + kHeaderDescriptionFontOffset, &DefaultFont, sizeof DefaultFont), 0);

    HeaderFields fields{};
    ParseHeader(Bytes(bytes), fields);
    EXPECT_EQ(std::string(fields.name), std::string(63, 'n'));
    EXPECT_EQ(fields.wordFont.height, 30);

    // 66 bytes: a name and half of the dual flag; the case flag, which the
    // file does not reach, keeps its value, and the fonts are the default.
    fields.caseSensitive = 7;
    ParseHeader(Bytes(std::string("Short", 5) + std::string(59, '\0') + std::string("\x01\x00", 2)), fields);
    EXPECT_STREQ(fields.name, "Short");
    EXPECT_EQ(fields.dual, 1);
    EXPECT_EQ(fields.caseSensitive, 7);
    EXPECT_EQ(fields.wordFont.height, DefaultFont.height);

    // A name filling its whole field still ends within the record; an empty
    // file keeps even the name.
    ParseHeader(Bytes(std::string(64, 'N')), fields);
    EXPECT_EQ(std::string(fields.name), std::string(64, 'N'));
    ParseHeader({}, fields);
    EXPECT_EQ(std::string(fields.name), std::string(64, 'N'));
}

TEST(HeaderFormatTest, NamesOfTheFilesInAFolder) {
    EXPECT_EQ(HeaderPath("D"), "D\\00.dat");
    EXPECT_EQ(LetterPath("D", 0xC0), "D\\c0.dat");
    EXPECT_EQ(LetterFileName('A'), "41.dat");
    EXPECT_TRUE(IsWriterTempFileName("41.dat.tmp12.3"));
    EXPECT_TRUE(IsWriterTempFileName("00.DAT.tmp"));
    EXPECT_FALSE(IsWriterTempFileName("41.dat"));
    EXPECT_FALSE(IsWriterTempFileName("notes.txt.tmp1"));
    EXPECT_EQ(NewDictionaryStagingPrefix("Fruit"), ".Fruit.import-");
}

TEST(LetterWalkTest, TheLookUpsWalkStopsWhereTheLenientOneGoesOn) {
    const std::string file("cat\0felis\0cow\0\0dog\0canis\0\0\0eel\0x\0", 33);
    EXPECT_EQ(Walked(file, EntryWalk::Strict), (std::vector<std::string>{"cat=felis", "cow="}));
    EXPECT_EQ(Walked(file, EntryWalk::Lenient),
              (std::vector<std::string>{"cat=felis", "cow=", "dog=canis", "=", "eel=x"}));

    // A file cut short: the end of the bytes ends its last string.
    const std::string cut("cat\0felis\0dog\0ca", 16);
    EXPECT_EQ(Walked(cut, EntryWalk::Strict), (std::vector<std::string>{"cat=felis", "dog=ca"}));
    EXPECT_EQ(Walked(std::string("dog", 3), EntryWalk::Lenient), std::vector<std::string>{"dog="});
    EXPECT_TRUE(Walked("", EntryWalk::Strict).empty());
}

TEST(LetterWalkTest, OnlySoundFilesAreMergedWithAndTheFirstProblemIsNamed) {
    std::vector<RawEntry> entries;
    std::string problem;
    size_t offset = 0;
    ASSERT_TRUE(ParseLetterEntries(std::string("cat\0felis\0dog\0canis\0", 20), entries, problem, offset));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].word, "dog");
    EXPECT_EQ(entries[1].offset, 10u);

    const struct {
        std::string bytes;
        size_t offset;
        const char* problem;
    } damaged[] = {
        {std::string("cat\0felis", 9), 9, "the file does not end with NUL"},
        {std::string("cat\0felis\0\0canis\0", 17), 10, "an empty word"},
        {std::string("cat\0\0", 5), 0, "a word with an empty description"},
        {std::string("cat\0felis\0dog\0", 14), 10, "a word without a description at the end of the file"},
    };
    for (const auto& file : damaged) {
        EXPECT_FALSE(ParseLetterEntries(file.bytes, entries, problem, offset)) << file.problem;
        EXPECT_EQ(problem, file.problem);
        EXPECT_EQ(offset, file.offset) << file.problem;
    }
}
