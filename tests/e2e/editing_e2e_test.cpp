// Adding and deleting entries in the running program: the letter file on
// disk, the toolbar, and the confirmation box answered as a user would.
#include "tests/e2e/e2e_support.h"

namespace {

enum : int { kAdd = 40017, kDelete = 40018 };

class EditingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", "kotka"}});
        StoredSettings settings;
        settings.startdict = "English_Bulgarian";
        WriteSettings(settings);
    }
    std::string Letter(const char* name) { return ReadBytes(folder_ + "\\English_Bulgarian\\" + name); }
};

TEST_F(EditingTest, AddThenDeleteWithTheConfirmationAnsweredYes) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    Send(Control(program, kWordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("dog"));
    PostChars(Control(program, kDescriptionEdit), "kuche");
    Settle(program);
    ASSERT_TRUE(ToolbarButtonEnabled(program, kAdd));

    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kAdd, 0), 0);
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), std::string("dog\0kuche\0", 10)) << "a new letter file";
    EXPECT_EQ(ControlText(program, kWordEdit), "dog");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "kuche");
    EXPECT_FALSE(ToolbarButtonEnabled(program, kAdd));
    EXPECT_TRUE(ToolbarButtonEnabled(program, kDelete));

    // The confirmation box runs its own loop inside the command.
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kDelete, 0), 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindWindowA("#32770", "Confirmation")) != nullptr; }))
        << "no confirmation box";
    Send(GetDlgItem(box, IDYES), BM_CLICK);
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), "") << "the only entry went; the file stays";
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotka\0", 10));
    EXPECT_EQ(ControlText(program, kWordEdit), "dog");
}

}  // namespace
