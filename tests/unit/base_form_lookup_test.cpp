// A word the dictionary lacks found through its base form ("went" -> "go"):
// only after the word itself and the plural retry miss, the first base the
// dictionary holds, shown as the plural retry shows its word, and never
// when the caller or the option turns it off.
#include <filesystem>
#include <sstream>
#include <string>

#include "lookup/history.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/tool_commands.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/find_command.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

namespace {

// Code page 1251: котките, КОТКИТЕ, котка.
const std::string kCats = "\xEA\xEE\xF2\xEA\xE8\xF2\xE5";
const std::string kCatsUpper = "\xCA\xCE\xD2\xCA\xC8\xD2\xC5";
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";

class BaseFormLookupTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        std::filesystem::create_directories("forms");
        MakeDictionary("forms/English");
        MakeLetter("forms/English", 'W', Entries({{"went", "go"}}));
        MakeLetter("forms/English", 'C', Entries({{"cats", "cattle"}}));
        MakeLetter("forms/English", 'B', Entries({{"better", "good;well"}}));
        MakeLetter("forms/English", 'L', Entries({{"leaves", "leaf"}}));
        MakeDictionary("forms/Bulgarian");
        MakeLetter("forms/Bulgarian", 0xCA, Entries({{kCats, kCat}}));
        MakeDictionary("Dict");
    }
    void Open() { ASSERT_NE(SelectDictionary("Dict"), OpenOutcome::NoHeader); }
    LookupResult Find(const std::string& word, PluralRetry plural = PluralRetry::On) {
        Type(word);
        return LookupWord(MissedDescription::Clear, plural);
    }
};

TEST_F(BaseFormLookupTest, ABaseFormIsShownAsTheWordFound) {
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}, {"good", "dobar"}}));
    MakeLetter("Dict", 'W', Entries({{"wet", "mokar"}}));
    Open();
    Headless().descriptionEdit = "old";
    EXPECT_EQ(Find("  went"), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "go");
    EXPECT_EQ(Headless().selectionStart, 0);
    EXPECT_EQ(Headless().selectionEnd, 2);
    EXPECT_EQ(Description(), "tragvam");  // the entry's own description, nothing added
    EXPECT_EQ(EditState.Modified, 0);
    ASSERT_EQ(WordHistory.Count, 1);
    EXPECT_STREQ(WordHistory.Slots[0], "go");
    // Browsing goes on from the entry shown.
    NextWord();
    EXPECT_EQ(WordEdit(), "good");
}

TEST_F(BaseFormLookupTest, TheWordItselfAndThePluralRetryComeFirst) {
    MakeLetter("Dict", 'C', Entries({{"cat", "kotka"}, {"cattle", "dobitak"}}));
    MakeLetter("Dict", 'L', Entries({{"leaf", "list"}, {"leaves", "listata"}}));
    Open();
    EXPECT_EQ(Find("leaves"), LookupResult::Ok);  // an exact hit, though a table lists it
    EXPECT_EQ(WordEdit(), "leaves");
    EXPECT_EQ(Description(), "listata");
    EXPECT_EQ(Find("cats"), LookupResult::Ok);  // the final S before the table's "cattle"
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "kotka");
}

// The word less its final S is one base among others: where the tables rank
// another that the dictionary holds above it, that one answers (does is do
// before doe, is is be before the pronoun I).
TEST_F(BaseFormLookupTest, TheTablesRankBasesAboveTheWordLessItsS) {
    MakeLetter("forms/English", 'D', Entries({{"does", "do;doe"}}));
    MakeLetter("forms/English", 'I', Entries({{"is", "be;i"}}));
    MakeLetter("Dict", 'D', Entries({{"do", "pravya"}, {"doe", "surna"}}));
    MakeLetter("Dict", 'I', Entries({{"I", "az"}}));
    MakeLetter("Dict", 'B', Entries({{"be", "sam"}}));
    Open();
    EXPECT_EQ(Find("does"), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "do");
    EXPECT_EQ(Find("is"), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "be");
    EXPECT_EQ(Description(), "sam");
    EXPECT_EQ(Find("does", PluralRetry::Off), LookupResult::NotFound);
    Settings.findBaseForms = 0;
    EXPECT_EQ(Find("does"), LookupResult::Ok);  // without the tables, the plural retry
    EXPECT_EQ(WordEdit(), "doe");
}

