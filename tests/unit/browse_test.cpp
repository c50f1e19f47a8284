#include <filesystem>
#include <string>

#include "lookup/history.h"
#include "platform/headless.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"

namespace {
// Code page 1251.
const std::string kWhale = "\xEA\xE8\xF2";             // кит
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";       // котка
const std::string kCatUpper = "\xCA\xCE\xD2\xCA\xC0";  // КОТКА
}  // namespace

class BrowseTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
        MakeLetter("D", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos taurus"},
                                      {"crab", "cancer"}}));
        MakeLetter("D", 'M', Entries({{"Mouse", "mus"}}));
        MakeLetter("D", 0xCA, Entries({{kWhale, "whale"}, {kCat, "cat"}, {"\xEA\xF3\xF7\xE5", "dog"}}));
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
        Load("cat");
    }
    // A look-up loads the word's letter; browsing never does.
    void Load(const std::string& word) {
        Type(word);
        LookupWord(MissedDescription::Clear, PluralRetry::Off);
    }
    // The word edit after `move` from `typed`.
    std::string After(void (*move)(), const std::string& typed) {
        Type(typed);
        move();
        return WordEdit();
    }
};

TEST_F(BrowseTest, DownAndUpShowTheNeighboursAndStopAtTheEnds) {
    EXPECT_EQ(After(NextWord, "cat"), "cow");
    EXPECT_EQ(Description(), "bos taurus");
    EXPECT_EQ(After(PreviousWord, "cat"), "cab");
    EXPECT_EQ(After(NextWord, "crab"), "crab");
    EXPECT_EQ(After(PreviousWord, "cab"), "cab");
    // An empty edit: Down gives the first entry, Up the last.
    EXPECT_EQ(After(NextWord, ""), "cab");
    EXPECT_EQ(After(PreviousWord, ""), "crab");
}

TEST_F(BrowseTest, AbsentWordsFindTheirPlaceIgnoringAsciiCaseOnly) {
    EXPECT_EQ(After(NextWord, "cav"), "cow");
    EXPECT_EQ(After(NextWord, "cat "), "cow");  // the blank makes it another word
    EXPECT_EQ(After(PreviousWord, "czar"), "crab");
    EXPECT_EQ(After(PreviousWord, "ca"), "ca");
    EXPECT_EQ(After(NextWord, "CAT"), "cow");
    EXPECT_EQ(After(PreviousWord, "CAT"), "cab");

    // Upper-case Cyrillic sorts before every lower-case entry.
    Load(kCat);
    EXPECT_EQ(After(NextWord, kCatUpper), kWhale);
    EXPECT_EQ(After(PreviousWord, kCatUpper), kCatUpper);

    Load("mouse");
    EXPECT_EQ(After(NextWord, "zebra"), "zebra");  // stays in the letter of M
}

TEST_F(BrowseTest, NextWordsMenuListsUpToTwentyAndShowsTheChoice) {
    Headless().menuAnswers = {0, 2};
    EXPECT_EQ(After(NextWordsMenu, "cat"), "cat");  // Escape
    EXPECT_EQ(After(NextWordsMenu, "cat"), "cow");
    EXPECT_EQ(Description(), "bos taurus");
    const ShownMenu& menu = Headless().menus.back();
    EXPECT_EQ(menu.buttonCommand, IDM_NEXT20);
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[2].id, 3);
    EXPECT_EQ(menu.items[2].text, "crab");

    std::string many;
    for (int i = 0; i < 25; ++i) many += Entries({{"w" + std::to_string(100 + i), "word"}});
    MakeLetter("D", 'W', many);
    Load("w100");
    After(NextWordsMenu, "w102");
    ASSERT_EQ(Headless().menus.back().items.size(), 20u);
    EXPECT_EQ(Headless().menus.back().items[19].text, "w121");

    // bow begins within the last ten bytes, yet is listed and can be chosen.
    MakeLetter("D", 'B', Entries({{"bab", "taxi"}, {"bat", "x"}, {"bow", "b"}}));
    Load("bab");
    Headless().menuAnswers = {3};
    EXPECT_EQ(After(NextWordsMenu, "bab"), "bow");
    EXPECT_EQ(Description(), "b");
}

