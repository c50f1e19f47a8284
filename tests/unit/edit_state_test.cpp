#include <string>

#include "lookup/lookup.h"
#include "platform/headless.h"
#include "res/resource.h"
#include "settings/hotkey.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "tests/unit/test_support.h"
#include "ui/clipboard_word.h"
#include "ui/edit_state.h"

class ToolbarStateTest : public ProgramFolderTest {
protected:
    bool On(int command) { return HeadlessToolbarEnabled(command); }
};

TEST_F(ToolbarStateTest, NothingToWorkOnWithoutADictionary) {
    MakeDictionary("D");
    ListDictionaries();
    Type("cat");
    for (int command : {IDM_ALLDICT, IDM_SIM, IDM_ADD, IDM_DEL, IDM_INFO, IDM_PREVWORD, IDM_NEXTWORD, IDM_NEXT20})
        EXPECT_FALSE(On(command)) << command;
    EXPECT_FALSE(Headless().findButtonEnabled);
    EXPECT_TRUE(On(IDM_OPEN));
    for (int command : {IDM_NEW, IDM_SETTINGS, IDM_HIDE, IDM_QUIT}) EXPECT_TRUE(On(command));
}

TEST_F(ToolbarStateTest, FoundWordEnablesDeleteEditingEnablesAdd) {
    MakeDictionary("D");
    MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
    ListDictionaries();
    OpenDictionary("D");
    Type("cat");
    EXPECT_TRUE(Headless().findButtonEnabled);
    EXPECT_EQ(Modified, 1);
    FindCommand();
    EXPECT_EQ(Description(), "felis");
    EXPECT_EQ(Modified, 0);
    EXPECT_TRUE(On(IDM_DEL));
    EXPECT_FALSE(On(IDM_ADD));
    EXPECT_TRUE(On(IDM_SIM) && On(IDM_ALLDICT) && On(IDM_INFO) && On(IDM_NEXTWORD));

    HeadlessTypeDescription("felis catus");
    EXPECT_EQ(std::string(DescriptionText), "felis catus");
    EXPECT_FALSE(On(IDM_DEL));
    EXPECT_TRUE(On(IDM_ADD));

    HeadlessTypeDescription("");
    EXPECT_FALSE(On(IDM_ADD));
}

TEST_F(ToolbarStateTest, FindThatFailsEmptiesTheDescriptionAndMarksModified) {
    MakeDictionary("D");
    MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
    OpenDictionary("D");
    Settings.simonnotfound = 0;
    Type("cat");
    FindCommand();
    Type("cow");
    FindCommand();
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(Modified, 1);
}

TEST(ChangeHandlerTest, ReadsTheWordAndSkipsCompletionAfterDeleteOrWhileHidden) {
    ResetHeadless();
    ResetEditState();
    Settings = SettingsRecord{};
    LastKey = 'a';
    SetWordEditText("abc");
    EXPECT_STREQ(WordText, "abc");
    EXPECT_EQ(Modified, 1);
    AutoCompleted = 1;
    SetWordEditText("ab");  // a change not made by completion clears the flag
    EXPECT_EQ(AutoCompleted, 0);
    EXPECT_EQ(Headless().wordEditChanges, 2);
}

TEST(ClipboardWordTest, TakesTheLeadingRunOfLetters) {
    ResetDictionaryState();
    EXPECT_STREQ(TakeClipboardWord("  cat").word, "cat");
    EXPECT_TRUE(ClipboardWordStoodAlone(TakeClipboardWord("cat")));
    EXPECT_TRUE(ClipboardWordStoodAlone(TakeClipboardWord("cat ")));
    EXPECT_FALSE(ClipboardWordStoodAlone(TakeClipboardWord("cat  ")));
    EXPECT_FALSE(ClipboardWordStoodAlone(TakeClipboardWord("cat\r\n")));
    EXPECT_FALSE(ClipboardWordStoodAlone(TakeClipboardWord("cat, dog")));
    EXPECT_STREQ(TakeClipboardWord("don't").word, "don");
    EXPECT_STREQ(TakeClipboardWord("\tcat").word, "");
    EXPECT_STREQ(TakeClipboardWord("\xEA\xEE\xF2\xEA\xE0!").word, "\xEA\xEE\xF2\xEA\xE0");
    ClipboardWord sixty = TakeClipboardWord(std::string(60, 'a').c_str());
    EXPECT_EQ(std::string(sixty.word), std::string(51, 'a'));
    EXPECT_FALSE(ClipboardWordStoodAlone(sixty));

    CurrentDictionary.CaseSensitive = 1;
    EXPECT_STREQ(TakeClipboardWord("cat").word, "");
    EXPECT_STREQ(TakeClipboardWord("Cat").word, "C");
    CurrentDictionary.CaseSensitive = 0;
}

TEST(HotkeyTest, SwapsShiftAndAltKeepsControl) {
    EXPECT_EQ(HotkeyToModifiers(0), 0u);
    EXPECT_EQ(HotkeyToModifiers(0x0141), 0x4u);        // Shift+A -> MOD_SHIFT
    EXPECT_EQ(HotkeyToModifiers(0x0441), 0x1u);        // Alt+A -> MOD_ALT
    EXPECT_EQ(HotkeyToModifiers(0x0641), 0x3u);        // Ctrl+Alt
    EXPECT_EQ(HotkeyToModifiers(0x0A24), 0x2u);        // Ctrl+Home (extended) is no Windows-key combination
}
