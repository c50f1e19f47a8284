// Export as tsv, and import of an export giving back the same letter files.
#include <sstream>
#include <string>
#include <vector>

#include "maintenance/export.h"
#include "tests/unit/test_support.h"
#include "tools/export_command.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

namespace {

int Tool(int (*command)(const std::vector<std::string>&, ToolContext&), const std::vector<std::string>& args,
         std::string* output = nullptr) {
    std::istringstream in;
    std::ostringstream out, err;
    ToolContext io{in, out, err, ""};
    int status = command(args, io);
    if (output) *output = out.str();
    return status;
}

}  // namespace

class ExportRoundTripTest : public ProgramFolderTest {};

TEST_F(ExportRoundTripTest, ImportOfAnExportGivesBackTheSameLetterFiles) {
    MakeDictionary("Source", "Source", 1);
    // Line breaks, a tab, a backslash, typographic quotes, the byte the code
    // page leaves undefined, Cyrillic, continuation entries.
    const std::string bank = Entries({{"bank", "money;credit\r\n2. \x84" "dep\x93"},
                                      {"bank  {2}", "river\\side\tleft"},
                                      {"bank {3}", "odd\x98" "byte\rend"},
                                      {"Bankrupt", "insolvent \x96 broke"}});
    const std::string kotka = Entries({{"\xCA\xEE\xF2\xEA\xE0", "Cat"}, {"\xEA\xEE\xF2\xEA\xE0  {2}", "cat"}});
    MakeLetter("Source", 'B', bank);
    MakeLetter("Source", 0xCA, kotka);

    std::string tsv;
    ASSERT_EQ(Tool(ExportCommand, {"--dict", "Source"}, &tsv), 0);
    EXPECT_EQ(tsv.substr(0, 47), "bank\tmoney;credit\\n2. \xE2\x80\x9E" "dep\xE2\x80\x9C\nbank  {2}\triver");
    ASSERT_EQ(Tool(ExportCommand, {"--dict", "Source", "--to", "source.tsv"}), 0);
    EXPECT_EQ(ReadDiskFile("source.tsv"), tsv);

    ASSERT_EQ(Tool(ImportCommand, {"tsv", "source.tsv", "--to", "Copy"}), 0);
    EXPECT_EQ(ReadDiskFile("Copy/42.dat"), bank);
    EXPECT_EQ(ReadDiskFile("Copy/ca.dat"), kotka);
}

TEST_F(ExportRoundTripTest, ExportsEveryPairEvenWhatTheLookUpCannotReach) {
    MakeDictionary("Broken");
    MakeLetter("Broken", 'C', std::string("cat\0\0cow\0krava\0calf", 20));
    std::string tsv;
    ASSERT_EQ(Tool(ExportCommand, {"--dict", "Broken"}, &tsv), 0);
    EXPECT_EQ(tsv, "cat\t\ncow\tkrava\ncalf\t\n");
    EXPECT_EQ(Tool(ExportCommand, {"--dict", "Missing"}), 1);
}
