#include <cstring>
#include <memory>
#include <string>

#include "lookup/history.h"
#include "lookup/similar.h"
#include "platform/headless.h"
#include "res/resource.h"
#include "settings/hotkey.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "tests/unit/test_support.h"
#include "ui/browse_commands.h"
#include "ui/clipboard_word.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/find_command.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"
#include "ui/search_commands.h"

class ToolbarStateTest : public ProgramFolderTest {
protected:
    bool On(int command) { return HeadlessToolbarEnabled(command); }
};

TEST_F(ToolbarStateTest, NothingToWorkOnWithoutADictionary) {
    MakeDictionary("D");
    DictionaryCatalog = ListDictionaries("");
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
    DictionaryCatalog = ListDictionaries("");
    SelectDictionary("D");
    Type("cat");
    EXPECT_TRUE(Headless().findButtonEnabled);
    EXPECT_EQ(EditState.Modified, 1);
    FindCommand();
    EXPECT_EQ(Description(), "felis");
    EXPECT_EQ(EditState.Modified, 0);
    EXPECT_TRUE(On(IDM_DEL));
    EXPECT_FALSE(On(IDM_ADD));
    EXPECT_TRUE(On(IDM_SIM) && On(IDM_ALLDICT) && On(IDM_INFO) && On(IDM_NEXTWORD));

    HeadlessTypeDescription("felis catus");
    EXPECT_EQ(std::string(EditState.DescriptionText), "felis catus");
    EXPECT_FALSE(On(IDM_DEL));
    EXPECT_TRUE(On(IDM_ADD));

    HeadlessTypeDescription("");
    EXPECT_FALSE(On(IDM_ADD));
}

TEST_F(ToolbarStateTest, FindThatFailsEmptiesTheDescriptionAndMarksModified) {
    MakeDictionary("D");
    MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
    SelectDictionary("D");
    Settings.similarOnNotFound = 0;
    Type("cat");
    FindCommand();
    Type("cow");
    FindCommand();
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(EditState.Modified, 1);
}

TEST(ChangeHandlerTest, ReadsTheWordAndSkipsCompletionAfterDeleteOrWhileHidden) {
    StartHeadlessProgram();
    EditState.LastKey = 'a';
    SetWordEditText("abc");
    EXPECT_STREQ(EditState.WordText, "abc");
    EXPECT_EQ(EditState.Modified, 1);
    EditState.AutoCompleted = 1;
    SetWordEditText("ab");  // a change not made by completion clears the flag
    EXPECT_EQ(EditState.AutoCompleted, 0);
    EXPECT_EQ(Headless().wordEditChanges, 2);
}

// Clipboard text as a block that ends in its NUL.
static ClipboardWord Take(const std::string& text, CaseRule rule = CaseRule::Folded) {
    return TakeClipboardWord(text.c_str(), text.size() + 1, rule);
}

TEST(ClipboardWordTest, TakesTheLeadingRunOfLetters) {
    EXPECT_STREQ(Take("  cat").word, "cat");
    EXPECT_TRUE(ClipboardWordStoodAlone(Take("cat")));
    EXPECT_TRUE(ClipboardWordStoodAlone(Take("cat ")));
    EXPECT_FALSE(ClipboardWordStoodAlone(Take("cat  ")));
    EXPECT_FALSE(ClipboardWordStoodAlone(Take("cat\r\n")));
    EXPECT_FALSE(ClipboardWordStoodAlone(Take("cat, dog")));
    EXPECT_STREQ(Take("don't").word, "don");
    EXPECT_STREQ(Take("\tcat").word, "");
    EXPECT_STREQ(Take("\xEA\xEE\xF2\xEA\xE0!").word, "\xEA\xEE\xF2\xEA\xE0");
    ClipboardWord sixty = Take(std::string(60, 'a'));
    EXPECT_EQ(std::string(sixty.word), std::string(51, 'a'));
    EXPECT_FALSE(ClipboardWordStoodAlone(sixty));

    EXPECT_STREQ(Take("cat", CaseRule::Exact).word, "");
    EXPECT_STREQ(Take("Cat", CaseRule::Exact).word, "C");
}

