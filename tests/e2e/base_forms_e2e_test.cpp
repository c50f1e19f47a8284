// Inflected words find the entry of their base form in the window: typed
// and found, copied twice, pasted at start and on Show; the option on the
// General page turns it off at once.
#include "tests/e2e/e2e_support.h"

namespace {

enum : int {
    kSettingsCommand = 40019,
    kShowCommand = 40028,
    kBaseFormsBox = 1047,
};

// Code page 1251 bytes.
const std::string kCats = "\xEA\xEE\xF2\xEA\xE8\xF2\xE5";  // котките
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";             // котка

class BaseFormsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian",
                        {{"go", "otivam"}, {"wet", "mokar"}, {kCat, "cat"}});
        // Small tables of the shipped layout: one folder per language.
        std::string forms = folder_ + "\\forms";
        ASSERT_TRUE(CreateDirectoryA(forms.c_str(), nullptr));
        WriteDictionary(forms, "English", "English", {{"went", "go"}});
        WriteDictionary(forms, "Bulgarian", "Bulgarian", {{kCats, kCat}});
    }

    void Find(const RunningProgram& program, const std::string& word) {
        HWND edit = Control(program, kWordEdit);
        SetText(edit, word);
        PostEnter(edit);
        Settle(program);
    }

    StoredSettings settings_;
};

TEST_F(BaseFormsTest, ATypedFormShowsItsBaseUntilTheOptionIsTurnedOff) {
    WriteSettings(settings_);  // without the value, as an earlier version left the key
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    Find(program, kCats);
    EXPECT_EQ(ControlText(program, kWordEdit), kCat);
    EXPECT_EQ(Send(Control(program, kWordEdit), EM_GETSEL), MAKELONG(0, 5)) << "the base is selected";
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "cat");

    // Off on the General page: the next look-up finds nothing.
    PostMessageA(program.window, WM_COMMAND, kSettingsCommand, 0);
    HWND sheet = WaitForProgramDialog(program, "Dictionary Options");
    ASSERT_NE(sheet, nullptr) << "no options sheet";
    HWND page = FindWindowExA(sheet, nullptr, "#32770", nullptr);
    HWND box = GetDlgItem(page, kBaseFormsBox);
    ASSERT_NE(box, nullptr) << "no base forms check box on the first page";
    EXPECT_EQ(Send(box, BM_GETCHECK), BST_CHECKED) << "on by default";
    Send(box, BM_CLICK);
    PressButton(sheet, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); })) << "the sheet stays open";

    Find(program, kCats);
    EXPECT_EQ(ControlText(program, kWordEdit), kCats);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");
    Find(program, "went");
    EXPECT_EQ(ControlText(program, kWordEdit), "went");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");
}

TEST_F(BaseFormsTest, AFormCopiedTwicePopsUpItsBase) {
    settings_.traymin = 1;
    settings_.startmin = 1;
    settings_.monitor = 1;
    settings_.dblpopup = 1;
    settings_.baseforms = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsWindowVisible(program.window));

    CopyTwice(program, std::string("went", 5));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.window) != FALSE; })) << "the window stayed hidden";
    EXPECT_EQ(ControlText(program, kWordEdit), "go");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "otivam");
}

TEST_F(BaseFormsTest, TheClipboardAtStartAndOnShowFindsTheBase) {
    settings_.clipcopy = 1;
    settings_.monitor = 1;
    WriteSettings(settings_);
    CopyBytes(std::string("went", 5));
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), "go");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "otivam");

    CopyText(program, kCats + '\0');
    PostMessageA(program.window, WM_COMMAND, kShowCommand, 0);
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), kCat);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "cat");
}

// A letter file that cannot be read (a folder in its place) is not passed
// over for a base form: the clipboard at start and a double copy leave the
// word as it is, and Find says the file cannot be read.
TEST_F(BaseFormsTest, ALetterThatCannotBeReadIsNeverPassedOverForABase) {
    settings_.clipcopy = 1;
    settings_.monitor = 1;
    settings_.dblpopup = 1;
    WriteSettings(settings_);
    const std::string letter = folder_ + "\\English_Bulgarian\\57.dat";
    ASSERT_TRUE(DeleteFileA(letter.c_str()));
    ASSERT_TRUE(CreateDirectoryA(letter.c_str(), nullptr));
    CopyBytes(std::string("went", 5));
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), "went");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");

    CopyTwice(program, std::string("went", 5));
    EXPECT_EQ(ControlText(program, kWordEdit), "went");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");

    Find(program, "went");
    HWND box = WaitForProgramDialog(program, "Error");
    std::string said = box ? MessageBoxText(box) : "";
    if (box) PressButton(box, IDOK);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(said, "Could not read the dictionary file 'English_Bulgarian\\57.dat'.");
    EXPECT_EQ(ControlText(program, kWordEdit), "went");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");
}

}  // namespace
