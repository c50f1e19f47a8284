// The word-form tables: which base forms a word gets, in which order, with
// the open dictionary's case rule, and what missing or damaged tables give.
#include <filesystem>
#include <string>
#include <vector>

#include "lookup/word_forms.h"
#include "platform/files.h"
#include "storage/lookup_result.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/forms_command.h"
#include "tools/import_command.h"
#include "ui/dictionary_commands.h"
#include "ui/program_state.h"

namespace {

using Bases = std::vector<std::string>;

// Code page 1251: котките, КОТКИТЕ, котка, кон, конете.
const std::string kCats = "\xEA\xEE\xF2\xEA\xE8\xF2\xE5";
const std::string kCatsUpper = "\xCA\xCE\xD2\xCA\xC8\xD2\xC5";
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";
const std::string kHorse = "\xEA\xEE\xED";
const std::string kHorses = "\xEA\xEE\xED\xE5\xF2\xE5";

// A table as the import tool makes it: a header and letter files.
void MakeForms(const std::string& language, unsigned char letter, const std::string& bytes) {
    std::filesystem::create_directories("forms");
    MakeDictionary("forms/" + language, language);
    MakeLetter("forms/" + language, letter, bytes);
}

}  // namespace

class WordFormsTest : public ProgramFolderTest {};

TEST_F(WordFormsTest, FindsTheBasesOfAFormWhateverItsCase) {
    MakeForms("English", 'W', Entries({{"wear", "x"}, {"went", "go"}, {"wents", "no"}}));
    MakeForms("Bulgarian", 0xCA, Entries({{kHorses, kHorse}, {kCats, kCat}}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "WENT"), Bases{"go"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "Went"), Bases{"go"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, kCats.c_str()), Bases{kCat});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, kCatsUpper.c_str()), Bases{kCat});
    // Whole words only: no prefix of a listed form, nothing longer.
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "wen").empty());
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "wentt").empty());
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "").empty());
}

TEST_F(WordFormsTest, SeveralBasesComeInTheirStoredOrderOnce) {
    MakeForms("English", 'A', Entries({{"axes", " axis ; ax;;axis;AX "}}));
    MakeForms("English", 'L',
              Entries({{"leaves", "leaf"}, {"leaves  {2}", "leave;leaf"}, {"leaves  {3}", "lea"}, {"lie", "x"}}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "axes"), (Bases{"axis", "ax"}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "leaves"), (Bases{"leaf", "leave", "lea"}));
    // A word in the tables of two languages gets both, in folder name order.
    MakeForms("Bulgarian", 'A', Entries({{"axes", "os"}}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "axes"), (Bases{"os", "axis", "ax"}));
}

TEST_F(WordFormsTest, ACaseSensitiveDictionaryMatchesOnlyAsStored) {
    MakeForms("English", 'W', Entries({{"went", "go"}}));
    MakeDictionary("Exact", "Exact", 0, 1);
    ASSERT_NE(SelectDictionary("Exact"), OpenOutcome::NoHeader);
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "Went").empty());
}

TEST_F(WordFormsTest, MissingFoldersAndFilesGiveNothing) {
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());  // no forms folder
    WriteDiskFile("forms", "a file, not a folder");
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
    std::filesystem::remove("forms");
    MakeForms(".hidden", 'W', Entries({{"went", "go"}}));
    WriteDiskFile("forms/CREDITS.txt", "credits");
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
    MakeForms("English", 'G', Entries({{"gone", "go"}}));
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());  // no letter file for W
    MakeForms("English", 'W', "");
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
    // A folder without a header (such as the tables' sources) is no table.
    std::filesystem::create_directories("forms/source");
    MakeLetter("forms/source", 'W', Entries({{"went", "go"}}));
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
}

TEST_F(WordFormsTest, DamagedFilesGiveWhatTheyHoldBeforeTheDamage) {
    // The last description lacks its NUL: the end of the file ends it.
    MakeForms("English", 'W', std::string("wear\0x\0went\0go", 14));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    // An empty description ends the walk, as in a dictionary.
    MakeForms("English", 'W', std::string("wear\0\0went\0go\0", 14));
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
    // A word without description or NUL, and one continuation cut short.
    MakeForms("English", 'W', std::string("went", 4));
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
    MakeForms("English", 'W', std::string("went\0go\0went  {2}", 17));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    MakeForms("English", 'W', std::string("\xFF\xFF\xFF\0\0\0", 6));
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
}

