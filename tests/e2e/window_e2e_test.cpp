// The main window's geometry and the dictionary switching keys.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <map>

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

using WindowTest = ProgramTest;

// Resizes the main window from outside. Asynchronous, so a hung program
// cannot block the driver; the program applies it on its own thread.
void ResizeTo(const RunningProgram& program, int width, int height) {
    SetWindowPos(program.window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    Settle(program);
}

TEST_F(WindowTest, ResizingStretchesTheControlsWithTheWindow) {
    WriteSettings(StoredSettings());
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    const int ids[] = {kSeparator, kWordEdit, kFindButton, kDescriptionEdit};
    std::map<int, RECT> before, after;
    for (int id : ids) before[id] = WindowRect(Control(program, id));
    RECT window = WindowRect(program.window);

    ResizeTo(program, Width(window) + 50, Height(window) + 30);
    RECT client;
    GetClientRect(program.window, &client);
    for (int id : ids) after[id] = WindowRect(Control(program, id));
    ASSERT_EQ(Width(WindowRect(program.window)), Width(window) + 50) << "the window was not resized";

    EXPECT_EQ(Width(after[kSeparator]), client.right) << "the line spans the window";
    EXPECT_EQ(Width(after[kWordEdit]), Width(before[kWordEdit]) + 50);
    EXPECT_EQ(Height(after[kWordEdit]), Height(before[kWordEdit]));
    EXPECT_EQ(after[kFindButton].left, before[kFindButton].left + 50);
    EXPECT_EQ(after[kFindButton].top, before[kFindButton].top);
    EXPECT_EQ(Width(after[kFindButton]), Width(before[kFindButton]));
    EXPECT_EQ(after[kDescriptionEdit].left, before[kDescriptionEdit].left);
    EXPECT_EQ(after[kDescriptionEdit].top, before[kDescriptionEdit].top);
    EXPECT_EQ(Width(after[kDescriptionEdit]), Width(before[kDescriptionEdit]) + 50);
    EXPECT_EQ(Height(after[kDescriptionEdit]), Height(before[kDescriptionEdit]) + 30);

    // Back again: the rule works from the geometry it left.
    ResizeTo(program, Width(window), Height(window));
    GetClientRect(program.window, &client);
    EXPECT_EQ(Width(WindowRect(Control(program, kSeparator))), client.right);
    for (int id : {kWordEdit, kFindButton, kDescriptionEdit}) {
        RECT now = WindowRect(Control(program, id));
        EXPECT_EQ(Width(now), Width(before[id])) << "control " << id;
        EXPECT_EQ(Height(now), Height(before[id])) << "control " << id;
        EXPECT_EQ(now.left, before[id].left) << "control " << id;
    }
}

// A programmatic SetWindowPos on a window with a sizing border goes through
// WM_WINDOWPOSCHANGING, whose default handling asks WM_GETMINMAXINFO for the
// minimum tracking size, as a user's drag does.
TEST_F(WindowTest, AtEverySizeTheWholeToolbarIsInReach) {
    StoredSettings settings;
    settings.size[0] = 330;  // stored by a version with a smaller minimum
    settings.size[1] = 250;
    WriteSettings(settings);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    HWND toolbar = Control(program, kToolbar);
    ASSERT_EQ(Send(toolbar, TB_BUTTONCOUNT), 24);
    auto expectAllInReach = [&] {
        RECT client, bar;
        GetClientRect(program.window, &client);
        GetClientRect(toolbar, &bar);
        EXPECT_EQ(bar.right, client.right) << "the toolbar does not span the window";
        for (int i = 0; i < 24; ++i)
            EXPECT_LE(ToolbarButtonRect(program, i).right, bar.right) << "button " << i << " is cut off";
    };
    SCOPED_TRACE("as started");
    expectAllInReach();
    RECT started = WindowRect(program.window);
    EXPECT_GT(Width(started), 330) << "the stored width was below the minimum";

    ResizeTo(program, 100, 100);
    RECT small = WindowRect(program.window);
    EXPECT_EQ(Width(small), Width(started)) << "the minimum is the width the toolbar needs";
    EXPECT_EQ(Height(small), 200);
    SCOPED_TRACE("smallest");
    expectAllInReach();

    // The height has its own minimum; a width above the toolbar's is kept.
    ResizeTo(program, Width(small) + 80, 150);
    RECT low = WindowRect(program.window);
    EXPECT_EQ(Width(low), Width(small) + 80);
    EXPECT_EQ(Height(low), 200);
    SCOPED_TRACE("wider");
    expectAllInReach();
}

TEST_F(WindowTest, F7AndF8SwitchDictionariesInCatalogueOrder) {
    const std::map<std::string, std::string> names = {
        {"Alpha", "Alpha words"}, {"Beta", "\xD0\xE5\xF7\xED\xE8\xEA"} /* Речник */, {"Gamma", "Gamma words"}};
    for (const auto& dictionary : names)
        WriteDictionary(folder_, dictionary.first, dictionary.second, {{"cat", "cat in " + dictionary.first}});
    // Neither a folder without a header nor a hidden one is a dictionary.
    ASSERT_TRUE(CreateDirectoryA((folder_ + "\\Notes").c_str(), nullptr));
    WriteDictionary(folder_, ".hidden", "Hidden", {{"cat", "hidden cat"}});
    std::vector<std::string> order = CatalogueFolders(folder_);
    std::vector<std::string> expected;
    for (const std::string& folder : order)
        if (folder != ".hidden" && folder != "Notes") expected.push_back(folder);
    ASSERT_EQ(expected.size(), 3u);

    StoredSettings settings;
    settings.startdict = expected[0];
    WriteSettings(settings);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    auto title = [&](size_t index) { return "Dictionary - [" + names.at(expected[index]) + "]"; };
    ASSERT_EQ(TextOf(program.window), title(0));

    // The word in the edit is looked up again in each dictionary opened.
    HWND word = Control(program, kWordEdit);
    SetText(word, "cat");
    PostEnter(word);
    Settle(program);
    ASSERT_EQ(ControlText(program, kDescriptionEdit), "cat in " + expected[0]);

    const struct {
        WPARAM key;
        size_t index;
    } steps[] = {{VK_F8, 1}, {VK_F8, 2}, {VK_F8, 0}, {VK_F7, 2}, {VK_F7, 1}};
    for (const auto& step : steps) {
        PostKey(word, step.key);
        Settle(program);
        EXPECT_EQ(TextOf(program.window), title(step.index)) << (step.key == VK_F8 ? "F8" : "F7");
        EXPECT_EQ(ControlText(program, kDescriptionEdit), "cat in " + expected[step.index]);
    }
}

}  // namespace
