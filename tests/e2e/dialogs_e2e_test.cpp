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
    kDictionarySize = 1026,
    kSetWordFont = 1007,
    kSetDescriptionFont = 1008,
    kWordSample = 1011,
    kDescriptionSample = 1012,
    kChooserFaces = 1136,  // the font chooser's list of faces
};

// Where the header keeps the two fonts' face names.
constexpr size_t kWordFaceOffset = 64 + 8 + 28;
constexpr size_t kDescriptionFaceOffset = kWordFaceOffset + 60;



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

// The font chooser that the Info dialog owns; null on time-out.
HWND WaitForFontChooser(const RunningProgram& program, HWND info) {
    HWND chooser = nullptr;
    WaitUntil([&] {
        for (HWND dialog : ProgramDialogs(program))
            if (GetWindow(dialog, GW_OWNER) == info) chooser = dialog;
        return chooser != nullptr;
    });
    return chooser;
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

    SetText(GetDlgItem(dialog, kName), "Sports");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; })) << "a name enables OK";
    SetText(GetDlgItem(dialog, kName), "");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(ok); })) << "clearing the name disables OK";
    SetText(GetDlgItem(dialog, kName), "Sports");
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
    SetText(GetDlgItem(dialog, kName), "Dropped");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    Settle(program);
    EXPECT_EQ(Header("English_Bulgarian"), before);

    // Look a word up, then rename with Close: the flags stay, the title follows.
    SetText(Control(program, kWordEdit), "cat");
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kFindButton, 0), 0);
    Settle(program);
    ASSERT_EQ(ControlText(program, kDescriptionEdit), "kotka");

    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    dialog = WaitForDialog("Dictionary Info");
    ASSERT_NE(dialog, nullptr);
    SetText(GetDlgItem(dialog, kName), "Animals");
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

TEST_F(DictionaryDialogsTest, AFontChosenInInfoGoesToItsEditAndTheHeaderAndBothSamplesStayLive) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    HWND edits[] = {Control(program, kWordEdit), Control(program, kDescriptionEdit)};
    SetText(edits[0], "cat");
    SetText(edits[1], "kotka");
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    HWND info = WaitForProgramDialog(program, "Dictionary Info");
    ASSERT_NE(info, nullptr);
    // Beside the main window, so that both show whole.
    RECT main = WindowRect(program.window);
    SetWindowPos(info, nullptr, main.right + 20, main.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    Settle(program);
    HWND samples[] = {GetDlgItem(info, kWordSample), GetDlgItem(info, kDescriptionSample)};
    auto shown = [&](HWND window) { return RepaintedPixels(program, window); };
    // A sample left with a released font object looks the same until it is
    // painted again, then shows the system's font.
    auto samplesAreLive = [&] {
        for (HWND sample : samples) {
            std::string before = StablePixels(sample);
            EXPECT_EQ(shown(sample), before) << "sample " << GetDlgCtrlID(sample) << " lost its font";
        }
    };
    samplesAreLive();

    // Cancelling the chooser changes nothing.
    const std::string header = Header("English_Bulgarian");
    const std::string word = shown(edits[0]);
    PostMessageA(GetDlgItem(info, kSetWordFont), BM_CLICK, 0, 0);
    HWND chooser = WaitForFontChooser(program, info);
    ASSERT_NE(chooser, nullptr) << "no font chooser";
    PressButton(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
    EXPECT_EQ(shown(edits[0]), word);
    EXPECT_EQ(Header("English_Bulgarian"), header);

    const struct {
        int button;
        size_t faceOffset;
    } fonts[] = {{kSetWordFont, kWordFaceOffset}, {kSetDescriptionFont, kDescriptionFaceOffset}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "word font" : "description font");
        const std::string before = shown(edits[i]);
        PostMessageA(GetDlgItem(info, fonts[i].button), BM_CLICK, 0, 0);
        chooser = WaitForFontChooser(program, info);
        ASSERT_NE(chooser, nullptr) << "no font chooser";
        // The face after the one shown.
        HWND faces = GetDlgItem(chooser, kChooserFaces);
        LRESULT count = Send(faces, CB_GETCOUNT);
        ASSERT_GT(count, 1);
        Send(faces, CB_SETCURSEL, (Send(faces, CB_GETCURSEL) + 1) % count);
        Send(chooser, WM_COMMAND, MAKEWPARAM(kChooserFaces, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
        PressButton(chooser, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
        Settle(program);

        EXPECT_NE(shown(edits[i]), before) << "the edit kept its font";
        std::string face = TextOf(samples[i]);
        EXPECT_NE(face, "Times New Roman");
        EXPECT_STREQ(Header("English_Bulgarian").c_str() + fonts[i].faceOffset, face.c_str()) << "not in the header";
        samplesAreLive();
    }

    // Leaving with Escape keeps the fonts, already saved.
    const std::string chosen = Header("English_Bulgarian");
    PostMessageA(info, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    Settle(program);
    EXPECT_EQ(Header("English_Bulgarian"), chosen);
}

// A letter file that cannot be read (a folder in its place) leaves both
// counts unknown, and a message over the dialog names the file: a count
// that passes over its words would read as the whole dictionary's.
TEST_F(DictionaryDialogsTest, InfoNamesALetterFileItCouldNotCount) {
    const std::string letter = folder_ + "\\English_Bulgarian\\43.dat";
    ASSERT_TRUE(DeleteFileA(letter.c_str()));
    ASSERT_TRUE(CreateDirectoryA(letter.c_str(), nullptr));
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    HWND box = WaitForProgramDialog(program, "Error");
    HWND info = FindWindowA("#32770", "Dictionary Info");
    const std::string said = box ? MessageBoxText(box) : "";
    const HWND owner = box ? GetWindow(box, GW_OWNER) : nullptr;
    const bool shownUnder = info && IsWindowVisible(info);
    if (box) PressButton(box, IDOK);
    ASSERT_NE(info, nullptr) << "no info dialog";
    EXPECT_TRUE(shownUnder) << "the message comes over the dialog, not before it";
    EXPECT_EQ(TextOf(GetDlgItem(info, kWordCount)), "unknown");
    EXPECT_EQ(TextOf(GetDlgItem(info, kDictionarySize)), "unknown");
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(owner, info) << "the message belongs to the dialog";
    EXPECT_EQ(said.rfind("Could not read the dictionary file 'English_Bulgarian\\43.dat'", 0), 0u) << said;
    EXPECT_NE(said.find(". The word count and size on disk are unknown."), std::string::npos) << said;
    PostMessageA(info, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    Settle(program);
}

}  // namespace
