// Import from DICT databases (plain and dictzip), the layout of FreeDict
// entries, the dual reverse entries, and broken input.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "maintenance/codepage.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

namespace {


std::string Cp(const std::string& bytes) { return Cp1251ToUtf8(bytes); }

// Expected tool output: '\n' as the platform's line end.
std::string Shown(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string(kToolLineEnd) : std::string(1, c);
    return out;
}

// UTF-8 of the FreeDict data: ко́тка, бия с камшик.
const std::string kCatNoun =
    "cat //kat// //k\xC3\xA6t// <n>\n"
    "1. \xD0\xBA\xD0\xBE\xCC\x81\xD1\x82\xD0\xBA\xD0\xB0, \xD0\xBA\xD0\xBE\xD1\x82\xD0\xBA\xD0\xB0\n"
    "domestic species; pet\n"
    "2. [[\xD0\xBB\xD1\x8A\xD0\xB2]] 2.\n"
    " 3.\n"
    "big cat\n";
const std::string kCatVerb = "cat //k\xC3\xA6t// <v>\n\xD0\xB1\xD0\xB8\xD1\x8F (\xD1\x81 \xD0\xBA\xD0\xB0\xD0\xBC\xD1\x88\xD0\xB8\xD0\xBA)\nflog\n";
const std::string kKotka = "\xEA\xEE\xF2\xEA\xE0";   // котка in code page 1251
const std::string kLav = "\xEB\xFA\xE2";              // лъв

}  // namespace

class ImportDictdTest : public ProgramFolderTest {
protected:
    std::string Look(const std::string& word) {
        ToolResult run = Tool(LookupCommand, {"--dict", "Animals", word});
        return run.out;
    }
};

TEST_F(ImportDictdTest, LaysOutFreeDictEntriesAndStoresTheReverseOnes) {
    WriteDictd("eng-bul", {{"cat", kCatNoun}, {"cat", kCatVerb}, {"adams apple", "Adam's apple <n>\nfruit\n"},
                           {"empty", "empty <n>\n"}});
    ToolResult run = Tool(ImportCommand, {"dictd", "eng-bul.index", "--to", "Animals", "--name", "Zoo", "--dual"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("read: 4 entries"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stored: 3 entries and 4 reverse entries"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 empty description"), std::string::npos);
    EXPECT_NE(run.out.find("1 accents removed"), std::string::npos);

    // The verb is a continuation entry, shown after the noun; the stray
    // sense number and the empty sense leave their gloss to sense 2.
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"),
              Entries({{"cat", "noun /kat/;1. " + kKotka + " (domestic species, pet);2. " + kLav + " (big cat)"},
                       {"cat  {2}", "verb;\xE1\xE8\xFF (\xF1 \xEA\xE0\xEC\xF8\xE8\xEA) (flog)"}}));
    EXPECT_EQ(Look("cat"), Shown("noun /kat/\n1. " + Cp(kKotka) + " (domestic species, pet)\n2. " + Cp(kLav) +
                               " (big cat)\n\nverb\n\xD0\xB1\xD0\xB8\xD1\x8F (\xD1\x81 \xD0\xBA\xD0\xB0\xD0\xBC\xD1\x88\xD0\xB8\xD0\xBA) (flog)\n"));
    EXPECT_EQ(Look("Adam's apple"), Shown("noun\nfruit\n"));
    // Reverse entries: the bracketed remark is not part of the word.
    EXPECT_EQ(ReadDiskFile("Animals/ca.dat"), Entries({{kKotka, "cat"}}));
    EXPECT_EQ(Look(Cp(kLav)), Shown("cat\n"));
    EXPECT_EQ(ReadDiskFile("Animals/c1.dat"), Entries({{"\xE1\xE8\xFF", "cat"}}));

    // The header: the given name, dual, not case-sensitive.
    std::string header = ReadDiskFile("Animals/00.dat");
    ASSERT_EQ(header.size(), 192u);
    EXPECT_EQ(header.substr(0, 4), std::string("Zoo\0", 4));
    EXPECT_EQ(header.substr(64, 8), std::string("\1\0\0\0\0\0\0\0", 8));

    // Importing the same data again adds nothing: every entry is a duplicate.
    run = Tool(ImportCommand, {"dictd", "eng-bul.index", "--to", "Animals", "--dual"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("stored: 0 entries and 0 reverse entries"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("7 duplicate"), std::string::npos) << run.out;
}

TEST_F(ImportDictdTest, TextWithoutAHeadwordLineKeepsItsLines) {
    WriteDictd("plain", {{"dog", "dog\n  a domestic animal; a friend\n  canis\n"}, {"fox", "vulpes\n"}});
    ToolResult run = Tool(ImportCommand, {"dictd", "plain.index", "--to", "Animals"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "a domestic animal, a friend;canis"}}));
    EXPECT_EQ(ReadDiskFile("Animals/46.dat"), Entries({{"fox", "vulpes"}}));
}