// A pop-up menu leaves the window working: a clipboard look-up while it is
// up may load another letter, or push the history along. The item chosen
// is still the word the menu showed.
TEST_F(BrowseTest, TheMenusShowTheChosenWordWhatEverHappensWhileTheyAreUp) {
    Headless().whileMenuIsUp = [] { ShowWord("Mouse"); };
    Headless().menuAnswers = {2};
    EXPECT_EQ(After(NextWordsMenu, "cat"), "cow");
    EXPECT_EQ(Description(), "bos taurus");

    WordHistory = WordHistoryRecord{};
    for (int i = 0; i < kHistorySlots; ++i) AddToHistory(WordHistory, ("w" + std::to_string(i)).c_str());
    Headless().whileMenuIsUp = [] { ShowWord("crab"); };  // the oldest word leaves the history
    Headless().menuAnswers = {2};
    HistoryMenu();
    EXPECT_EQ(Headless().menus.back().items[kHistorySlots - 2].text, "w1");
    EXPECT_EQ(WordEdit(), "w1");
}

TEST_F(BrowseTest, DamagedLettersAreNeverReadPastTheirEnd) {
    // The last entry lacks its NUL; another letter is one long word.
    MakeLetter("D", 'B', std::string("bat\0flying mammal\0bow\0bo", 25));
    MakeLetter("D", 'X', std::string(300, 'x'));
    Load("bat");
    EXPECT_EQ(After(NextWord, "bat"), "bow");
    After(PreviousWord, "bz");
    After(NextWordsMenu, "bz");
    Load("x");
    After(NextWord, "");
    After(NextWordsMenu, "");
    EXPECT_EQ(After(PreviousWord, "y"), std::string(300, 'x'));

    Settings.autoComplete = 1;
    Type("bowl");
    EXPECT_EQ(WordEdit(), "bowl");
}

class CompletionTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Settings.autoComplete = 1;
        EditState.LastKey = 'a';
        std::filesystem::create_directories("D");
    }
    void Open(int caseSensitive) {
        MakeDictionary("D", "D", 0, caseSensitive);
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    }
    std::string Typed(const std::string& text) {
        Type(text);
        return WordEdit();
    }
};

TEST_F(CompletionTest, CompletesWithTheStoredWordAndSelectsTheTail) {
    MakeLetter("D", 'C', Entries({{"Cab", "taxi"}, {"cat", "felis"}}));
    MakeLetter("D", 'M', Entries({{"mouse", "mus"}}));
    Open(0);
    EXPECT_EQ(Typed("ca"), "Cab");
    EXPECT_EQ(Headless().selectionStart, 2);
    EXPECT_EQ(Headless().selectionEnd, 3);
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);  // the whole word, not the tail
    EXPECT_EQ(Description(), "taxi");

    EXPECT_EQ(Typed("mo"), "mouse");  // loads its own letter
    EXPECT_EQ(Typed("cz"), "cz");
    EXPECT_EQ(EditState.AutoCompleted, 0);

    for (unsigned char key : {8, 9}) {  // Backspace, Delete
        EditState.LastKey = key;
        EXPECT_EQ(Typed("ca"), "ca");
    }
    EditState.LastKey = 'a';
    Headless().hidden = true;
    EXPECT_EQ(Typed("ca"), "ca");
}

TEST_F(CompletionTest, CaseSensitiveDictionaryCompletesExactCaseOnly) {
    MakeLetter("D", 'c', Entries({{"cab", "taxi"}}));
    MakeLetter("D", 'C', Entries({{"Cat", "felis"}}));
    Open(1);
    EXPECT_EQ(Typed("Ca"), "Cat");
    EXPECT_EQ(Typed("ca"), "cab");
    EXPECT_EQ(Typed("CA"), "CA");
}

TEST_F(CompletionTest, ComparesLongWordsInFull) {
    const std::string stem(100, 'a');
    MakeLetter("D", 'A', Entries({{stem + "bc", "first"}, {stem + "cd", "second"}}));
    Open(0);
    EXPECT_EQ(Typed(stem + "c"), stem + "cd");
}
