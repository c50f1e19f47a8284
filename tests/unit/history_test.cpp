#include <string>

#include "lookup/history.h"
#include "platform/headless.h"
#include "res/resource.h"
#include "tests/unit/test_support.h"
#include "ui/browse_commands.h"
#include "ui/dictionary_commands.h"
#include "ui/lookup_command.h"

class HistoryTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
        MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
        MakeLetter("D", 'D', Entries({{"dog", "canis"}}));
        MakeLetter("D", 'E', Entries({{"eel", "anguilla"}}));
        MakeLetter("D", 'F', Entries({{"fox", "vulpes"}}));
        MakeLetter("D", 0xCA, Entries({{"\xEA\xEE\xF2\xEA\xE0", "cat"}}));  // котка
        std::string words;
        for (int i = 0; i < 21; ++i) words += Entries({{"w" + std::to_string(100 + i), "x"}});
        words += Entries({{std::string(49, 'w'), "x"}, {std::string(50, 'w'), "x"}});
        MakeLetter("D", 'W', words);
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    }
    void Find(const std::string& word) {
        Type(word);
        ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok) << word;
    }
    std::string After(void (*move)()) {
        move();
        return WordEdit();
    }
    std::string Slot(int i) const { return WordHistory.Slots[i]; }
};

TEST_F(HistoryTest, KeepsDistinctFoundWordsAndEnablesItsButtonsWithTheFirst) {
    Type("cow");
    LookupWord(MissedDescription::Clear, PluralRetry::On);  // not found: not remembered
    EXPECT_EQ(WordHistory.Count, 0);
    EXPECT_FALSE(HeadlessToolbarEnabled(IDM_HISTBACK));

    Find("cat");
    for (int command : {IDM_HISTBACK, IDM_HISTFORWARD, IDM_HISTMENU})
        EXPECT_TRUE(HeadlessToolbarEnabled(command)) << command;
    Find("dog");
    Find("CAT");  // already held: neither order nor position changes
    EXPECT_EQ(WordHistory.Count, 2);
    EXPECT_EQ(WordHistory.Current, 1);

    // Cyrillic letters are not folded by this comparison.
    Find("\xEA\xEE\xF2\xEA\xE0");
    Find("\xCA\xCE\xD2\xCA\xC0");
    EXPECT_EQ(WordHistory.Count, 4);

    // A word that does not fit a slot is left out, not cut short.
    Find(std::string(50, 'w'));
    EXPECT_EQ(WordHistory.Count, 4);
    Find(std::string(49, 'w'));
    EXPECT_EQ(Slot(4), std::string(49, 'w'));
}

TEST_F(HistoryTest, TheTwentyFirstWordDropsTheOldest) {
    for (int i = 0; i < 21; ++i) Find("w" + std::to_string(100 + i));
    EXPECT_EQ(WordHistory.Count, 20);
    EXPECT_EQ(WordHistory.Current, 19);
    EXPECT_EQ(Slot(0), "w101");
    EXPECT_EQ(Slot(18), "w119");
    EXPECT_EQ(Slot(19), "w120");
}

TEST_F(HistoryTest, BackAndForwardWrapAroundAndNeverReorder) {
    HistoryBack();  // empty: nothing to show
    HistoryForward();
    EXPECT_EQ(Headless().wordEditChanges, 0);

    Find("cat");
    EXPECT_EQ(After(HistoryBack), "cat");
    EXPECT_EQ(After(HistoryForward), "cat");

    Find("dog");
    Find("eel");
    EXPECT_EQ(After(HistoryBack), "dog");
    EXPECT_EQ(Description(), "canis");
    EXPECT_EQ(After(HistoryForward), "eel");
    EXPECT_EQ(After(HistoryForward), "cat");  // from the newest to the oldest
    EXPECT_EQ(After(HistoryBack), "eel");     // and back
    EXPECT_EQ(Slot(0) + Slot(1) + Slot(2), "catdogeel");
}

TEST_F(HistoryTest, MenuListsNewestFirstAndLeavesThePositionAlone) {
    HistoryMenu();
    EXPECT_TRUE(Headless().menus.empty());

    for (const char* word : {"cat", "dog", "eel", "fox"}) Find(word);
    Headless().menuAnswers = {0, 1};
    EXPECT_EQ(After(HistoryMenu), "fox");  // dismissed
    EXPECT_EQ(After(HistoryMenu), "cat");  // the fourth item, the oldest word
    EXPECT_EQ(Description(), "felis");
    const ShownMenu& menu = Headless().menus.back();
    EXPECT_EQ(menu.buttonCommand, IDM_HISTMENU);
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[0].id, 4);
    EXPECT_EQ(menu.items[0].text, "fox");
    EXPECT_EQ(menu.items[3].id, 1);

    EXPECT_EQ(After(HistoryBack), "eel");  // still a step back from the newest
}
