// dictionary-tool where a file cannot be read or an earlier run was cut
// short: what could not be read is never taken for empty, and what a killed
// import left is found and tidied.
#include <filesystem>
#include <string>

#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/check_command.h"
#include "tools/export_command.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

namespace {

bool Says(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What an import of a new dictionary leaves when it is killed half-way: its
// lock file, some letter files, no header.
void LeaveKilledImport(const std::string& folder) {
    std::filesystem::create_directory(folder);
    WriteDiskFile(folder + "/writer.lock", "");
    MakeLetter(folder, 'A', Entries({{"ant", "mravka"}}));
}

}  // namespace

class ToolTrustTest : public ProgramFolderTest {};

// A backup or a count that silently lacks a letter loses that letter's
// entries for good: both name the file and fail, and the backup is not made.
TEST_F(ToolTrustTest, ExportAndStatsRefuseALetterFileThatCannotBeRead) {
    MakeDictionary("Sky");
    MakeLetter("Sky", 'A', Entries({{"air", "vazduh"}}));
    MakeLetter("Sky", 'S', Entries({{"sun", "slantse"}, {"star", "zvezda"}}));
    ASSERT_EQ(Tool(ExportCommand, {"--dict", "Sky", "--to", "sky.tsv"}).status, 0);
    const std::string backup = ReadDiskFile("sky.tsv");

    std::filesystem::remove("Sky/53.dat");
    std::filesystem::create_directory("Sky/53.dat");   // as unreadable as a bad disk, even for root
    ToolResult run = Tool(ExportCommand, {"--dict", "Sky", "--to", "sky.tsv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.err, "Sky/53.dat cannot be read")) << run.err;
    EXPECT_EQ(ReadDiskFile("sky.tsv"), backup) << "the earlier backup stays as it was";
    run = Tool(ExportCommand, {"--dict", "Sky"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");

    run = Tool(StatsCommand, {"--dict", "Sky"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.err, "53.dat cannot be read")) << run.err;
    EXPECT_EQ(run.out, "");
}

// Killed imports of new dictionaries leave hidden folders beside them. The
// next import of the same dictionary removes its own; any check names every
// one (they take room in the program folder whichever dictionary is
// checked); and tidying those of a dictionary that never came to be leaves
// nothing to complain about.
TEST_F(ToolTrustTest, WhatKilledImportsLeftIsRemovedByTheNextImportAndNamedByEveryCheck) {
    MakeDictionary("Zoo");
    MakeLetter("Zoo", 'C', Entries({{"cat", "kotka"}}));
    LeaveKilledImport(".Foo.import-0123456789abcdef");
    LeaveKilledImport(".Foo.import-fedcba9876543210");
    LeaveKilledImport(".Bar.import-0000000000000001");

    ToolResult run = Tool(CheckCommand, {"--dict", "Zoo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.out, ".Foo.import-0123456789abcdef: an import into Foo was cut short half-way")) << run.out;
    EXPECT_TRUE(Says(run.out, ".Bar.import-0000000000000001: an import into Bar was cut short half-way")) << run.out;

    WriteDiskFile("words.tsv", "fox\tlisitsa\n");
    run = Tool(ImportCommand, {"tsv", "words.tsv", "--to", "Foo"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Says(run.out, "note: removed .Foo.import-0123456789abcdef")) << run.out;
    EXPECT_FALSE(std::filesystem::exists(".Foo.import-0123456789abcdef"));
    EXPECT_FALSE(std::filesystem::exists(".Foo.import-fedcba9876543210"));
    EXPECT_TRUE(std::filesystem::exists(".Bar.import-0000000000000001")) << "another dictionary's is not the import's";
    EXPECT_EQ(ReadDiskFile("Foo/46.dat"), Entries({{"fox", "lisitsa"}}));

    // Bar never existed: once its import's folder is gone, all is well.
    run = Tool(CheckCommand, {"--dict", "Bar", "--fix"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Says(run.out, "fix: .Bar.import-0000000000000001: removed")) << run.out;
    EXPECT_FALSE(Says(run.out, "00.dat")) << run.out;
    EXPECT_FALSE(std::filesystem::exists(".Bar.import-0000000000000001"));
    EXPECT_EQ(Tool(CheckCommand, {"--dict", "Zoo"}).status, 0);
    run = Tool(CheckCommand, {"--dict", "Bar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.err, "there is no dictionary folder Bar")) << run.err;
}

// A dictionary that cannot be written says why, in the system's words,
// rather than blaming another program.
TEST_F(ToolTrustTest, AnImportThatCannotWriteSaysWhy) {
    MakeDictionary("Zoo");
    std::filesystem::create_directory("Zoo/writer.lock");   // the lock cannot be opened, whoever runs
    WriteDiskFile("words.tsv", "fox\tlisitsa\n");
    ToolResult run = Tool(ImportCommand, {"tsv", "words.tsv", "--to", "Zoo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.err, "Zoo cannot be written (")) << run.err;
    EXPECT_FALSE(Says(run.err, "another program")) << run.err;
}
