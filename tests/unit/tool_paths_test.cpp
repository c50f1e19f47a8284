// Files named on the tool's command line are found where the user stands,
// whatever --root says.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "maintenance/check.h"
#include "maintenance/export.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/check_command.h"
#include "tools/export_command.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

using ToolPathsTest = ProgramFolderTest;

// Also in a folder whose name code page 1251 cannot hold (a user's folder
// on a Western system): only the dictionaries are named in the code page.
TEST_F(ToolPathsTest, ImportSourceAndExportTargetAreRelativeToTheStartingFolder) {
    namespace fs = std::filesystem;
    fs::create_directory("programs");
    const std::string folder = "J\xC3\xBCrgen";   // Jürgen, in UTF-8 as typed
    fs::create_directory(fs::u8path(folder));
    std::ofstream(fs::u8path(folder + "/words.tsv"), std::ios::binary) << "apple\tyabalka\n";
    static const std::vector<ToolCommand> commands = {
        {"import", ImportCommand, "", ""},
        {"export", ExportCommand, "", ""},
    };
    std::istringstream in;
    std::ostringstream out, err;
    ToolContext io{in, out, err, ""};
    ASSERT_EQ(RunTool({"--root", "programs", "import", "tsv", folder + "/words.tsv", "--to", "Fruit"}, commands, io), 0)
        << err.str();
    fs::current_path(root_);
    ASSERT_EQ(RunTool({"--root", "programs", "export", "--dict", "Fruit", "--to", folder + "/out.tsv"}, commands, io), 0)
        << err.str();
    fs::current_path(root_);
    std::ifstream exported(fs::u8path(folder + "/out.tsv"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(exported), {}), "apple\tyabalka\n");
    EXPECT_FALSE(fs::exists("programs/out.tsv"));
}

TEST_F(ToolPathsTest, EveryCommandNamesADictionaryByItsFolderNameAlone) {
    // A dictionary beside the program folder, reachable by a path.
    std::filesystem::create_directory("programs");
    MakeDictionary("Outside");
    MakeLetter("Outside", 'C', Entries({{"cat", "felis"}}));
    std::filesystem::current_path("programs");
    const std::string absolute = (std::filesystem::path(root_) / "Outside").string();
    WriteDiskFile("words.tsv", "cat\tfelis\n");
    for (const std::string& path : {std::string("../Outside"), absolute, std::string("a/b")}) {
        const std::vector<std::pair<int (*)(const std::vector<std::string>&, ToolContext&), std::vector<std::string>>>
            commands = {{LookupCommand, {"--dict", path, "cat"}},
                        {StatsCommand, {"--dict", path}},
                        {ExportCommand, {"--dict", path}},
                        {CheckCommand, {"--dict", path}},
                        {ImportCommand, {"tsv", "words.tsv", "--to", path}}};
        for (const auto& command : commands) {
            ToolResult run = Tool(command.first, command.second);
            EXPECT_EQ(run.status, 2) << path << " " << command.second[0];
            EXPECT_EQ(run.out, "") << path;
            EXPECT_NE(run.err.find("is not the name of a folder in the program folder"), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(ReadDiskFile(absolute + "/43.dat"), Entries({{"cat", "felis"}}));
}

TEST_F(ToolPathsTest, ImportRefusesAFolderTheProgramWouldNeverList) {
    WriteDiskFile("words.tsv", "cat\tfelis\n");
    ToolResult run = Tool(ImportCommand, {"tsv", "words.tsv", "--to", ".hidden"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("'.hidden' begins with '.', and the program never lists such a folder"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(".hidden"));
}

TEST_F(ToolPathsTest, ImportMakesNoDictionaryBeyondTheHundredTheProgramLists) {
    WriteDiskFile("words.tsv", "cat\tfelis\n");
    for (int i = 0; i < 100; ++i) MakeDictionary("D" + std::to_string(i));
    ToolResult run = Tool(ImportCommand, {"tsv", "words.tsv", "--to", "Extra"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("holds 100 dictionaries, the most the program lists"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists("Extra"));
    // One that exists takes more entries.
    EXPECT_EQ(Tool(ImportCommand, {"tsv", "words.tsv", "--to", "D7"}).status, 0);
}

// A program folder (--root) that code page 1251 cannot name is kept in
// UTF-8 on Windows: the dictionaries' names inside it go in UTF-8 too, so
// a Cyrillic folder under C:\Users\Jürgen opens.
TEST(ProgramFolderPathTest, NamesInsideAFolderNamedInUtf8AreUtf8) {
    const std::string marked = std::string(1, kUtf8PathMark) + "J\xC3\xBCrgen";
    EXPECT_EQ(ProgramFolderPath(marked, "\xCA\xEE"), marked + "\\\xD0\x9A\xD0\xBE");
    EXPECT_EQ(LetterPath(ProgramFolderPath(marked, "\xCA"), 0xCA), marked + "\\\xD0\x9A\\ca.dat");
    EXPECT_EQ(ProgramFolderPath("programs", "\xCA"), "programs\\\xCA");
}
