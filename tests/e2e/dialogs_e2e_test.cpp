// The "Create new dictionary" and "Dictionary Info" dialogs worked as a user
// would, with the header on disk checked afterwards.
#include "tests/e2e/e2e_support.h"

#include <cstring>

namespace {

enum : int {
    kNextWord = 102,
    kNewCommand = 40013,
    kInfoCommand = 40025,
    kName = 1019,
    kDual = 1020,
    kCaseSensitive = 1021,
    kWordCount = 1006,
};

int32_t HeaderInt(const std::string& header, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, header.data() + offset, sizeof value);
    return value;
}

HWND WaitForDialog(const char* caption) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindWindowA("#32770", caption)) != nullptr && IsWindowVisible(dialog); });
    return dialog;
}

class DictionaryDialogsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        // "\xFE..." files under the last letter, the one counting ends on.
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian",
                        {{"cat", "kotka"}, {"cow", "krava"}, {"\xFEg", "south"}});
        StoredSettings settings;
        settings.startdict = "English_Bulgarian";
        WriteSettings(settings);
    }
    std::string Header(const char* folder) { return ReadBytes(folder_ + "\\" + folder + "\\00.dat"); }
};

TEST_F(DictionaryDialogsTest, CreateANewDictionaryThroughTheDialog) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kNewCommand, 0), 0);
    HWND dialog = WaitForDialog("Create new dictionary");
    ASSERT_NE(dialog, nullptr) << "no creation dialog";
    HWND ok = GetDlgItem(dialog, IDOK);
    EXPECT_FALSE(IsWindowEnabled(ok)) << "OK waits for a name";
    EXPECT_EQ(Send(GetDlgItem(dialog, kDual), BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(Send(GetDlgItem(dialog, kCaseSensitive), BM_GETCHECK), BST_UNCHECKED);

    Send(GetDlgItem(dialog, kName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Sports"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; })) << "a name enables OK";
    Send(GetDlgItem(dialog, kName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(ok); })) << "clearing the name disables OK";
    Send(GetDlgItem(dialog, kName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Sports"));
    Send(GetDlgItem(dialog, kCaseSensitive), BM_SETCHECK, BST_CHECKED);

    // Posted: the success box runs its own loop inside the click.
    PostMessageA(ok, BM_CLICK, 0, 0);
    HWND box = WaitForDialog("Dictionary");
    ASSERT_NE(box, nullptr) << "no success box";
    EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog)) << "the dialog is hidden before the box";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    Settle(program);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the dialog ends";

    std::string header = Header("Sports");
    ASSERT_EQ(header.size(), 192u);
    EXPECT_STREQ(header.c_str(), "Sports");
    EXPECT_EQ(HeaderInt(header, 64), 1) << "dual";
    EXPECT_EQ(HeaderInt(header, 68), 1) << "case sensitive";
}

TEST_F(DictionaryDialogsTest, InfoRenamesOnCloseOnlyAndKeepsTheShownLetter) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    const std::string before = Header("English_Bulgarian");

    // Escape drops an edited name.
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    HWND dialog = WaitForDialog("Dictionary Info");
    ASSERT_NE(dialog, nullptr) << "no info dialog";
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kName)), "English-Bulgarian");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kWordCount)), "3");
    Send(GetDlgItem(dialog, kName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Dropped"));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    Settle(program);
    EXPECT_EQ(Header("English_Bulgarian"), before);

    // Look a word up, then rename with Close: the flags stay, the title follows.
    Send(Control(program, kWordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("cat"));
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kFindButton, 0), 0);
    Settle(program);
    ASSERT_EQ(ControlText(program, kDescriptionEdit), "kotka");

    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    dialog = WaitForDialog("Dictionary Info");
    ASSERT_NE(dialog, nullptr);
    Send(GetDlgItem(dialog, kName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Animals"));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    Settle(program);
    std::string header = Header("English_Bulgarian");
    ASSERT_EQ(header.size(), 192u);
    EXPECT_STREQ(header.c_str(), "Animals");
    EXPECT_EQ(header.substr(64), before.substr(64)) << "flags and fonts unchanged";
    EXPECT_EQ(TextOf(program.window), "Dictionary - [Animals]");

    // Counting walked every letter; browsing goes on from the shown word.
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kNextWord, 0), 0);
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), "cow");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "krava");
}

}  // namespace
