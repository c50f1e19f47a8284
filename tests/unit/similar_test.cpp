#include <algorithm>
#include <string>
#include <vector>

#include "lookup/similar.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/find_command.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"
#include "ui/search_commands.h"

using Lines = std::vector<std::string>;

class SimilarTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Settings.autoComplete = 0;
    }
    void OpenAnimals() {
        MakeDictionary("Animals", "Animals");
        MakeLetter("Animals", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}, {"catalog", "list"}}));
        DictionaryCatalog = ListDictionaries("");
        ASSERT_NE(SelectDictionary("Animals"), OpenOutcome::NoHeader);
    }
    std::string Line(const char* word, const char* folder) {
        int i = FindCatalogIndex(DictionaryCatalog, folder, 0);
        return std::string(word) + " (" + DictionaryCatalog.Slots[i].DisplayName + "-" + std::to_string(i) + ")";
    }
};

TEST_F(SimilarTest, ListsWordsOfTheLongestSharedPrefixAndCloseKeepsTheWordModified) {
    OpenAnimals();
    Type("catz");
    EXPECT_EQ(ShowSimilarWords(), 0);
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    EXPECT_EQ(Headless().listDialogs[0], (Lines{kSuggestionsHeading, "cat", kSimilarHeading, "cat", "catalog"}));
    EXPECT_EQ(Description(), "felis") << "the first suggestion is shown as the list opens";
    EXPECT_EQ(EditState.Modified, 1);

    // An existing word is looked up first, so it shows behind the list.
    Type("cab");
    ShowSimilarWords();
    EXPECT_EQ(Headless().listDialogs[1], (Lines{"cab"}));
    EXPECT_EQ(Description(), "taxi");
}

TEST_F(SimilarTest, ChoosingAWordShowsIt) {
    OpenAnimals();
    Type("catz");
    Headless().listChoices = {4};
    EXPECT_EQ(ShowSimilarWords(), 1);
    EXPECT_EQ(WordEdit(), "catalog");
    EXPECT_EQ(Description(), "list");
    EXPECT_EQ(EditState.Modified, 0);
    EXPECT_TRUE(Headless().wordEditFocused);
}

TEST_F(SimilarTest, NothingToListOpensNoDialogAndFindLeavesTheWordNotFound) {
    OpenAnimals();
    for (const char* word : {"xyz", "   "}) {
        Type(word);
        EXPECT_EQ(ShowSimilarWords(), 0);
        EXPECT_EQ(EditState.Modified, 1);
    }
    Settings.similarOnNotFound = 1;
    Type("xyz");
    FindCommand();
    EXPECT_TRUE(Headless().listDialogs.empty());
    EXPECT_EQ(EditState.Modified, 1);
}

TEST_F(SimilarTest, LongWordsAreComparedWhole) {
    MakeDictionary("Long", "Long");
    std::string stem(120, 'a');
    MakeLetter("Long", 'A', Entries({{std::string(50, 'a'), "1"}, {stem + "x", "2"}, {stem + "y", "3"}}));
    DictionaryCatalog = ListDictionaries("");
    ASSERT_NE(SelectDictionary("Long"), OpenOutcome::NoHeader);
    Type(stem + "xqqq");   // too far from every word for a suggestion
    ShowSimilarWords();
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    EXPECT_EQ(Headless().listDialogs[0], (Lines{stem + "x"}));
}

TEST_F(SimilarTest, SearchFindsThePrefixInEveryDictionaryAndSwitchesToTheFirstLine) {
    MakeDictionary("DictA", "NameA");
    MakeLetter("DictA", 'C', Entries({{"cat", "felis"}, {"dog", "x"}}));
    MakeDictionary("DictB", "NameB");
    MakeLetter("DictB", 'C', Entries({{"Cab", "taxi"}, {"cat", "kotka"}, {"cow", "y"}}));
    // Lower-case words of a case-sensitive dictionary sit in a letter file
    // the search never reads.
    MakeDictionary("DictC", "NameC", 0, 1);
    MakeLetter("DictC", 'c', Entries({{"cat", "z"}}));
    MakeDictionary("Empty", "Empty");
    DictionaryCatalog = ListDictionaries("");
    ASSERT_NE(SelectDictionary("DictA"), OpenOutcome::NoHeader);
    Type("ca");
    Settings.autoComplete = 1;

    SearchAllDictionaries();
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    Lines shown = Headless().listDialogs[0];
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], Line("Cab", "DictB"));
    Lines cats = {shown[1], shown[2]};
    Lines expected = {Line("cat", "DictA"), Line("cat", "DictB")};
    std::sort(cats.begin(), cats.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(cats, expected);
    EXPECT_EQ(CurrentDictionary.folder, "DictB");
    EXPECT_EQ(WordEdit(), "Cab");
    EXPECT_EQ(Description(), "taxi");
    EXPECT_EQ(EditState.Modified, 0);
    EXPECT_EQ(Settings.autoComplete, 1);

    // Picking a line switches to its dictionary.
    int pick = shown[1] == Line("cat", "DictA") ? 1 : 2;
    Headless().listChoices = {pick};
    Settings.autoComplete = 0;
    Type("ca");
    SearchAllDictionaries();
    EXPECT_EQ(CurrentDictionary.folder, "DictA");
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "felis");
}

