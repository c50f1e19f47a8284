// The notification-area icon with its menu, the global hot key, and what
// they do while a modal dialog is open.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "res/resource.h"

namespace {

enum : int {
    kTrayMessage = 2024,
    kHideCommand = 40020,
    kSettingsCommand = 40019,
};

// Ctrl+Alt+F11 as the hot-key control stores it: modifiers in the second byte.
constexpr DWORD kHotkey = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | VK_F11;

// Code page 1251 bytes.
const std::string kCat = "\xEA\xEE\xF2\xEA\xE0";  // котка

bool PressStoredHotkeyUntil(const std::function<bool()>& done) {
    return PressHotkeyUntil({VK_CONTROL, VK_MENU, VK_F11}, done);
}

// The shell reports mouse actions on the icon to its window.
void ClickIcon(const RunningProgram& program, UINT mouseMessage) {
    PostMessageA(program.window, kTrayMessage, kTrayMessage, mouseMessage);
}

BOOL CALLBACK FindVisibleMenu(HWND window, LPARAM found) {
    char className[16] = "";
    if (IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) &&
        std::strcmp(className, "#32768") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleMenu(const RunningProgram& program) {
    HWND menu = nullptr;
    EnumThreadWindows(program.process.dwThreadId, FindVisibleMenu, reinterpret_cast<LPARAM>(&menu));
    return menu;
}

bool ForegroundIs(HWND window) {
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

// The window that has the keyboard focus in the program.
HWND ProgramFocus(const RunningProgram& program) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(program.process.dwThreadId, &info);
    return info.hwndFocus;
}

class TrayTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", kCat}});
        settings_.traymin = 1;
        settings_.hotkey = kHotkey;
    }

    // Right-clicks the icon and picks the menu's item at `item` (0 "Show",
    // 1 "&Settings", 2 "About", 3 "Close") with the arrow keys and Enter.
    void ChooseFromTrayMenu(const RunningProgram& program, int item) {
        ClickIcon(program, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = VisibleMenu(program)) != nullptr; })) << "no tray menu";
        for (int i = 0; i <= item; ++i) PostKey(menu, VK_DOWN);
        PostKey(menu, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return VisibleMenu(program) == nullptr; })) << "the menu stays open";
    }

    StoredSettings settings_;
};

TEST_F(TrayTest, TheIconIsThereAfterStartAndComesBackWithANewTaskbar) {
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(program.window); })) << "no icon after start";

    // Explorer restarting: the new task bar has none of the old icons and
    // tells every window so.
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = program.window;
    icon.uID = kTrayMessage;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(TrayIconPresent(program.window));
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(program.window); })) << "the icon did not come back";
    EndProgram(&program);

    // Without "Minimize to tray" there is no icon, before or after.
    settings_.traymin = 0;
    WriteSettings(settings_);
    RunningProgram& plain = Start();
    ASSERT_FALSE(HasFatalFailure());
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    Settle(plain);
    EXPECT_FALSE(TrayIconPresent(plain.window));
}

TEST_F(TrayTest, TheMenuShowsOpensTheOptionsAndCloses) {
    settings_.startmin = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsWindowVisible(program.window));

    ChooseFromTrayMenu(program, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.window) != FALSE; })) << "Show";

    // The sheet opens on the page the item names.
    const struct {
        int item;
        const char* page;
    } pages[] = {{1, "General"}, {2, "About"}};
    for (const auto& expected : pages) {
        ChooseFromTrayMenu(program, expected.item);
        HWND sheet = WaitForProgramDialog(program, "Dictionary Options");
        ASSERT_NE(sheet, nullptr) << expected.page;
        HWND tabs = FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(Send(tabs, TCM_GETCURSEL), expected.item - 1) << expected.page;
        PressButton(sheet, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    }

    ChooseFromTrayMenu(program, 3);
    EXPECT_TRUE(WaitForExit(&program)) << "Close did not quit";
}

