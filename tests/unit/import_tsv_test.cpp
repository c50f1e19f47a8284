// Import of tab-separated text into new and existing dictionaries: where the
// entries land, continuation entries, what is skipped, and refusals.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

class ImportTsvTest : public ProgramFolderTest {};

TEST_F(ImportTsvTest, EntriesLandWhereInsertionPutsThem) {
    MakeDictionary("Animals", "Animals", 1);
    MakeLetter("Animals", 'C', Entries({{"cat", "felis"}, {"cow", "krava"}}));
    WriteDiskFile("more.tsv",
                  "Cat\tbig cat\n"
                  "cat\tfelis\n"
                  "cab\ttaxi\\nor cab\r\n"
                  "\n"
                  "COW\tbull\n"
                  "\tnothing\n"
                  "calf\t\n"
                  "cat burglar\tthief\n"
                  "cod\t" + std::string(9999, 'x') + "\n"
                  "\xD0\xBA\xD0\xBE\xD1\x82\xD0\xBA\xD0\xB0\tcat\n");
    ToolResult run = Tool(ImportCommand, {"tsv", "more.tsv", "--to", "Animals", "--name", "ignored"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("read: 9 entries"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("stored: 5 entries in 2 letter files"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("skipped: 1 duplicate, 1 empty word, 1 empty description, 0 word longer than 255 bytes, "
                           "1 description longer than 9998 bytes"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("note: Animals exists"), std::string::npos);

    // The same word again follows it as a continuation entry, before the
    // words that only begin with it.
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"), Entries({{"cab", "taxi\r\nor cab"},
                                                       {"cat", "felis"},
                                                       {"cat  {2}", "big cat"},
                                                       {"cat burglar", "thief"},
                                                       {"cow", "krava"},
                                                       {"cow  {2}", "bull"}}));
    EXPECT_EQ(ReadDiskFile("Animals/ca.dat"), Entries({{"\xEA\xEE\xF2\xEA\xE0", "cat"}}));
    // The header is left as it was.
    EXPECT_EQ(ReadDiskFile("Animals/00.dat").substr(0, 8), std::string("Animals\0", 8));

    ToolResult shown = Tool(LookupCommand, {"--dict", "Animals", "cat"});
    EXPECT_EQ(shown.out, std::string("felis") + kToolLineEnd + kToolLineEnd + "big cat" + kToolLineEnd);
}

TEST_F(ImportTsvTest, CaseSensitiveDictionariesKeepLetterCaseApart) {
    WriteDiskFile("fruit.tsv", "apple\tjabalka\nApple\tfirm\napple\tplod\n");
    ToolResult run = Tool(ImportCommand, {"tsv", "fruit.tsv", "--to", "Fruit", "--case-sensitive"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadDiskFile("Fruit/61.dat"), Entries({{"apple", "jabalka"}, {"apple  {2}", "plod"}}));
    EXPECT_EQ(ReadDiskFile("Fruit/41.dat"), Entries({{"Apple", "firm"}}));
    EXPECT_EQ(ReadDiskFile("Fruit/00.dat").substr(0, 6), std::string("Fruit\0", 6));
    EXPECT_EQ(ReadDiskFile("Fruit/00.dat").substr(64, 8), std::string("\0\0\0\0\1\0\0\0", 8));
}

TEST_F(ImportTsvTest, RefusesBadTextAndBrokenLetterFilesWithoutWriting) {
    MakeDictionary("Animals");
    const std::string kept = Entries({{"ant", "mravka"}});
    MakeLetter("Animals", 'A', kept);
    WriteDiskFile("bad.tsv", "ape\tmaimuna\nbee\tp\xC3\n");
    ToolResult run = Tool(ImportCommand, {"tsv", "bad.tsv", "--to", "Animals"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bad.tsv line 2: invalid UTF-8 at byte 17. Nothing was written."), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadDiskFile("Animals/41.dat"), kept);
    EXPECT_FALSE(std::filesystem::exists("Animals/42.dat"));

    // A letter file that does not pair up would be merged into something worse.
    MakeLetter("Animals", 'B', std::string("bee\0pchela\0bear", 15));
    WriteDiskFile("good.tsv", "ape\tmaimuna\n");
    run = Tool(ImportCommand, {"tsv", "good.tsv", "--to", "Animals"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Animals/42.dat offset 15: the file does not end with NUL; run 'dictionary-tool "
                           "check --dict Animals --fix' first"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadDiskFile("Animals/41.dat"), kept);

    EXPECT_EQ(Tool(ImportCommand, {"csv", "good.tsv", "--to", "Animals"}).status, 2);
    EXPECT_EQ(Tool(ImportCommand, {"tsv", "good.tsv", "--to", "a/b"}).status, 2);
    EXPECT_EQ(Tool(ImportCommand, {"tsv", "good.tsv"}).status, 2);
}

TEST_F(ImportTsvTest, EveryKindOfLineEndEndsAnEntry) {
    // CR alone (older Mac text), CR LF and LF, mixed; a blank line between.
    WriteDiskFile("mac.tsv", "cat\tfelis\rdog\tcanis\r\n\rcow\tkrava\ncalf\ttele\\rnot a line end");
    ToolResult run = Tool(ImportCommand, {"tsv", "mac.tsv", "--to", "Animals"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("read: 4 entries"), std::string::npos) << run.out;
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"),
              Entries({{"calf", "tele\rnot a line end"}, {"cat", "felis"}, {"cow", "krava"}}));
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "canis"}}));
}