TEST_F(BaseFormLookupTest, OfSeveralBasesTheFirstTheDictionaryHoldsIsShown) {
    MakeLetter("Dict", 'W', Entries({{"well", "dobre"}}));
    Open();
    EXPECT_EQ(Find("better"), LookupResult::Ok);  // no letter file for "good"
    EXPECT_EQ(WordEdit(), "well");
    MakeLetter("Dict", 'G', Entries({{"good", "dobar"}}));
    EXPECT_EQ(Find("better"), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "good");
    EXPECT_EQ(Description(), "dobar");
}

TEST_F(BaseFormLookupTest, CyrillicFormsMatchWhateverTheirCase) {
    MakeLetter("Dict", 0xCA, Entries({{"\xCA\xCE\xD2\xCA\xC0", "cat"}}));  // КОТКА
    Open();
    EXPECT_EQ(Find(kCatsUpper), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), kCat);  // the base as its table gives it
    EXPECT_EQ(Description(), "cat");
    EXPECT_EQ(Find(kCats), LookupResult::Ok);
}

TEST_F(BaseFormLookupTest, NoFallbackWhenTheCallerOrTheOptionTurnsItOff) {
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}}));
    MakeLetter("Dict", 'W', Entries({{"wet", "mokar"}}));
    Open();
    // Browsing, the history and similar words look up the word alone.
    EXPECT_EQ(Find("went", PluralRetry::Off), LookupResult::NotFound);
    EXPECT_EQ(WordEdit(), "went");
    EXPECT_EQ(FindWord(CurrentDictionary, "went", {PluralRetry::On, BaseForms::Off}).result, LookupResult::NotFound);
    Settings.findBaseForms = 0;
    Settings.similarOnNotFound = 0;
    Type("went");
    FindCommand();
    EXPECT_EQ(WordEdit(), "went");
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(WordHistory.Count, 0);
}

// A miss leaves the word's own letter held, as a miss without forms does:
// browsing goes on from the typed word, not from a letter a base was
// looked for in.
TEST_F(BaseFormLookupTest, AMissKeepsTheWordsOwnLetter) {
    MakeLetter("Dict", 'G', Entries({{"gone", "otishal"}}));
    MakeLetter("Dict", 'W', Entries({{"wear", "nosya"}, {"wet", "mokar"}}));
    Open();
    EXPECT_EQ(Find("went"), LookupResult::NotFound);
    EXPECT_EQ(WordEdit(), "went");
    NextWord();
    EXPECT_EQ(WordEdit(), "wet");
    // Without a letter file of its own the word still finds its base.
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}}));
    std::filesystem::remove("Dict/57.dat");
    CurrentDictionary.held = HeldLetter{};
    WordMatch match = FindWord(CurrentDictionary, "went", {PluralRetry::On, BaseForms::On});
    EXPECT_EQ(match.result, LookupResult::Ok);
    EXPECT_EQ(match.baseForm, "go");
    EXPECT_EQ(match.letter, 'G');
}

