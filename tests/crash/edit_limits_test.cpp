// Adding entries on a disk that fills up: the real tool under a file-size
// limit. Nothing changes, neither entry of a dual addition is stored alone,
// and the message says the disk is full.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

class EditOnAFullDiskTest : public ToolFolderTest {};

TEST_F(EditOnAFullDiskTest, NothingIsStoredAndTheMessageSaysTheDiskIsFull) {
    MakeDictionary("D", "D", 1);
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 5000; ++i) many.push_back({"k" + std::to_string(100000 + i), "cat"});
    MakeLetter("D", 'C', Entries({{"cat", "k100000"}}));
    MakeLetter("D", 'K', Entries(many));
    const auto before = DictionaryFiles("D");
    const ToolLimits fullDisk{0, 32 << 10};   // the K letter file is larger

    // The entry's own file fits; its reverse entry's does not.
    ToolRun run = RunToolCapturing(".", {"add", "--dict", "D", "cow", "krava"}, fullDisk);
    EXPECT_EQ(run.status, 4) << run.output;
    EXPECT_EQ(run.output, "dictionary-tool: Could not save the dictionary file 'D/4b.dat': the disk is full. "
                          "Nothing was changed.\n");
    EXPECT_TRUE(DictionaryFiles("D") == before) << "an entry without its reverse";
    EXPECT_FALSE(std::filesystem::exists("D/.staged"));

    run = RunToolCapturing(".", {"add", "--dict", "D", "k1", "x"}, fullDisk);
    EXPECT_EQ(run.status, 4) << run.output;
    EXPECT_EQ(run.output, "dictionary-tool: Could not save the dictionary file 'D/4b.dat': the disk is full. "
                          "Nothing was changed.\n");
    EXPECT_TRUE(DictionaryFiles("D") == before);
    EXPECT_EQ(CheckProblems(".", "D"), "");
}
