// Bulgarian whatever code page Windows runs the program under (the suite
// runs under bg_BG, en_US and ja_JP: scripts/test.sh): Cyrillic typed as
// keys, copied, shown, stored and used as a folder name travels as code
// page 1251; text the code page cannot hold is neither matched nor stored.
#include "tests/e2e/e2e_support.h"

#include <cstdlib>

namespace {

enum : int {
    kNewCommand = 40013,
    kAdd = 40017,
    kDelete = 40018,
    kQuit = 40021,
    kInfo = 40025,
    kNextDictionary = 104,
    kName = 1019,
    kFolder = 1025,
    kMessageText = 65535,
};

// Code page 1251 bytes.
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";                        // котка
const std::string kDog = "\xEA\xF3\xF7\xE5";                            // куче
const std::string kPuppy = "\xEA\xF3\xF7\xE5\xED\xF6\xE5";              // кученце
const std::string kFolderName = "\xD0\xE5\xF7\xED\xE8\xEA";             // Речник
const std::string kBulgarian = "\xC1\xFA\xEB\xE3\xE0\xF0\xF1\xEA\xE8";  // Български
const std::string kCats = "\xCA\xEE\xF2\xEA\xE8";                       // Котки

class CodePageTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        // What a '?' in place of a character, the character dropped or the
        // byte that stands in for it would find.
        WriteDictionary(folder_, kFolderName, kBulgarian,
                        {{"cat", kCat}, {kCat, "cat"}, {"c?t", "question"}, {"ct", "dropped"}, {"c\x98t", "odd"}});
        // As a version before this one stored it on a 1251 system: the
        // folder's bytes in code page 1251.
        settings_.startdict = kFolderName;
    }
    RunningProgram& StartWithSettings() {
        WriteSettings(settings_);
        return Start();
    }
    std::string Letter(const char* file) { return ReadBytes(folder_ + "\\" + kFolderName + "\\" + file); }
    StoredSettings settings_;
};

TEST_F(CodePageTest, ACyrillicStartFolderOpensAndCyrillicTypedAsKeysIsFoundAndDrawn) {
    // The run is under the code page it was asked for (the driver's and the
    // program's are the same: both follow the locale of the run).
    const char* locale = std::getenv("DICTIONARY_WINE_LOCALE");
    const std::string asked = locale ? locale : "";
    EXPECT_EQ(GetACP(), asked == "en_US.UTF-8" ? 1252u : asked == "ja_JP.UTF-8" ? 932u : 1251u) << asked;

    RunningProgram& program = StartWithSettings();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(TextOf(program.window), "Dictionary - [" + kBulgarian + "]");

    HWND word = Control(program, kWordEdit);
    HWND description = Control(program, kDescriptionEdit);
    PostWideChars(word, L"котка");
    PostEnter(word);
    Settle(program);
    EXPECT_EQ(WideTextOf(word), L"котка");
    EXPECT_EQ(WideTextOf(description), L"cat");
    SetText(word, "cat");
    PostEnter(word);
    Settle(program);
    EXPECT_EQ(WideTextOf(description), L"котка");

    // The edit's font has the letters: two of them draw differently, where
    // missing glyphs would draw the same box, and unlike question marks.
    auto drawn = [&](const wchar_t* text) {
        SetWideText(description, text);
        return RepaintedPixels(program, description);
    };
    const std::string zhe = drawn(L"жжжж");
    EXPECT_NE(zhe, drawn(L"щщщщ"));
    EXPECT_NE(zhe, drawn(L"????"));
}

TEST_F(CodePageTest, CyrillicTypedAsKeysIsAddedAndDeletedAsCodePageBytes) {
    RunningProgram& program = StartWithSettings();
    ASSERT_FALSE(HasFatalFailure());

    PostWideChars(Control(program, kWordEdit), L"куче");
    PostWideChars(Control(program, kDescriptionEdit), L"кученце");
    Settle(program);
    ASSERT_TRUE(ToolbarButtonEnabled(program, kAdd));
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kAdd, 0), 0);
    Settle(program);
    const std::string entry = kDog + '\0' + kPuppy + '\0';
    EXPECT_EQ(Letter("ca.dat"), kCat + '\0' + "cat" + '\0' + entry);
    EXPECT_EQ(WideTextOf(Control(program, kDescriptionEdit)), L"кученце");

    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kDelete, 0), 0);
    HWND box = WaitForProgramDialog(program, "Confirmation");
    ASSERT_NE(box, nullptr) << "no confirmation box";
    PressButton(box, IDYES);
    Settle(program);
    EXPECT_EQ(Letter("ca.dat"), kCat + '\0' + "cat" + '\0');
}

