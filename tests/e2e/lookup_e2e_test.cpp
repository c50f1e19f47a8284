// Looking words up in the running program, and the toolbar following it.
#include "tests/e2e/e2e_support.h"

namespace {

// Code page 1251 bytes.
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";      // котка
const std::string kDog = "\xEA\xF3\xF7\xE5";          // куче
const std::string kApple = "\xFF\xE1\xFA\xEB\xEA\xE0";  // ябълка

enum : int {
    kOpen = 40014,
    kSimilar = 40016,
    kAdd = 40017,
    kDelete = 40018,
    kInfo = 40025,
    kAllDictionaries = 40037,
    kPreviousWord = 101,
    kNextWord = 102,
    kNextWords = 103,
    kHistoryBack = 106,
    kHistoryForward = 107,
    kHistoryMenu = 108,
};

// Commands that need an open dictionary and a word.
const int kNeedWord[] = {kSimilar, kAllDictionaries, kPreviousWord, kNextWord, kNextWords};

class LookupTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian",
                        {{"cat", kCat}, {"apple", kApple}, {"dog", kDog}, {kDog, "dog"}, {kCat, "cat"}});
        StoredSettings settings;
        settings.startdict = "English_Bulgarian";
        WriteSettings(settings);
    }

    // Types the word into the word edit and presses Enter there.
    void Find(const RunningProgram& program, const std::string& word) {
        HWND edit = Control(program, kWordEdit);
        SetText(edit, word);
        PostEnter(edit);
        Settle(program);
    }
};

TEST_F(LookupTest, EnterShowsTheDescriptionAndSelectsTheWord) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    Find(program, "cat");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), kCat);
    EXPECT_EQ(ControlText(program, kWordEdit), "cat");
    EXPECT_EQ(Send(Control(program, kWordEdit), EM_GETSEL), MAKELONG(0, 3)) << "the word is selected";
    EXPECT_TRUE(ToolbarButtonEnabled(program, kDelete));
    EXPECT_FALSE(ToolbarButtonEnabled(program, kAdd));

    // Cyrillic words travel as code page 1251 both ways; case is folded.
    Find(program, "\xCA\xD3\xD7\xC5");  // КУЧЕ
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "dog");
    Find(program, "Apple");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), kApple);
}

TEST_F(LookupTest, AWordThatIsNotThereEmptiesTheDescription) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    Find(program, "cat");
    ASSERT_EQ(ControlText(program, kDescriptionEdit), kCat);
    Find(program, "mouse");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");
    EXPECT_EQ(ControlText(program, kWordEdit), "mouse");
    EXPECT_FALSE(ToolbarButtonEnabled(program, kDelete)) << "nothing to delete";
    EXPECT_FALSE(ToolbarButtonEnabled(program, kAdd)) << "no description to add";
}

TEST_F(LookupTest, ToolbarFollowsAFindAndAnEditedDescription) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(ToolbarButtonEnabled(program, kHistoryBack)) << "the history starts empty";

    Find(program, "dog");
    ASSERT_EQ(ControlText(program, kDescriptionEdit), kDog);
    for (int command : kNeedWord) EXPECT_TRUE(ToolbarButtonEnabled(program, command)) << command;
    for (int command : {kInfo, kOpen, kDelete, kHistoryBack, kHistoryForward, kHistoryMenu})
        EXPECT_TRUE(ToolbarButtonEnabled(program, command)) << command;
    EXPECT_FALSE(ToolbarButtonEnabled(program, kAdd));
    EXPECT_TRUE(IsWindowEnabled(Control(program, kFindButton)));

    // Typed characters raise the description's change notification (text
    // set from outside would not).
    PostChars(Control(program, kDescriptionEdit), "!");
    Settle(program);
    ASSERT_NE(ControlText(program, kDescriptionEdit).find('!'), std::string::npos);
    EXPECT_FALSE(ToolbarButtonEnabled(program, kDelete));
    EXPECT_TRUE(ToolbarButtonEnabled(program, kAdd));
}

TEST_F(LookupTest, PageUpAndPageDownWalkTheHistoryAndTheArrowsTheLetter) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    for (const std::string& word : {std::string("apple"), kDog, std::string("dog")}) Find(program, word);
    HWND edit = Control(program, kWordEdit);
    PostKey(edit, VK_PRIOR);
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), kDog);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "dog");
    PostKey(edit, VK_NEXT);
    PostKey(edit, VK_NEXT);  // from the newest round to the oldest
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), "apple");

    // The word before a Cyrillic one in its letter.
    Find(program, kDog);
    PostKey(edit, VK_UP);
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), kCat);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "cat");
}

TEST_F(LookupTest, WithNoDictionaryOpenOnlyTheCatalogueStaysEnabled) {
    StoredSettings settings;
    settings.startdict = "Missing";
    WriteSettings(settings);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    // A word in the edit needs an open dictionary to be of use.
    SetText(Control(program, kWordEdit), "cat");
    Settle(program);
    EXPECT_EQ(TextOf(program.window), "Dictionary");
    for (int command : kNeedWord) EXPECT_FALSE(ToolbarButtonEnabled(program, command)) << command;
    for (int command : {kAdd, kDelete, kInfo}) EXPECT_FALSE(ToolbarButtonEnabled(program, command)) << command;
    EXPECT_FALSE(IsWindowEnabled(Control(program, kFindButton)));
    EXPECT_TRUE(ToolbarButtonEnabled(program, kOpen)) << "the catalogue holds a dictionary";
}

TEST_F(LookupTest, WithAnEmptyCatalogueTheDictionaryMenuIsDisabled) {
    // No dictionary folder at all: only the header makes a folder one.
    ASSERT_TRUE(DeleteFileA((folder_ + "\\English_Bulgarian\\00.dat").c_str()));
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_FALSE(ToolbarButtonEnabled(program, kOpen));
    EXPECT_FALSE(ToolbarButtonEnabled(program, kInfo));
    EXPECT_FALSE(IsWindowEnabled(Control(program, kFindButton)));
}

}  // namespace
