// Files named on the tool's command line are found where the user stands,
// whatever --root says.
#include <filesystem>
#include <sstream>

#include "tests/unit/test_support.h"
#include "tools/export.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

using ToolPathsTest = ProgramFolderTest;

TEST_F(ToolPathsTest, ImportSourceAndExportTargetAreRelativeToTheStartingFolder) {
    std::filesystem::create_directory("programs");
    WriteDiskFile("words.tsv", "apple\tyabalka\n");
    static const std::vector<ToolCommand> commands = {
        {"import", ImportCommand, "", ""},
        {"export", ExportCommand, "", ""},
    };
    std::istringstream in;
    std::ostringstream out, err;
    ToolStreams io{in, out, err};
    ASSERT_EQ(RunTool({"--root", "programs", "import", "tsv", "words.tsv", "--to", "Fruit"}, commands, io), 0)
        << err.str();
    std::filesystem::current_path(root_);
    ASSERT_EQ(RunTool({"--root", "programs", "export", "--dict", "Fruit", "--to", "out.tsv"}, commands, io), 0)
        << err.str();
    std::filesystem::current_path(root_);
    EXPECT_EQ(ReadDiskFile("out.tsv"), "apple\tyabalka\n");
    EXPECT_FALSE(std::filesystem::exists("programs/out.tsv"));
}