TEST_F(CodePageTest, TextTheCodePageCannotHoldIsNeitherFoundNorStored) {
    RunningProgram& program = StartWithSettings();
    ASSERT_FALSE(HasFatalFailure());
    const std::string before = Letter("43.dat");

    HWND word = Control(program, kWordEdit);
    PostWideChars(word, L"c\u00F5t");
    PostEnter(word);
    Settle(program);
    EXPECT_EQ(WideTextOf(word), L"c\u00F5t") << "the edit keeps what was typed";
    EXPECT_EQ(WideTextOf(Control(program, kDescriptionEdit)), L"") << "a look-up of it is a miss";

    PostWideChars(Control(program, kDescriptionEdit), L"x");
    Settle(program);
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kAdd, 0), 0);
    HWND box = WaitForProgramDialog(program, "Error");
    ASSERT_NE(box, nullptr) << "Add did not refuse";
    EXPECT_EQ(WideTextOf(GetDlgItem(box, kMessageText)),
              L"The word cannot be added: U+00F5 (\u00F5) has no place in code page 1251.");
    PressButton(box, IDOK);
    Settle(program);
    EXPECT_EQ(Letter("43.dat"), before);
}

TEST_F(CodePageTest, ACyrillicFolderIsMadeListedAndOpenedAndTheStartFolderKept) {
    // A dictionary whose folder name the code page cannot hold is named at
    // the start, for the user to rename.
    WriteDictionary(folder_, "Woerterbuch", "German", {{"Katze", "cat"}});
    ASSERT_TRUE(MoveFileW(Wide(folder_ + "\\Woerterbuch").c_str(), (Wide(folder_) + L"\\W\u00f6rterbuch").c_str()));
    RunningProgram& program = StartWithSettings();
    ASSERT_FALSE(HasFatalFailure());
    HWND unlisted = WaitForProgramDialog(program, "Dictionary");
    ASSERT_NE(unlisted, nullptr) << "the unlisted dictionary was not named";
    EXPECT_EQ(WideTextOf(GetDlgItem(unlisted, kMessageText)),
              L"The dictionary in the folder 'W\u00f6rterbuch' is not listed: U+00F6 (\u00f6) has no place in code "
              L"page 1251. Rename the folder to open it.");
    PressButton(unlisted, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(unlisted); }));
    Settle(program);

    // A window showing a word keeps its dictionary when another is made.
    SetText(Control(program, kWordEdit), "cat");
    PostEnter(Control(program, kWordEdit));
    Settle(program);

    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kNewCommand, 0), 0);
    HWND dialog = WaitForProgramDialog(program, "Create new dictionary");
    ASSERT_NE(dialog, nullptr) << "no creation dialog";
    HWND name = GetDlgItem(dialog, kName);
    // A name the code page cannot hold is refused by its character.
    SetWideText(name, L"W\u00F6rterbuch");
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND box = WaitForProgramDialog(program, "Error");
    ASSERT_NE(box, nullptr) << "the name was not refused";
    EXPECT_NE(WideTextOf(GetDlgItem(box, kMessageText)).find(L"U+00F6 (\u00F6) has no place in code page 1251"),
              std::wstring::npos);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(IsWindowVisible(dialog)) << "the dialog stays for another name";

    SetText(name, kCats);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    box = WaitForProgramDialog(program, "Dictionary");
    ASSERT_NE(box, nullptr) << "no success box";
    EXPECT_EQ(TextOf(GetDlgItem(box, kMessageText)), "Dictionary '" + kCats + "' successfuly created");
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) && !IsWindow(dialog); }));
    EXPECT_EQ(ReadBytes(folder_ + "\\" + kCats + "\\00.dat").substr(0, 6), kCats + '\0');
    std::vector<std::string> folders = CatalogueFolders(folder_);
    EXPECT_EQ(folders.size(), 2u) << "nothing made for the refused name";

    // Listed: the next dictionary is the new one, and back.
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kNextDictionary, 0), 0);
    Settle(program);
    EXPECT_EQ(TextOf(program.window), "Dictionary - [" + kCats + "]");
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kNextDictionary, 0), 0);
    Settle(program);
    ASSERT_EQ(TextOf(program.window), "Dictionary - [" + kBulgarian + "]");

    // The Info dialog shows the name and the folder as they are.
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kInfo, 0), 0);
    HWND info = WaitForProgramDialog(program, "Dictionary Info");
    ASSERT_NE(info, nullptr) << "no info dialog";
    EXPECT_EQ(TextOf(GetDlgItem(info, kName)), kBulgarian);
    std::string folder = TextOf(GetDlgItem(info, kFolder));
    EXPECT_EQ(folder.substr(folder.size() - kFolderName.size() - 1), "\\" + kFolderName);
    PressButton(info, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(info); }));

    // The start folder goes back as the bytes it came as.
    PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(kQuit, 0), 0);
    ASSERT_TRUE(WaitForExit(&program));
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(ReadSettingValue("startdict", &type, &stored));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(stored.substr(0, kFolderName.size() + 1), kFolderName + '\0');
}

TEST_F(CodePageTest, ACyrillicWordCopiedTwiceComesUpLookedUp) {
    settings_.traymin = 1;
    settings_.startmin = 1;
    settings_.monitor = 1;
    settings_.dblpopup = 1;
    RunningProgram& program = StartWithSettings();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsWindowVisible(program.window));

    CopyTwice(program, kCat + '\0');
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.window) != FALSE; })) << "the window stayed hidden";
    EXPECT_EQ(WideTextOf(Control(program, kWordEdit)), L"котка");
    EXPECT_EQ(WideTextOf(Control(program, kDescriptionEdit)), L"cat");
}

}  // namespace
