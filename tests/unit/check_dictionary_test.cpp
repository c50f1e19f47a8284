// check names every problem with its file and offset; --fix keeps every
// readable entry and says what it could not keep.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"
#include "tools/check.h"
#include "tools/tool_commands.h"

namespace {

struct ToolResult {
    int status;
    std::string out;
};

ToolResult Check(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    ToolStreams io{in, out, err};
    int status = CheckCommand(args, io);
    return {status, out.str() + err.str()};
}

bool Says(const ToolResult& run, const std::string& text) { return run.out.find(text) != std::string::npos; }

}  // namespace

class CheckDictionaryTest : public ProgramFolderTest {};

TEST_F(CheckDictionaryTest, ACleanDictionaryPasses) {
    MakeDictionary("Animals");
    MakeLetter("Animals", 'B', Entries({{"bank", "money"}, {"bank  {2}", "river"}, {"Bankrupt", "broke"}}));
    MakeLetter("Animals", 0xCA, Entries({{"\xCA\xEE\xF2\xEA\xE0", "Cat"}}));
    MakeLetter("Animals", 'D', "");
    ToolResult run = Check({"--dict", "Animals"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("Animals: clean") + kToolLineEnd);
}

TEST_F(CheckDictionaryTest, NamesEveryProblemAndFixKeepsWhatIsReadable) {
    MakeDictionary("Animals");
    // A 100-byte header whose name fills its 64 bytes.
    std::string header = ReadDiskFile("Animals/00.dat").substr(0, 100);
    header.replace(0, 64, std::string(64, 'N'));
    WriteDiskFile("Animals/00.dat", header);
    MakeLetter("Animals", 'C',
               Entries({{"cow", "krava"}, {"cat", "felis"}, {"dog", "kuche"}, {"CAT", "big cat"}, {"cat", "felis"},
                        {" calf", "tele"}, {"crow", ""}, {"", "orphan"}, {"cod", "treska"}}));
    MakeLetter("Animals", 'E', std::string("eel\0zmiorka\0emu\0em", 18));
    ToolResult run = Check({"--dict", "Animals"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run, "Animals/00.dat offset 100: the header is 100 bytes, shorter than 192"));
    EXPECT_TRUE(Says(run, "Animals/00.dat offset 0: the name has no terminator within its 64 bytes"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 10: 'cat' is out of order: it sorts before 'cow' at offset 0"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 20: 'dog' belongs in 44.dat"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 30: 'CAT' is never found: the equal word 'cat' at offset 10 comes first"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 42: 'cat' is never found"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 52: ' calf' begins or ends with a blank"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 63: 'crow' has an empty description, which hides the 2 entries "
                          "after it from the look-up"));
    EXPECT_TRUE(Says(run, "Animals/43.dat offset 69: an empty word"));
    EXPECT_TRUE(Says(run, "Animals/45.dat offset 18: the file does not end with NUL (the 2 bytes from offset 16 "
                          "are not terminated)"));
    EXPECT_TRUE(Says(run, "Animals: 13 problems"));

    run = Check({"--dict", "Animals", "--fix"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Says(run, "fix: Animals/43.dat offset 30: kept 'CAT' as 'cat  {2}'"));
    EXPECT_TRUE(Says(run, "fix: Animals/43.dat offset 42: dropped 'cat': the same word with the same description"));
    EXPECT_TRUE(Says(run, "fix: Animals/43.dat offset 63: could not keep 'crow': it has no description"));
    EXPECT_TRUE(Says(run, "fix: Animals/43.dat offset 69: could not keep an entry without a word (description 'orphan')"));
    EXPECT_TRUE(Says(run, "Animals: repaired, now clean"));
    EXPECT_FALSE(Says(run, "still:"));
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"), Entries({{"calf", "tele"},
                                                       {"cat", "felis"},
                                                       {"cat  {2}", "big cat"},
                                                       {"cod", "treska"},
                                                       {"cow", "krava"}}));
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "kuche"}}));
    EXPECT_EQ(ReadDiskFile("Animals/45.dat"), Entries({{"eel", "zmiorka"}, {"emu", "em"}}));
    std::string fixed = ReadDiskFile("Animals/00.dat");
    EXPECT_EQ(fixed.size(), 192u);
    EXPECT_EQ(fixed.substr(0, 64), std::string(63, 'N') + '\0');
    EXPECT_EQ(Check({"--dict", "Animals"}).status, 0);
}

TEST_F(CheckDictionaryTest, WithoutAHeaderNothingIsRepaired) {
    std::filesystem::create_directory("Loose");
    MakeLetter("Loose", 'B', Entries({{"dog", "kuche"}}));
    ToolResult run = Check({"--dict", "Loose", "--fix"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run, "Loose/00.dat: missing"));
    EXPECT_TRUE(Says(run, "not repaired"));
    EXPECT_EQ(ReadDiskFile("Loose/42.dat"), Entries({{"dog", "kuche"}}));
}
