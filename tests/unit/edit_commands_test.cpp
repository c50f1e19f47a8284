// dictionary-tool add and delete: the window's operations from the command line.
#include <filesystem>
#include <string>

#include "platform/files.h"

#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/edit_commands.h"

class EditCommandsTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D", "D", 1);
        MakeLetter("D", 'C', Entries({{"cat", "kotka"}}));
    }
    static std::string Letter(const char* name) { return ReadDiskFile(std::string("D/") + name); }
};

TEST_F(EditCommandsTest, AddsReplacesOnlyWhenToldAndDeletes) {
    ToolResult run = Tool(AddCommand, {"--dict", "D", "cow", "крава"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Letter("43.dat"), Entries({{"cat", "kotka"}, {"cow", "\xEA\xF0\xE0\xE2\xE0"}}));
    EXPECT_EQ(Letter("ca.dat"), Entries({{"\xEA\xF0\xE0\xE2\xE0", "cow"}}));  // the reverse entry

    run = Tool(AddCommand, {"--dict", "D", "cat ", "two\nlines"});
    EXPECT_EQ(run.status, kExitNotChanged);
    EXPECT_EQ(run.err, "dictionary-tool: 'cat ' is already in the dictionary; --replace replaces it" +
                           std::string(kToolLineEnd));
    EXPECT_EQ(Letter("43.dat"), Entries({{"cat", "kotka"}, {"cow", "\xEA\xF0\xE0\xE2\xE0"}}));

    run = Tool(AddCommand, {"--dict", "D", "--replace", "cat ", "two\nlines"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Letter("43.dat"), Entries({{"cat", "two\r\nlines"}, {"cow", "\xEA\xF0\xE0\xE2\xE0"}}));

    EXPECT_EQ(Tool(DeleteCommand, {"--dict", "D", "cow"}).status, 0);
    EXPECT_EQ(Letter("43.dat"), Entries({{"cat", "two\r\nlines"}}));
    run = Tool(DeleteCommand, {"--dict", "D", "cow"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.err, "cow: not found" + std::string(kToolLineEnd));
}

TEST_F(EditCommandsTest, RefusalsAndUsage) {
    EXPECT_EQ(Tool(AddCommand, {"--dict", "D", "cat"}).status, kExitUsage);
    EXPECT_EQ(Tool(AddCommand, {"--dict", "D", "võro", "x"}).status, kExitUsage);
    EXPECT_EQ(Tool(DeleteCommand, {"--dict", "Missing", "cat"}).status, kExitCannotOpen);

    ToolResult run = Tool(AddCommand, {"--dict", "D", "   ", "x"});
    EXPECT_EQ(run.status, kExitNotChanged);
    EXPECT_EQ(run.err, "dictionary-tool: No word!" + std::string(kToolLineEnd));
}

// What a word and a description may hold is said, and nothing is cut; the
// exit status says what happened (as --help says it): 6 a word to delete that
// is not there (its letter file missing or not), 4 nothing changed.
TEST_F(EditCommandsTest, LongTextIsRefusedWithItsLimitAndDeleteSaysWhyNothingChanged) {
    const std::string before = Letter("43.dat");
    ToolResult run = Tool(AddCommand, {"--dict", "D", "c" + std::string(299, 'x'), "x"});
    EXPECT_EQ(run.status, kExitNotChanged);
    EXPECT_EQ(run.err, "dictionary-tool: The word is longer than 255 characters, the most a word may have. "
                       "Nothing was changed." + std::string(kToolLineEnd));
    EXPECT_EQ(Tool(AddCommand, {"--dict", "D", "c" + std::string(10239, 'x'), "x"}).status, kExitNotChanged);
    run = Tool(AddCommand, {"--dict", "D", "cow", std::string(100000, 'k')});
    EXPECT_EQ(run.status, kExitNotChanged);
    EXPECT_EQ(run.err, "dictionary-tool: The description is longer than 9998 characters, the most a description "
                       "may have. Nothing was changed." + std::string(kToolLineEnd));
    EXPECT_EQ(Letter("43.dat"), before);
    EXPECT_FALSE(std::filesystem::exists("D/ca.dat"));

    run = Tool(DeleteCommand, {"--dict", "D", "zebra"});  // no letter file of Z
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.err, "zebra: not found" + std::string(kToolLineEnd));
    std::filesystem::create_directory("D/44.dat");  // there, cannot be read
    run = Tool(DeleteCommand, {"--dict", "D", "dog"});
    EXPECT_EQ(run.status, kExitNotChanged);
    EXPECT_EQ(run.err, "dictionary-tool: Could not read the dictionary file '" + PlatformShownPath("D\\44.dat") +
                           "'. Nothing was changed." + std::string(kToolLineEnd));
}
