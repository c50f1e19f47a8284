// Spelling suggestions as the user meets them: their order, their reach
// across letter files, the lists following every change of the files and
// kept for later processes, the Similar Words list, the double-copy pop-up
// and the tool's suggest and lookup --suggest. (Who is a candidate, and the
// order in general, is the property test's: tests/fuzz/suggest_property_test.cpp.)
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "lookup/suggest.h"
#include "platform/headless.h"
#include "platform/list_dialogs.h"
#include "settings/settings.h"
#include "storage/dictionary_words.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/suggest_command.h"
#include "tools/tool_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/find_command.h"
#include "ui/program_state.h"
#include "ui/search_commands.h"
#include "ui/suggestions.h"

namespace {

using Lines = std::vector<std::string>;

// Code page 1251.
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";          // котка
const std::string kSlip = "\xEB\xEE\xF2\xEA\xE0";         // лотка: л for к
const std::string kTomcat = "\xEA\xEE\xF2\xE0\xEA";       // котак

class SuggestTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Settings.autoComplete = 0;
        MakeDictionary("Dict", "Dict", 1);
        MakeLetter("Dict", 'A', Entries({{"accurate", "tochen"}, {"acumen", "pronitsatelnost"}, {"acute", "ostar"},
                                         {"arcuate", "dagoviden"}}));
        MakeLetter("Dict", 'B', Entries({{"bad", "los"}, {"bid", "oferta"}}));
        MakeLetter("Dict", 'C', Entries({{"cat", "kotka"}, {"cat {2}", "tom"}, {"curate", "svestenik"}}));
        MakeLetter("Dict", 0xCA, Entries({{kCat, "cat"}, {kTomcat, "tomcat"}}));
        std::filesystem::create_directories("forms");
        WriteDiskFile("forms/frequency.txt", "accurate\tx\nCURATE\t9\r\n");
        ASSERT_NE(SelectDictionary("Dict"), OpenOutcome::NoHeader);
    }
    static Lines Suggested(const std::string& word, size_t limit = kMostSuggestions) {
        return SuggestionsForMiss(CurrentDictionary, word.c_str(), LookupOptions{}, limit).words;
    }
    struct Run {
        int status;
        std::string out, err;
    };
    static Run Tool(const std::vector<std::string>& args, const std::string& input = "") {
        static const std::vector<ToolCommand> commands = {{"lookup", LookupCommand, "", ""},
                                                          {"suggest", SuggestCommand, "", ""}};
        std::istringstream in(input);
        std::ostringstream out, err;
        ToolContext io{in, out, err, ""};
        int status = RunTool(args, commands, io);
        return {status, out.str(), err.str()};
    }
    static std::string Text(const Lines& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + kToolLineEnd;
        return text;
    }
};

TEST_F(SuggestTest, OrderIsDistanceThenSlipOfTheHandThenCommonnessThenLengthThenWordOrder) {
    // A 4-letter word gets words 1 edit away; a longer one 2 (acumen).
    EXPECT_EQ(Suggested("acut"), (Lines{"acute"}));
    // curate is common (the table's bad line is passed over), accurate and
    // arcuate tie, acute is 2 edits away, acumen 3.
    EXPECT_EQ(Suggested("acurate"), (Lines{"curate", "accurate", "arcuate", "acute"}));
    EXPECT_EQ(Suggested("acurate", 2), (Lines{"curate", "accurate"}));
    // i is u's neighbour on the keyboard, a is not: bid before bad.
    EXPECT_EQ(Suggested("bud"), (Lines{"bid", "bad"}));
    // A word found (itself, its plural, case aside) asks for none; the
    // continuation entry is no word of its own.
    EXPECT_EQ(Suggested("CATS"), Lines{});
    EXPECT_EQ(Suggested("  "), Lines{});
    EXPECT_EQ(Suggested("cat {"), (Lines{"cat"}));
}

TEST_F(SuggestTest, ASlipOfTheFirstLetterReachesAnotherLetterFileEvenWithoutItsOwn) {
    // No letter file for л: the look-up cannot even open one.
    EXPECT_EQ(Suggested(kSlip), (Lines{kCat, kTomcat}));
    EXPECT_EQ(Suggested(kTomcat), Lines{}) << "котак is a word of its own";

    Type(kSlip);
    Headless().listChoices = {1};
    EXPECT_EQ(ShowSimilarWords(), 1);
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    EXPECT_EQ(Headless().listDialogs[0], (Lines{kSuggestionsHeading, kCat, kTomcat}));
    EXPECT_EQ(WordEdit(), kCat);
    EXPECT_EQ(Description(), "cat");

    // A choice of a heading takes the word after it.
    Settings.similarOnNotFound = 1;
    Type("catz");
    Headless().listChoices = {2};
    FindCommand();
    EXPECT_EQ(Headless().listDialogs[1], (Lines{kSuggestionsHeading, "cat", kSimilarHeading, "cat", "cat {2}"}));
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(EditState.Modified, 0);
}

TEST_F(SuggestTest, ACopiedWordNotFoundSaysWhatItMayHaveMeant) {
    Type("acurate");
    EXPECT_TRUE(ShowDidYouMean("acurate"));
    EXPECT_EQ(Description(), "not found; did you mean curate?");
    EXPECT_EQ(EditState.Modified, 0) << "Add must not store the message";
    Headless().descriptionEdit = "before";
    EXPECT_FALSE(ShowDidYouMean("qqqqqq"));
    EXPECT_EQ(Description(), "before");
}

