#include <filesystem>
#include <string>

#include "lookup/browse.h"
#include "lookup/lookup.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "tests/unit/test_support.h"

namespace {
// Code page 1251.
const std::string kWhale = "\xEA\xE8\xF2";             // кит
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";       // котка
const std::string kCatUpper = "\xCA\xCE\xD2\xCA\xC0";  // КОТКА
const std::string kDog = "\xEA\xF3\xF7\xE5";           // куче
}  // namespace

class BrowseTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
        MakeLetter("D", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos taurus"},
                                      {"crab", "cancer"}}));
        MakeLetter("D", 'M', Entries({{"Mouse", "mus"}}));
        MakeLetter("D", 0xCA, Entries({{kWhale, "whale"}, {kCat, "cat"}, {kDog, "dog"}}));
        ASSERT_EQ(OpenDictionary("D"), kResultOk);
    }
    // Looks the word up, which loads its letter, then leaves `typed` in the edit.
    void Browse(const std::string& lookedUp, const std::string& typed) {
        Type(lookedUp);
        LookupWord(1, 0);
        Type(typed);
    }
};

TEST_F(BrowseTest, DownAndUpShowTheNeighboursAndStopAtTheEnds) {
    Browse("cat", "cat");
    NextWord();
    EXPECT_EQ(WordEdit(), "cow");
    EXPECT_EQ(Description(), "bos taurus");
    NextWord();
    NextWord();  // crab is the last entry
    EXPECT_EQ(WordEdit(), "crab");
    PreviousWord();
    EXPECT_EQ(WordEdit(), "cow");

    Browse("cab", "cab");
    int changes = Headless().wordEditChanges;
    PreviousWord();  // the first entry
    EXPECT_EQ(Headless().wordEditChanges, changes);

    // An empty edit: Down gives the first entry, Up the last.
    Type("");
    NextWord();
    EXPECT_EQ(WordEdit(), "cab");
    Type("");
    PreviousWord();
    EXPECT_EQ(WordEdit(), "crab");
}

TEST_F(BrowseTest, AbsentWordsFindTheirPlaceIgnoringAsciiCaseOnly) {
    Browse("cat", "cav");
    NextWord();
    EXPECT_EQ(WordEdit(), "cow");
    Type("cat ");  // the trailing blank makes it another word
    NextWord();
    EXPECT_EQ(WordEdit(), "cow");
    Type("czar");  // after every entry: Up gives the last
    PreviousWord();
    EXPECT_EQ(WordEdit(), "crab");
    Type("ca");  // before every entry
    PreviousWord();
    EXPECT_EQ(WordEdit(), "ca");

    Type("CAT");
    NextWord();
    EXPECT_EQ(WordEdit(), "cow");
    Type("CAT");
    PreviousWord();
    EXPECT_EQ(WordEdit(), "cab");

    // Upper-case Cyrillic sorts before every lower-case entry.
    Browse(kCat, kCatUpper);
    NextWord();
    EXPECT_EQ(WordEdit(), kWhale);
    Type(kCatUpper);
    PreviousWord();
    EXPECT_EQ(WordEdit(), kCatUpper);
}

TEST_F(BrowseTest, BrowsingStaysInTheLoadedLetter) {
    Browse("mouse", "zebra");
    NextWord();
    EXPECT_EQ(WordEdit(), "zebra");
    EXPECT_EQ(LetterBuffer.Letter, 'M');
}

TEST_F(BrowseTest, NextWordsMenuListsUpToTwentyAndShowsTheChoice) {
    Browse("cat", "cat");
    Headless().menuAnswers = {0, 2};
    NextWordsMenu();  // Escape
    EXPECT_EQ(WordEdit(), "cat");
    NextWordsMenu();
    ASSERT_EQ(Headless().menus.size(), 2u);
    const ShownMenu& menu = Headless().menus.back();
    EXPECT_EQ(menu.buttonPosition, 6);
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[0].text, "cat");
    EXPECT_EQ(menu.items[2].id, 3);
    EXPECT_EQ(menu.items[2].text, "crab");
    EXPECT_EQ(WordEdit(), "cow");
    EXPECT_EQ(Description(), "bos taurus");

    std::string many;
    for (int i = 0; i < 25; ++i) many += Entries({{"w" + std::to_string(100 + i), "word"}});
    MakeLetter("D", 'W', many);
    Browse("w100", "w102");
    NextWordsMenu();
    ASSERT_EQ(Headless().menus.back().items.size(), 20u);
    EXPECT_EQ(Headless().menus.back().items[19].text, "w121");
}