// The search reads each dictionary as a value of its own: one that finds
// nothing leaves the window's dictionary, title, edits and history as they
// were (only showing a line opens that line's dictionary).
TEST_F(SimilarTest, SearchWithoutResultsLeavesTheWindowsDictionaryAsItWas) {
    MakeDictionary("DictA", "NameA");
    MakeLetter("DictA", 'C', Entries({{"cat", "felis"}}));
    MakeDictionary("DictB", "NameB");
    MakeLetter("DictB", 'Z', Entries({{"zoo", "zoopark"}}));
    DictionaryCatalog = ListDictionaries("");
    const std::string first = DictionaryCatalog.Slots[0].Folder;
    ASSERT_NE(SelectDictionary(first.c_str()), OpenOutcome::NoHeader);
    const std::string title = Headless().title;
    Type("zebra");
    SearchAllDictionaries();
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    EXPECT_TRUE(Headless().listDialogs[0].empty());
    EXPECT_EQ(CurrentDictionary.folder, first);
    EXPECT_EQ(Headless().title, title);
    EXPECT_EQ(WordEdit(), "zebra");
    EXPECT_EQ(WordHistory.Count, 0);
    EXPECT_EQ(Settings.autoComplete, 0);
}

TEST_F(SimilarTest, ResultLinesSplitOnTheirKnownDictionarySuffix) {
    MakeDictionary("DictA", "Eng (new)-1");
    DictionaryCatalog = ListDictionaries("");
    std::string word;
    int index = -1;
    ASSERT_TRUE(SplitResultLine(DictionaryCatalog, "set (of) (Eng (new)-1-0)", &word, &index));
    EXPECT_EQ(word, "set (of)");
    EXPECT_EQ(index, 0);
    // Damaged or foreign lines are refused instead of opening a wrong slot.
    for (const char* bad : {"cat (X-7)", "cat (X-)", "cat (X-0", "cat", "cat (X--1)"})
        EXPECT_FALSE(SplitResultLine(DictionaryCatalog, bad, &word, &index)) << bad;
}

TEST_F(SimilarTest, SearchResultsStayWithinTheirBound) {
    MakeDictionary("Big", "Big");
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 4000; ++i) entries.push_back({"c" + std::to_string(100000 + i) + std::string(150, 'x'), "d"});
    MakeLetter("Big", 'C', Entries(entries));
    DictionaryCatalog = ListDictionaries("");
    ASSERT_NE(SelectDictionary("Big"), OpenOutcome::NoHeader);
    Type("c");
    Lines lines = SearchResultLines();
    size_t used = 0;
    for (const std::string& line : lines) used += line.size() + 1;
    EXPECT_LT(lines.size(), entries.size());
    EXPECT_LT(used, kSearchResultsSize);
    EXPECT_GT(used, kSearchResultsSize - 100 - 200);
}

// The search walks each letter file as the look-up does: an entry after an
// empty description is not listed, since it could not be looked up either.
TEST_F(SimilarTest, SearchListsOnlyWhatTheLookUpCanReach) {
    MakeDictionary("DictA", "NameA");
    MakeLetter("DictA", 'C', std::string("cab\0\0cat\0felis\0", 15));
    DictionaryCatalog = ListDictionaries("");
    ASSERT_NE(SelectDictionary("DictA"), OpenOutcome::NoHeader);
    Type("cat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::NotFound);
    Type("ca");
    SearchAllDictionaries();
    ASSERT_EQ(Headless().listDialogs.size(), 1u);
    EXPECT_EQ(Headless().listDialogs[0], Lines{Line("cab", "DictA")});
}
