// "Did you mean:" in the running program: a misspelled word opens the
// Similar Words list with its suggestions first, under headings the
// selection never rests on, and choosing one shows its entry.
#include "tests/e2e/e2e_support.h"

#include <vector>

namespace {

enum : int { kList = 1006 };

// Code page 1251 bytes.
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";      // котка
const std::string kTomcat = "\xEA\xEE\xF2\xE0\xEA";   // котак
const std::string kSlip = "\xEB\xEE\xF2\xEA\xE0";     // лотка: л for к, no word begins with л

class SuggestTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian",
                        {{"accurate", "tochen"}, {"acumen", "pronitsatelnost"}, {"acute", "ostar"},
                         {"acute-angled", "ostrogalen"}, {kCat, "cat"}, {kTomcat, "tomcat"}});
        StoredSettings settings;
        settings.simonnotfound = 1;
        WriteSettings(settings);
    }

    // Types the word and presses Enter; the list it opens, or null.
    HWND Find(const RunningProgram& program, const std::string& word) {
        HWND edit = Control(program, kWordEdit);
        SetText(edit, word);
        PostEnter(edit);
        return WaitForProgramDialog(program, "Similar Words", 3000);
    }

    // The list's lines (the system carries a list box's text across
    // processes, as it does a window's).
    static std::vector<std::string> Lines(HWND dialog) {
        HWND list = GetDlgItem(dialog, kList);
        std::vector<std::string> lines;
        const LRESULT count = Send(list, LB_GETCOUNT);
        for (LRESULT i = 0; i < count; ++i) {
            // Asked for wide text, which every system carries whole, and
            // turned into code page 1251.
            wchar_t wide[1000] = L"";
            if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 1000)
                SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
            char line[2000] = "";
            WideCharToMultiByte(1251, 0, wide, -1, line, sizeof line, nullptr, nullptr);
            lines.push_back(line);
        }
        return lines;
    }

    static LRESULT Selected(HWND dialog) { return Send(GetDlgItem(dialog, kList), LB_GETCURSEL); }

    void Choose(const RunningProgram& program, HWND dialog) {
        PostKey(GetDlgItem(dialog, kList), VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the list stays open";
        Settle(program);
    }
};

TEST_F(SuggestTest, AMisspelledWordOffersTheWordMeantFirstAndChoosingItShowsItsEntry) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    HWND dialog = Find(program, "acurate");
    ASSERT_NE(dialog, nullptr) << "no list for a misspelled word";
    EXPECT_EQ(Lines(dialog), (std::vector<std::string>{"Did you mean:", "accurate", "acute",
                                                                "Words beginning alike:", "acumen", "acute",
                                                                "acute-angled"}));
    EXPECT_EQ(Selected(dialog), 1) << "the first suggestion is selected";
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "tochen") << "and shown behind the list";

    // The keys never rest on a heading: Up stays on the first suggestion,
    // Down passes over the second heading.
    HWND list = GetDlgItem(dialog, kList);
    PostKey(list, VK_UP);
    Settle(program);
    EXPECT_EQ(Selected(dialog), 1);
    PostKey(list, VK_DOWN);
    PostKey(list, VK_DOWN);
    Settle(program);
    EXPECT_EQ(Selected(dialog), 4);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "pronitsatelnost");
    PostKey(list, VK_UP);
    Settle(program);
    EXPECT_EQ(Selected(dialog), 2);
    PostKey(list, VK_UP);
    Settle(program);
    ASSERT_EQ(Selected(dialog), 1);

    Choose(program, dialog);
    EXPECT_EQ(ControlText(program, kWordEdit), "accurate");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "tochen");
}

TEST_F(SuggestTest, BulgarianWordsAndSlipsOfTheFirstLetterFindTheirWord) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    // котак is a word of its own: found, no list.
    EXPECT_EQ(Find(program, kTomcat), nullptr);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "tomcat");

    // No word begins with л, yet the slip finds котка first.
    HWND dialog = Find(program, kSlip);
    ASSERT_NE(dialog, nullptr) << "no list for a slip of the first letter";
    EXPECT_EQ(Lines(dialog), (std::vector<std::string>{"Did you mean:", kCat, kTomcat}));
    Choose(program, dialog);
    EXPECT_EQ(ControlText(program, kWordEdit), kCat);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "cat");
}

TEST_F(SuggestTest, AWordWithNothingCloseOrAlikeIsNotFoundAsBefore) {
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(Find(program, "zzzz"), nullptr) << "nothing to list, no list";
    Settle(program);
    EXPECT_EQ(ControlText(program, kWordEdit), "zzzz");
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "");
}

}  // namespace