TEST_F(TrayTest, TheHotKeyBringsTheHiddenWindowUpWithTheWordEditFocused) {
    settings_.startmin = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "hidden at start" : "hidden by the Hide command");
        ASSERT_FALSE(IsWindowVisible(program.window));
        ASSERT_TRUE(PressStoredHotkeyUntil([&] { return IsWindowVisible(program.window) != FALSE; })) << "not shown";
        EXPECT_TRUE(ForegroundIs(program.window));
        HWND word = Control(program, kWordEdit);
        EXPECT_TRUE(WaitUntil([&] { return ProgramFocus(program) == word; })) << "the word edit has no focus";
        PostMessageA(program.window, WM_COMMAND, kHideCommand, 0);
        Settle(program);
    }
}

TEST_F(TrayTest, UnderAModalDialogTheTrayTheHotKeyAndACopyBringItToTheFront) {
    settings_.monitor = 1;
    settings_.dblpopup = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    PostMessageA(program.window, WM_COMMAND, kSettingsCommand, 0);
    HWND sheet = WaitForProgramDialog(program, "Dictionary Options");
    ASSERT_NE(sheet, nullptr);

    // The foreground goes elsewhere between the tries: to the desktop, since
    // a window of the driver's would race the program for the X focus.
    auto elsewhere = [&] {
        SetForegroundWindow(GetDesktopWindow());
        ASSERT_TRUE(ForegroundIs(GetDesktopWindow()));
    };
    const struct {
        const char* what;
        std::function<void()> act;
    } tries[] = {
        {"left click on the icon", [&] { ClickIcon(program, WM_LBUTTONUP); }},
        {"right click on the icon", [&] { ClickIcon(program, WM_RBUTTONUP); }},
        {"hot key", [&] { PressStoredHotkeyUntil([&] { return GetForegroundWindow() == sheet; }); }},
        {"Settings command", [&] { PostMessageA(program.window, WM_COMMAND, kSettingsCommand, 0); }},
        {"two copies of a word", [&] { CopyTwice(program, std::string("cat", 4)); }},
    };
    for (const auto& attempt : tries) {
        SCOPED_TRACE(attempt.what);
        elsewhere();
        attempt.act();
        EXPECT_TRUE(ForegroundIs(sheet)) << "the sheet did not come to the front";
        Settle(program);
        EXPECT_EQ(VisibleMenu(program), nullptr) << "a menu opened under the sheet";
        EXPECT_EQ(ProgramDialogs(program).size(), 1u) << "a second window opened";
        EXPECT_EQ(ControlText(program, kWordEdit), "") << "a look-up ran under the sheet";
    }

    PressButton(sheet, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_FALSE(HasEnded(program));
}

// The installer asks a running copy to quit before it replaces the programs:
// closing would only hide it here, and a modal sheet must not keep it.
TEST_F(TrayTest, TheInstallersQuitRequestEndsItWhenClosingOnlyHidesAndUnderAModalSheet) {
    settings_.minonclose = 1;
    WriteSettings(settings_);
    const UINT quitRequest = RegisterWindowMessageA(QUIT_REQUEST_MESSAGE);
    for (bool underSheet : {false, true}) {
        SCOPED_TRACE(underSheet ? "under the options sheet" : "hidden by closing");
        RunningProgram& program = Start();
        ASSERT_FALSE(HasFatalFailure());
        if (underSheet) {
            PostMessageA(program.window, WM_COMMAND, kSettingsCommand, 0);
            ASSERT_NE(WaitForProgramDialog(program, "Dictionary Options"), nullptr);
        } else {
            PostMessageA(program.window, WM_SYSCOMMAND, SC_CLOSE, 0);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.window); }));
            Settle(program);
            ASSERT_FALSE(HasEnded(program)) << "closing ended it";
        }
        PostMessageA(program.window, quitRequest, 0, 0);
        EXPECT_TRUE(WaitForExit(&program)) << "the quit request did not end it";
    }
}

}  // namespace