#ifdef DICTIONARY_HAVE_ZLIB
TEST_F(ImportDictdTest, ReadsDictzipData) {
    std::string data;
    WriteDictd("zipped", {{"cat", kCatNoun}, {"dog", "dog <n>\nkuche\n"}}, &data);
    WriteDiskFile("zipped.dict.dz", Gzip(data));
    ToolResult run = Tool(ImportCommand, {"dictd", "zipped.index", "--to", "Animals"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "noun;kuche"}}));
}
#endif

TEST_F(ImportDictdTest, BadInputIsNamedAndNothingIsWritten) {
    MakeDictionary("Animals");
    const std::string kept = Entries({{"ant", "mravka"}});
    MakeLetter("Animals", 'A', kept);
    auto expectRefused = [&](const std::string& index, const std::string& needle) {
        ToolResult run = Tool(ImportCommand, {"dictd", index, "--to", "Animals"});
        EXPECT_EQ(run.status, 1) << index;
        EXPECT_NE(run.err.find(needle), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Nothing was written"), std::string::npos) << run.err;
        EXPECT_EQ(ReadDiskFile("Animals/41.dat"), kept);
        EXPECT_FALSE(std::filesystem::exists("Animals/43.dat"));
        // A dictionary that did not exist is not created either.
        EXPECT_EQ(Tool(ImportCommand, {"dictd", index, "--to", "Fresh"}).status, 1);
        EXPECT_FALSE(std::filesystem::exists("Fresh"));
    };

    WriteDictd("cut", {{"cat", kCatNoun}, {"ape", "ape <n>\nmaimuna\n"}});
    std::string index = ReadDiskFile("cut.index");
    WriteDiskFile("cut.index", index.substr(0, index.size() - 3));
    expectRefused("cut.index", "cut.index line 3: the file ends in the middle of a line");

    WriteDictd("past", {{"cat", kCatNoun}});
    WriteDiskFile("past.dict", ReadDiskFile("past.dict").substr(0, 20));
    expectRefused("past.index", "past.dict: the entry 'cat' (past.index line 2) runs from byte 1 to");

    WriteDictd("notutf", {{"ape", "ape <n>\nmaimuna\n"}, {"cat", "cat <n>\nko\xFFka\n"}});
    expectRefused("notutf.index", "notutf.dict: invalid UTF-8 at byte 27 (entry 'cat', notutf.index line 3)");

    expectRefused("missing.index", "missing.index: cannot be opened");

#ifdef DICTIONARY_HAVE_ZLIB
    std::string data;
    WriteDictd("broken", {{"cat", kCatNoun}}, &data);
    std::string zipped = Gzip(data + std::string(5000, 'z'));
    std::string damaged = zipped;
    for (size_t i = 12; i < 40; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    WriteDiskFile("broken.dict.dz", damaged);
    expectRefused("broken.index", "broken.dict.dz: broken compressed data at byte");
    WriteDiskFile("broken.dict.dz", zipped.substr(0, zipped.size() / 2));
    expectRefused("broken.index", "broken.dict.dz: compressed data ends early at byte");
#endif
}