// A letter file that cannot be read is no "not found": the word's own
// letter (where the user may have added it) is reported, not passed over
// for a base; so is a base's letter when no other base answers.
TEST_F(BaseFormLookupTest, ALetterThatCannotBeReadIsReportedNotPassedOverForABase) {
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}}));
    std::filesystem::create_directory("Dict/57.dat");  // there, cannot be read
    Open();
    Headless().descriptionEdit = "old";
    Type("went");
    FindCommand();
    EXPECT_EQ(WordEdit(), "went");
    EXPECT_EQ(Description(), "");
    ASSERT_EQ(Headless().messages.size(), 1u);
    EXPECT_EQ(Headless().messages[0].text,
              "Could not read the dictionary file '" + PlatformShownPath("Dict\\57.dat") + "'.");
    EXPECT_EQ(Headless().messages[0].caption, "Error");

    ToolResult run = Tool(LookupCommand, {"--dict", "Dict", "went"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "went: not found (letter file 57.dat cannot be read)" + std::string(kToolLineEnd));
    std::filesystem::remove("Dict/57.dat");
    MakeLetter("Dict", 'W', Entries({{"wet", "mokar"}}));
    std::filesystem::remove("Dict/47.dat");
    std::filesystem::create_directory("Dict/47.dat");
    run = Tool(LookupCommand, {"--dict", "Dict", "went"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "went: not found (letter file 47.dat cannot be read)" + std::string(kToolLineEnd));
}

// A word-form table that cannot be read is no "no base forms": a table
// that can still be read answers; when none does, the tool names the file
// and exits as for a letter that cannot be read, and the window's Find
// says "not found" as it would without the tables, with no message.
TEST_F(BaseFormLookupTest, ATableThatCannotBeReadHidesNoHitAndIsNamedWhenNothingAnswers) {
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}}));
    MakeLetter("Dict", 'W', Entries({{"wet", "mokar"}}));
    MakeDictionary("forms/Archaic");
    std::filesystem::create_directory("forms/Archaic/57.dat");
    Open();
    WordMatch match = FindWord(CurrentDictionary, "went", {PluralRetry::On, BaseForms::On});
    EXPECT_EQ(match.result, LookupResult::Ok);
    EXPECT_EQ(match.baseForm, "go");
    EXPECT_TRUE(match.unreadableForms.path.empty());

    std::filesystem::remove("forms/English/57.dat");
    std::filesystem::create_directory("forms/English/57.dat");
    match = FindWord(CurrentDictionary, "went", {PluralRetry::On, BaseForms::On});
    EXPECT_EQ(match.result, LookupResult::NotFound);
    EXPECT_EQ(match.unreadableForms.path, "forms\\Archaic\\57.dat");
    ToolResult run = Tool(LookupCommand, {"--dict", "Dict", "went"});
    EXPECT_EQ(run.status, ResultNumber(LookupResult::LetterCannotOpen));
    EXPECT_EQ(run.err.find("went: not found; the word-form table " + PlatformShownPath("forms\\Archaic\\57.dat") +
                           " cannot be read"), 0u) << run.err;

    Settings.similarOnNotFound = 0;
    Headless().descriptionEdit = "old";
    Type("went");
    FindCommand();
    EXPECT_EQ(WordEdit(), "went");
    EXPECT_EQ(Description(), "");
    EXPECT_TRUE(Headless().messages.empty());
}

TEST_F(BaseFormLookupTest, TheToolNamesTheWordABaseFormWasFoundFor) {
    MakeLetter("Dict", 'G', Entries({{"go", "tragvam"}}));
    static const std::vector<ToolCommand> commands = {{"lookup", LookupCommand, "", ""}};
    auto run = [](const std::vector<std::string>& args) {
        std::istringstream in;
        std::ostringstream out, err;
        ToolContext io{in, out, err, ""};
        int status = RunTool(args, commands, io);
        return std::make_pair(status, out.str());
    };
    const std::string nl = kToolLineEnd;
    EXPECT_EQ(run({"lookup", "--dict", "Dict", "--json", "went", "go"}),
              std::make_pair(0, "[" + nl +
                                    "  {\"query\": \"went\", \"word\": \"go\", \"base_form_of\": \"went\", "
                                    "\"result\": 0, \"description\": \"tragvam\"}," + nl +
                                    "  {\"query\": \"go\", \"word\": \"go\", \"result\": 0, \"description\": "
                                    "\"tragvam\"}" + nl + "]" + nl));
    EXPECT_EQ(run({"lookup", "--dict", "Dict", "went"}), std::make_pair(0, "tragvam" + nl));
    // --no-forms as the option turns them off; --no-plural turns off both.
    EXPECT_EQ(run({"lookup", "--dict", "Dict", "--no-forms", "went"}).first,
              ResultNumber(LookupResult::LetterCannotOpen));
    EXPECT_EQ(run({"lookup", "--dict", "Dict", "--no-plural", "went"}).first,
              ResultNumber(LookupResult::LetterCannotOpen));
}

}  // namespace
