// Adding and deleting entries in the running program: the letter file on
// disk, the toolbar, and the boxes answered as a user would.
#include "tests/e2e/e2e_support.h"

namespace {

enum : int { kAdd = 40017, kDelete = 40018, kMessageText = 65535 };

class EditingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", "kotka"}});
        WriteSettings(settings_);
    }
    std::string Path(const char* name) { return folder_ + "\\English_Bulgarian\\" + name; }
    std::string Letter(const char* name) { return ReadBytes(Path(name)); }
    // The box with this caption, once it is up.
    static HWND WaitForBox(const char* caption) {
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindWindowA("#32770", caption)) != nullptr && IsWindowVisible(box); });
        return box;
    }
    void Add(const RunningProgram& program) {
        PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kAdd, 0), 0);
    }
    // The text of the error box once it is up, which is then closed; empty
    // when none came up.
    static std::string AnswerErrorBox() {
        HWND box = WaitForBox("Error");
        if (!box) return std::string();
        std::string said = TextOf(GetDlgItem(box, kMessageText));
        Send(GetDlgItem(box, IDOK), BM_CLICK);
        return said;
    }
    StoredSettings settings_;
};

TEST_F(EditingTest, AddThenDeleteWithTheConfirmationAnsweredYes) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    SetText(Control(program, kWordEdit), "dog");
    PostChars(Control(program, kDescriptionEdit), "kuche");
    Settle(program);
    ASSERT_TRUE(ToolbarButtonEnabled(program, kAdd));

    Add(program);
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), std::string("dog\0kuche\0", 10)) << "a new letter file";
    EXPECT_EQ(ControlText(program, kWordEdit), "dog");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "kuche");
    EXPECT_FALSE(ToolbarButtonEnabled(program, kAdd));
    EXPECT_TRUE(ToolbarButtonEnabled(program, kDelete));

    // The confirmation box runs its own loop inside the command.
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kDelete, 0), 0);
    HWND box = WaitForBox("Confirmation");
    ASSERT_NE(box, nullptr) << "no confirmation box";
    Send(GetDlgItem(box, IDYES), BM_CLICK);
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), "") << "the only entry went; the file stays";
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotka\0", 10));
    EXPECT_EQ(ControlText(program, kWordEdit), "dog");
}

// With completion on, the user types "ca", which completes to "cab"; Delete
// drops the completed tail. Adding stores "ca" and touches no other entry.
TEST_F(EditingTest, WithCompletionOnTheTypedWordIsAddedAndNothingElseChanges) {
    WriteDictionary(folder_, "Animals", "Animals", {{"cab", "taxi"}, {"cat", "kotka"}});
    settings_.startdict = "Animals";
    settings_.autocomplete = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    HWND word = Control(program, kWordEdit);
    SetText(word, "ca");
    Settle(program);
    ASSERT_EQ(ControlText(program, kWordEdit), "cab") << "completed as typed";
    PostKey(word, VK_DELETE);
    PostChars(Control(program, kDescriptionEdit), "about");
    Settle(program);
    ASSERT_EQ(ControlText(program, kWordEdit), "ca");

    Add(program);
    Settle(program);
    EXPECT_EQ(FindWindowA("#32770", "Confirmation"), nullptr) << "nothing to replace";
    EXPECT_EQ(ReadBytes(folder_ + "\\Animals\\43.dat"), std::string("ca\0about\0cab\0taxi\0cat\0kotka\0", 28));
    EXPECT_EQ(ControlText(program, kWordEdit), "ca");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "about");
}

// The word is stored without the blanks typed after it: "cat " replaces cat.
TEST_F(EditingTest, AWordWithTrailingBlanksReplacesTheWordItself) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    SetText(Control(program, kWordEdit), "cat  ");
    PostChars(Control(program, kDescriptionEdit), "kotarak");
    Settle(program);
    Add(program);
    HWND box = WaitForBox("Confirmation");
    ASSERT_NE(box, nullptr) << "cat is there: the replacement is asked";
    Send(GetDlgItem(box, IDYES), BM_CLICK);
    Settle(program);
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotarak\0", 12));
    EXPECT_EQ(ControlText(program, kWordEdit), "cat");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "kotarak");
}

// Another program holds the letter file open without sharing: it cannot be
// read, so nothing is written over it and the user is told.
TEST_F(EditingTest, ALetterFileThatCannotBeReadIsLeftAloneAndTheUserTold) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    HANDLE held = CreateFileA(Path("43.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    SetText(Control(program, kWordEdit), "cow");
    PostChars(Control(program, kDescriptionEdit), "krava");
    Settle(program);
    Add(program);
    std::string said = AnswerErrorBox();
    CloseHandle(held);
    EXPECT_EQ(said, "Could not read the dictionary file 'English_Bulgarian\\43.dat'. Nothing was changed.");
    Settle(program);
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotka\0", 10));
    EXPECT_EQ(ControlText(program, kWordEdit), "cow") << "kept for another try";
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "krava");
    EXPECT_TRUE(ToolbarButtonEnabled(program, kAdd));

    // Once the file can be read, the same Add stores the entry.
    Add(program);
    Settle(program);
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotka\0cow\0krava\0", 20));
}

// In a dual dictionary an entry and its reverse entry are one change: with
// the reverse entry's letter file held open elsewhere neither is stored and
// the user is told; once it can be read, both are. The word edit takes no
// longer word than can be stored, and a longer description is refused with
// its limit named.
TEST_F(EditingTest, ADualAdditionStoresBothEntriesOrNeitherAndLongTextIsRefused) {
    auto write = [&](const char* name, const std::string& bytes) {
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(file);
    };
    std::string header = Letter("00.dat");
    header[64] = 1;  // dual
    write("00.dat", header);
    write("4b.dat", std::string("kotka\0cat\0", 10));
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Send(Control(program, kWordEdit), EM_GETLIMITTEXT), 255);

    HANDLE held = CreateFileA(Path("4b.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Send(Control(program, kWordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("dog"));
    PostChars(Control(program, kDescriptionEdit), "kuche");
    Settle(program);
    Add(program);
    std::string said = AnswerErrorBox();
    CloseHandle(held);
    EXPECT_EQ(said, "Could not read the dictionary file 'English_Bulgarian\\4b.dat'. Nothing was changed.");
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), "(missing)") << "the entry without its reverse";
    Add(program);
    Settle(program);
    EXPECT_EQ(Letter("44.dat"), std::string("dog\0kuche\0", 10));
    EXPECT_EQ(Letter("4b.dat"), std::string("kotka\0cat\0kuche\0dog\0", 20));
    EXPECT_EQ(ControlText(program, kWordEdit), "dog");

    const std::string longest(9998, 'x');
    Send(Control(program, kWordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("cow"));
    Send(Control(program, kDescriptionEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>((longest + "x").c_str()));
    Settle(program);
    Add(program);
    EXPECT_EQ(AnswerErrorBox(), "The description is longer than 9998 characters, the most a description may have. "
                    "Nothing was changed.");
    Settle(program);
    EXPECT_EQ(Letter("43.dat"), std::string("cat\0kotka\0", 10));
}

}  // namespace