TEST(HotkeyTest, SwapsShiftAndAltKeepsControl) {
    EXPECT_EQ(HotkeyToModifiers(0), 0u);
    EXPECT_EQ(HotkeyToModifiers(0x0141), 0x4u);        // Shift+A -> MOD_SHIFT
    EXPECT_EQ(HotkeyToModifiers(0x0441), 0x1u);        // Alt+A -> MOD_ALT
    EXPECT_EQ(HotkeyToModifiers(0x0641), 0x3u);        // Ctrl+Alt
    EXPECT_EQ(HotkeyToModifiers(0x0A24), 0x2u);        // Ctrl+Home (extended) is no Windows-key combination
}

// Completion follows the user's typing; a word the program shows (stepping,
// the history, a similar word) is shown exactly, even where completion would
// turn it into another entry.
TEST_F(ToolbarStateTest, TextTheProgramWritesIsNeverCompleted) {
    const std::string ABV = "\xC0\xC1\xC2", ab = "\xE0\xE1", abvg = "\xE0\xE1\xE2\xE3";  // АБВ, аб, абвг
    MakeDictionary("D");
    MakeLetter("D", 0xC0, Entries({{ABV, "first entry"}, {ab, "second entry"}, {abvg, "third entry"}}));
    DictionaryCatalog = ListDictionaries("");
    ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    Settings.autoComplete = 1;
    EditState.LastKey = 'a';

    Type(ab);  // the user's typing is completed
    EXPECT_EQ(WordEdit(), ABV);
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
    NextWord();
    EXPECT_EQ(WordEdit(), ab);
    EXPECT_EQ(Description(), "second entry");
    NextWord();
    EXPECT_EQ(WordEdit(), abvg);
    PreviousWord();
    EXPECT_EQ(WordEdit(), ab);
    HistoryBack();  // the history holds АБВ, аб, абвг and stands at абвг
    EXPECT_EQ(WordEdit(), ab);
    HistoryBack();
    EXPECT_EQ(WordEdit(), ABV);
    HistoryForward();
    EXPECT_EQ(WordEdit(), ab);

    Headless().listChoices = {1};  // the list: АБВ, аб, абвг (sorted), then аб previewed and taken
    Type("\xE0\xE1\xE6\xE7");      // абжз: completed by nothing, not found, too far for a suggestion
    ASSERT_EQ(ShowSimilarWords(), 1);
    EXPECT_EQ(WordEdit(), ab);
    EXPECT_EQ(Description(), "second entry");
    EXPECT_EQ(Settings.autoComplete, 1);
}

// Clipboard text is a block of a given size that need not end in a NUL.
TEST(ClipboardWordTest, NeverReadsPastTheBlock) {
    const char text[] = {'c', 'a', 't', 's'};  // no terminator
    std::unique_ptr<char[]> block(new char[sizeof text]);
    std::memcpy(block.get(), text, sizeof text);
    ClipboardWord taken = TakeClipboardWord(block.get(), 3, CaseRule::Folded);
    EXPECT_STREQ(taken.word, "cat");
    EXPECT_TRUE(ClipboardWordStoodAlone(taken));
    taken = TakeClipboardWord(block.get(), sizeof text, CaseRule::Folded);
    EXPECT_STREQ(taken.word, "cats");
    EXPECT_TRUE(ClipboardWordStoodAlone(taken));
    const char spaced[] = {' ', ' ', 'd', 'o', 'g', ' '};
    block.reset(new char[sizeof spaced]);
    std::memcpy(block.get(), spaced, sizeof spaced);
    taken = TakeClipboardWord(block.get(), sizeof spaced, CaseRule::Folded);
    EXPECT_STREQ(taken.word, "dog");
    EXPECT_TRUE(ClipboardWordStoodAlone(taken));  // one space, then the end of the block
    EXPECT_STREQ(TakeClipboardWord(block.get(), 2, CaseRule::Folded).word, "");
    EXPECT_STREQ(TakeClipboardWord(block.get(), 0, CaseRule::Folded).word, "");
}