TEST_F(WordFormsTest, TheImportToolMakesATableFromTabSeparatedPairs) {
    std::filesystem::create_directory("forms");
    std::filesystem::current_path("forms");
    // One pair a line in UTF-8; a form with two bases is given twice.
    WriteDiskFile("English.tsv", "leaves\tleaf\nleaves\tleave\nwent\tgo\nchildren\tchild\n");
    WriteDiskFile("Bulgarian.tsv", "\xD0\xBA\xD0\xBE\xD1\x82\xD0\xBA\xD0\xB8\xD1\x82\xD0\xB5\t"
                                   "\xD0\xBA\xD0\xBE\xD1\x82\xD0\xBA\xD0\xB0\n");
    ToolResult english = Tool(ImportCommand, {"tsv", "English.tsv", "--to", "English"});
    ToolResult bulgarian = Tool(ImportCommand, {"tsv", "Bulgarian.tsv", "--to", "Bulgarian"});
    std::filesystem::current_path(root_);
    ASSERT_EQ(english.status, 0) << english.err;
    ASSERT_EQ(bulgarian.status, 0) << bulgarian.err;
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "leaves"), (Bases{"leaf", "leave"}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "Children"), Bases{"child"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, kCatsUpper.c_str()), Bases{kCat});
}

TEST_F(WordFormsTest, TheToolListsTheBasesOfEachWord) {
    MakeDictionary("English_Bulgarian");
    MakeForms("English", 'A', Entries({{"axes", "axis;ax"}}));
    MakeForms("Bulgarian", 0xCA, Entries({{kCats, kCat}}));
    ToolResult plain = Tool(FormsCommand, {"axes", "\xD0\x9A\xD0\x9E\xD0\xA2\xD0\x9A\xD0\x98\xD0\xA2\xD0\x95"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, std::string("axes: axis, ax") + kToolLineEnd +
                             "\xD0\x9A\xD0\x9E\xD0\xA2\xD0\x9A\xD0\x98\xD0\xA2\xD0\x95: "
                             "\xD0\xBA\xD0\xBE\xD1\x82\xD0\xBA\xD0\xB0" + kToolLineEnd);
    ToolResult json = Tool(FormsCommand, {"--json", "axes", "went"});
    EXPECT_EQ(json.status, ResultNumber(LookupResult::NotFound));
    EXPECT_EQ(json.out, std::string("[") + kToolLineEnd + "  {\"query\": \"axes\", \"bases\": [\"axis\", \"ax\"]}," +
                            kToolLineEnd + "  {\"query\": \"went\", \"bases\": []}" + kToolLineEnd + "]" +
                            kToolLineEnd);
    EXPECT_EQ(json.err, std::string("went: no base forms") + kToolLineEnd);
    EXPECT_EQ(Tool(FormsCommand, {"--dict", "Missing", "axes"}).status, 1);
}

// A table file that cannot be read (a folder in its place) gives nothing
// and is named, never taken for "no base forms"; the other tables still
// answer. The tool shows what they give and names the file; with nothing
// from them it exits as for a letter file that cannot be read.
TEST_F(WordFormsTest, ATableThatCannotBeReadIsNamedNotTakenForNoBaseForms) {
    MakeDictionary("English_Bulgarian");
    MakeForms("English", 'W', Entries({{"went", "go"}}));
    MakeDictionary("forms/Archaic", "Archaic");
    std::filesystem::create_directory("forms/Archaic/57.dat");
    UnreadableTable unreadable;
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went", &unreadable), Bases{"go"});
    EXPECT_EQ(unreadable.path, "forms\\Archaic\\57.dat");
    EXPECT_FALSE(unreadable.why.empty());
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "wear", &unreadable).empty());
    EXPECT_EQ(unreadable.path, "forms\\Archaic\\57.dat");
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "gone", &unreadable).empty());
    EXPECT_TRUE(unreadable.path.empty()) << "no table of that letter: nothing unread";

    ToolResult run = Tool(FormsCommand, {"went", "wear"});
    EXPECT_EQ(run.status, ResultNumber(LookupResult::LetterCannotOpen));
    EXPECT_EQ(run.out, std::string("went: go") + kToolLineEnd);
    const std::string named = ": the word-form table " + PlatformShownPath("forms\\Archaic\\57.dat") + " cannot be read";
    EXPECT_EQ(run.err.find("went" + named), 0u) << run.err;
    EXPECT_NE(run.err.find(std::string(kToolLineEnd) + "wear" + named), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("no base forms"), std::string::npos) << run.err;
}

// Tables are kept between words; one that changed on disk is read again.
TEST_F(WordFormsTest, AChangedTableIsReadAgain) {
    MakeForms("English", 'W', Entries({{"went", "go"}}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"go"});
    MakeLetter("forms/English", 'W', Entries({{"went", "wend"}, {"worn", "wear"}}));
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "went"), Bases{"wend"});
    EXPECT_EQ(BaseFormsOf(CurrentDictionary, "worn"), Bases{"wear"});
    std::filesystem::remove("forms/English/57.dat");
    EXPECT_TRUE(BaseFormsOf(CurrentDictionary, "went").empty());
}
