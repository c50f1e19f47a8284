// Watching the clipboard: a word copied twice quickly pops the window up
// with it looked up; what a single copy, a hidden window and an
// unterminated block do.
#include "tests/e2e/e2e_support.h"

namespace {

enum : int { kShowCommand = 40028 };

const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";  // котка, in code page 1251

class ClipboardTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", kCat}, {"dog", "kuche"}});
        settings_.traymin = 1;
        settings_.startmin = 1;
        settings_.monitor = 1;
        settings_.dblpopup = 1;
    }
    StoredSettings settings_;
};

TEST_F(ClipboardTest, TwoQuickCopiesOfAWordBringItUpLookedUpAndOneCopyDoesNot) {
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsWindowVisible(program.window));

    CopyText(program, std::string("dog", 4));
    EXPECT_FALSE(IsWindowVisible(program.window)) << "one copy only records the word";
    EXPECT_EQ(ControlText(program, kWordEdit), "");

    // A copied word with one space after it, as a double click copies it.
    CopyTwice(program, std::string("cat ", 5));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.window) != FALSE; })) << "the window stayed hidden";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.window; }));
    EXPECT_EQ(ControlText(program, kWordEdit), "cat");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), kCat);

    // Two copies far apart are two single copies.
    PostMessageA(program.window, WM_COMMAND, 40020, 0);  // Hide
    Settle(program);
    ASSERT_FALSE(IsWindowVisible(program.window));
    CopyText(program, std::string("dog", 4));
    Sleep(400);  // the gap under test
    CopyText(program, std::string("dog", 4));
    EXPECT_FALSE(IsWindowVisible(program.window)) << "copies 400 ms apart popped the window up";
    EXPECT_EQ(ControlText(program, kWordEdit), "cat");
}

TEST_F(ClipboardTest, WithoutDoubleCopyACopyWaitsUntilTheWindowIsShown) {
    settings_.dblpopup = 0;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    CopyTwice(program, std::string("cat", 4));
    Settle(program);
    EXPECT_FALSE(IsWindowVisible(program.window));
    EXPECT_EQ(ControlText(program, kWordEdit), "") << "nothing is read while the window is hidden";

    // Brought up (tray icon, hot key, another start), it reads the clipboard.
    PostMessageA(program.window, WM_COMMAND, kShowCommand, 0);
    Settle(program);
    EXPECT_TRUE(IsWindowVisible(program.window));
    EXPECT_EQ(ControlText(program, kWordEdit), "cat");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), kCat);
}

TEST_F(ClipboardTest, TextWithoutATerminatorIsReadNoFurtherThanItsBlock) {
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    // Exactly the word's bytes and no terminator: the word ends with the
    // block. (Wine's clipboard gives the block a terminator in its last
    // byte: there the word loses its last letter.)
    CopyTwice(program, "cat");
    std::string word = ControlText(program, kWordEdit);
    EXPECT_TRUE(word == "cat" || word == "ca") << word;

    // A long unterminated run of letters gives its first 51.
    CopyTwice(program, std::string(4000, 'd'));
    EXPECT_EQ(ControlText(program, kWordEdit), std::string(51, 'd'));
    EXPECT_FALSE(HasEnded(program));
}

}  // namespace