TEST_F(BrowseTest, EveryListedNextWordCanBeChosen) {
    // cow starts within the last ten bytes but is listed; choosing it shows it.
    MakeLetter("D", 'B', Entries({{"bab", "taxi"}, {"bat", "x"}, {"bow", "b"}}));
    Browse("bab", "bab");
    Headless().menuAnswers = {3};
    NextWordsMenu();
    ASSERT_EQ(Headless().menus.back().items.size(), 3u);
    EXPECT_EQ(WordEdit(), "bow");
    EXPECT_EQ(Description(), "b");
}

TEST_F(BrowseTest, DamagedLettersAreNeverReadPastTheirEnd) {
    // The last entry lacks its NULs; another letter is one long word.
    MakeLetter("D", 'B', std::string("bat\0flying mammal\0bow\0bo", 25));
    MakeLetter("D", 'X', std::string(300, 'x'));
    Browse("bat", "bat");
    NextWord();
    EXPECT_EQ(WordEdit(), "bow");
    Type("bz");
    PreviousWord();
    NextWord();
    NextWordsMenu();

    Browse("x", "");
    NextWord();
    PreviousWord();
    NextWordsMenu();
    Type("y");
    PreviousWord();
    EXPECT_EQ(WordEdit(), std::string(300, 'x'));

    Settings.autocomplete = 1;
    LastKey = 'y';
    Type("bowl");
    EXPECT_EQ(WordEdit(), "bowl");
    EXPECT_EQ(AutoCompleted, 0);
}

class CompletionTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Settings.autocomplete = 1;
        LastKey = 'a';
    }
    void Open(int caseSensitive) {
        MakeDictionary("D", "D", 0, caseSensitive);
        ASSERT_EQ(OpenDictionary("D"), kResultOk);
    }
    void Letter(unsigned char letter, const std::string& bytes) {
        std::filesystem::create_directories("D");
        MakeLetter("D", letter, bytes);
    }
};

TEST_F(CompletionTest, CompletesWithTheStoredWordAndSelectsTheTail) {
    Letter('C', Entries({{"Cab", "taxi"}, {"cat", "felis"}}));
    Letter('M', Entries({{"mouse", "mus"}}));
    Open(0);
    Type("ca");
    EXPECT_EQ(WordEdit(), "Cab");
    EXPECT_EQ(Headless().selectionStart, 2);
    EXPECT_EQ(Headless().selectionEnd, 3);
    EXPECT_EQ(AutoCompleted, 1);
    EXPECT_EQ(LookupWord(1, -1), kResultOk);
    EXPECT_EQ(Description(), "taxi");

    Type("mo");  // loads its own letter
    EXPECT_EQ(WordEdit(), "mouse");
    Type("cz");
    EXPECT_EQ(WordEdit(), "cz");
    EXPECT_EQ(AutoCompleted, 0);

    for (unsigned char key : {8, 9}) {
        LastKey = key;  // Backspace, Delete
        Type("ca");
        EXPECT_EQ(WordEdit(), "ca");
    }
    LastKey = 'a';
    Headless().hidden = true;
    Type("ca");
    EXPECT_EQ(WordEdit(), "ca");
}

TEST_F(CompletionTest, CaseSensitiveDictionaryCompletesExactCaseOnly) {
    Letter('c', Entries({{"cab", "taxi"}}));
    Letter('C', Entries({{"Cat", "felis"}}));
    Open(1);
    Type("Ca");
    EXPECT_EQ(WordEdit(), "Cat");
    Type("ca");
    EXPECT_EQ(WordEdit(), "cab");
    Type("CA");
    EXPECT_EQ(WordEdit(), "CA");
}

TEST_F(CompletionTest, ComparesLongWordsInFull) {
    const std::string stem(100, 'a');
    Letter('A', Entries({{stem + "bc", "first"}, {stem + "cd", "second"}}));
    Open(0);
    Type(stem + "c");
    EXPECT_EQ(WordEdit(), stem + "cd");
}