TEST_F(SuggestTest, TheListsFollowEveryChangeOfTheLetterFiles) {
    EXPECT_EQ(Suggested("bidde"), (Lines{"bid"}));
    // Added in the window: the next suggestion sees it.
    Type("bide");
    HeadlessTypeDescription("izchakvam");
    ASSERT_EQ(StoreEditsEntry(Confirmation::DontAsk), 1);
    EXPECT_EQ(Suggested("bidde"), (Lines{"bide", "bid"}));
    // Replaced by another writer, then gone.
    MakeLetter("Dict", 'B', Entries({{"bidden", "x"}}));
    EXPECT_EQ(Suggested("bidde"), (Lines{"bidden"}));
    std::filesystem::remove("Dict/42.dat");
    EXPECT_EQ(Suggested("bidde"), Lines{});
}

// Windows keeps none (FileStamp::settled): the window holds its lists.
#ifndef _WIN32
TEST_F(SuggestTest, ListsBuiltFromSettledFilesAreKeptForTheNextProcess) {
    const char* previous = std::getenv("DICTIONARY_INDEX_CACHE");
    const std::string previousCache = previous ? previous : "";
    const std::string cache = std::filesystem::absolute("cache").string();
    setenv("DICTIONARY_INDEX_CACHE", cache.c_str(), 1);
    // Changed within the last seconds: nothing is kept.
    DictionaryWords words = WordsOfDictionary("Dict", CaseRule::Folded, CurrentDictionary.wordLists);
    EXPECT_EQ(words.built, 4u);
    EXPECT_FALSE(std::filesystem::exists(cache));
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettledSeconds * 1000 + 1100));
    CurrentDictionary.wordLists = HeldWordLists();
    words = WordsOfDictionary("Dict", CaseRule::Folded, CurrentDictionary.wordLists);
    EXPECT_EQ(words.built, 4u);
    CurrentDictionary.wordLists = HeldWordLists();   // a process that starts now
    words = WordsOfDictionary("Dict", CaseRule::Folded, CurrentDictionary.wordLists);
    EXPECT_EQ(words.takenBack, 4u);
    EXPECT_EQ(SuggestWords(words, "acurate", CaseRule::Folded, WordCounts()).front().word, "accurate");
    // Another case rule, or a damaged kept file, is built again.
    EXPECT_EQ(WordsOfDictionary("Dict", CaseRule::Exact, CurrentDictionary.wordLists).built, 4u);
    for (const auto& item : std::filesystem::directory_iterator(cache)) std::filesystem::resize_file(item.path(), 100);
    CurrentDictionary.wordLists = HeldWordLists();
    words = WordsOfDictionary("Dict", CaseRule::Folded, CurrentDictionary.wordLists);
    EXPECT_EQ(words.takenBack, 0u);
    EXPECT_EQ(SuggestWords(words, "acurate", CaseRule::Folded, WordCounts()).front().word, "accurate");
    if (previous) setenv("DICTIONARY_INDEX_CACHE", previousCache.c_str(), 1);
    else unsetenv("DICTIONARY_INDEX_CACHE");
}
#endif

TEST_F(SuggestTest, TheToolSuggestsAndAddsSuggestionsToAMissOnlyWhenAsked) {
    Run run = Tool({"--root", ".", "suggest", "--dict", "Dict", "acurate", "cat", "qqqqqq", "лотка"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, Text({"curate", "accurate", "arcuate", "acute", "", "", "", "котка", "котак"}));
    EXPECT_EQ(run.err, Text({"cat: found, no suggestions", "qqqqqq: no suggestions"}));
    run = Tool({"suggest", "--dict", "Dict", "--json", "--limit", "2", "-"}, "acurate\r\nлотка\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Text({"[", "  {\"query\": \"acurate\", \"suggestions\": [\"curate\", \"accurate\"]},",
                             "  {\"query\": \"лотка\", \"suggestions\": [\"котка\", \"котак\"]}", "]"}));
    for (const char* limit : {"0", "21", "x"})
        EXPECT_EQ(Tool({"suggest", "--dict", "Dict", "--limit", limit, "acurate"}).status, kExitUsage) << limit;

    run = Tool({"lookup", "--dict", "Dict", "--suggest", "acurate", "cat"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.err, Text({"acurate: not found; did you mean curate, accurate, arcuate, acute?"}));
    run = Tool({"lookup", "--dict", "Dict", "--suggest", "--json", "acurate"});
    EXPECT_EQ(run.out, Text({"[",
                             "  {\"query\": \"acurate\", \"word\": \"acurate\", \"result\": 6, \"description\": \"\", "
                             "\"suggestions\": [\"curate\", \"accurate\", \"arcuate\", \"acute\"]}",
                             "]"}));
    // Without --suggest a miss is what it always was.
    run = Tool({"lookup", "--dict", "Dict", "--json", "acurate"});
    EXPECT_EQ(run.out.find("suggestions"), std::string::npos);
    EXPECT_EQ(Tool({"lookup", "--dict", "Dict", "acurate"}).err, Text({"acurate: not found"}));
}

}  // namespace
