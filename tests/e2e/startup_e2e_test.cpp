// Start-up, the settings key, the single-instance rule and leaving.
#include "tests/e2e/e2e_support.h"

#include <cstring>
#include <string>

namespace {

enum : int { kEscapeCommand = 8, kQuitCommand = 40021 };

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool IsTopmost(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

int32_t Int32At(const std::string& bytes, size_t offset) {
    int32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

std::string KeyClass() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char keyClass[64] = "";
    DWORD length = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return keyClass;
}

// Every value is in the key with its type and length.
void ExpectAllTwentyStored() {
    for (const SettingValueShape& shape : kSettingValues) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(ReadSettingValue(shape.name, &type, &bytes)) << shape.name << " is missing";
        EXPECT_EQ(type, shape.type) << shape.name;
        EXPECT_EQ(bytes.size(), shape.length) << shape.name;
    }
}

using StartupTest = ProgramTest;

TEST_F(StartupTest, FirstRunShowsTheWindowAndQuitStoresAllTwentyValues) {
    DeleteSettingsKey();
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_TRUE(IsWindowVisible(program.window));
    EXPECT_FALSE(IsTopmost(program.window)) << "stored settings are not applied on the first run";
    RECT placement = WindowRect(program.window);
    PostMessageA(program.window, WM_COMMAND, kQuitCommand, 0);
    ASSERT_TRUE(WaitForExit(&program)) << "Quit did not end the program";

    ExpectAllTwentyStored();
    EXPECT_EQ(KeyClass(), "Dictionary");

    DWORD type;
    std::string bytes;
    // The one value after the twenty: base forms, on by default.
    ASSERT_TRUE(ReadSettingValue("baseforms", &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\x01\0\0\0", 4));
    ASSERT_TRUE(ReadSettingValue("pos", &type, &bytes));
    EXPECT_EQ(Int32At(bytes, 0), placement.left);
    EXPECT_EQ(Int32At(bytes, 4), placement.top);
    ASSERT_TRUE(ReadSettingValue("size", &type, &bytes));
    EXPECT_EQ(Int32At(bytes, 0), placement.right - placement.left);
    EXPECT_EQ(Int32At(bytes, 4), placement.bottom - placement.top);
    ASSERT_TRUE(ReadSettingValue("startdict", &type, &bytes));
    EXPECT_EQ(bytes, std::string("English_Bulgarian") + std::string(64 - 17, '\0'));
}

TEST_F(StartupTest, ALaterRunAppliesTheStoredPlacementAndStartMinimized) {
    StoredSettings settings;
    settings.pos[0] = 60;
    settings.pos[1] = 45;
    settings.size[0] = 500;
    settings.size[1] = 320;
    settings.ontop = 1;
    for (DWORD startmin : {1, 0}) {
        SCOPED_TRACE(startmin ? "startmin on" : "startmin off");
        settings.startmin = startmin;
        WriteSettings(settings);
        RunningProgram& program = Start();
        ASSERT_FALSE(HasFatalFailure());

        EXPECT_EQ(IsWindowVisible(program.window) != 0, startmin == 0);
        RECT placement = WindowRect(program.window);
        EXPECT_EQ(placement.left, 60);
        EXPECT_EQ(placement.top, 45);
        EXPECT_EQ(placement.right - placement.left, 500);
        EXPECT_EQ(placement.bottom - placement.top, 320);
        EXPECT_TRUE(IsTopmost(program.window));
        EndProgram(&program);
    }
}

TEST_F(StartupTest, ASecondStartWakesTheFirstAndEnds) {
    ASSERT_TRUE(MarkedWindows().empty()) << "another copy of the program runs in this Wine prefix";
    StoredSettings settings;
    settings.multinst = 0;
    settings.startmin = 1;
    WriteSettings(settings);
    RunningProgram& first = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsWindowVisible(first.window));

    programs_.emplace_back();
    RunningProgram& second = programs_.back();
    StartProgram(folder_, &second);
    ASSERT_FALSE(HasFatalFailure());
    bool secondShown = false;
    bool ended = WaitUntil(
        [&] {
            for (HWND window : MarkedWindowsOf(second.process.dwProcessId))
                if (IsWindowVisible(window)) secondShown = true;
            return HasEnded(second);
        },
        kStartTimeout);
    ASSERT_TRUE(ended) << "the second copy did not end by itself";
    DWORD exitCode = 1;
    GetExitCodeProcess(second.process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(secondShown) << "the second copy showed its window";

    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(first.window) != 0; })) << "the first copy stayed hidden";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == first.window; }))
        << "the first copy is not in the foreground";
    EXPECT_FALSE(HasEnded(first));
}

TEST_F(StartupTest, EscapeHidesTheWindowWithTrayMinAndQuitsWithout) {
    StoredSettings settings;
    for (bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "Escape key" : "command 8");
        auto pressEscape = [&](const RunningProgram& program) {
            if (byKey) PostKey(Control(program, kWordEdit), VK_ESCAPE);
            else PostMessageA(program.window, WM_COMMAND, kEscapeCommand, 0);
        };

        settings.traymin = 1;
        WriteSettings(settings);
        RunningProgram& tray = Start();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(IsWindowVisible(tray.window));
        pressEscape(tray);
        Settle(tray);
        EXPECT_FALSE(IsWindowVisible(tray.window)) << "traymin on: the window hides";
        EXPECT_FALSE(HasEnded(tray)) << "traymin on: the program keeps running";
        EndProgram(&tray);

        settings.traymin = 0;
        WriteSettings(settings);
        RunningProgram& plain = Start();
        ASSERT_FALSE(HasFatalFailure());
        pressEscape(plain);
        EXPECT_TRUE(WaitForExit(&plain)) << "traymin off: Escape quits";
    }
}

TEST_F(StartupTest, QuitAndTheEndOfTheSessionStoreEveryValueAndRemoveTheIcon) {
    StoredSettings settings;
    settings.traymin = 1;
    settings.pos[0] = 40;
    settings.pos[1] = 30;
    const struct {
        const char* way;
        std::function<void(const RunningProgram&)> end;
    } ways[] = {
        {"Quit", [](const RunningProgram& program) { PostMessageA(program.window, WM_COMMAND, kQuitCommand, 0); }},
        {"end of the session",
         [](const RunningProgram& program) {
             EXPECT_EQ(Send(program.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE) << "it holds up log-off";
             Send(program.window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        WriteSettings(settings);
        RunningProgram& program = Start();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(program.window); }));
        // Moved since the start: only the end can have stored this.
        SetWindowPos(program.window, nullptr, 90, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        Settle(program);
        RECT placement = WindowRect(program.window);
        ASSERT_EQ(placement.left, 90);

        way.end(program);
        ASSERT_TRUE(WaitForExit(&program)) << "the program did not end";
        EXPECT_FALSE(TrayIconPresent(program.window)) << "the icon was left behind";
        ExpectAllTwentyStored();
        DWORD type;
        std::string bytes;
        ASSERT_TRUE(ReadSettingValue("pos", &type, &bytes));
        EXPECT_EQ(Int32At(bytes, 0), 90);
        EXPECT_EQ(Int32At(bytes, 4), 70);
        ASSERT_TRUE(ReadSettingValue("size", &type, &bytes));
        EXPECT_EQ(Int32At(bytes, 0), Width(placement));
    }
}

TEST_F(StartupTest, AStoredPositionOffEveryScreenComesOntoTheNearestWorkArea) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    StoredSettings settings;
    settings.size[0] = 500;
    settings.size[1] = 320;
    const struct {
        int x, y;
        RECT expected;
    } cases[] = {
        // A monitor to the lower right that has gone.
        {work.right + 800, work.bottom + 600, {work.right - 500, work.bottom - 320, work.right, work.bottom}},
        // One to the left: only the left edge moves.
        {work.left - 2000, work.top + 50, {work.left, work.top + 50, work.left + 500, work.top + 370}},
        // Partly on the screen: left where it was stored.
        {work.left - 200, work.top + 50, {work.left - 200, work.top + 50, work.left + 300, work.top + 370}},
    };
    for (const auto& placement : cases) {
        SCOPED_TRACE(std::to_string(placement.x) + ", " + std::to_string(placement.y));
        settings.pos[0] = placement.x;
        settings.pos[1] = placement.y;
        WriteSettings(settings);
        RunningProgram& program = Start();
        ASSERT_FALSE(HasFatalFailure());
        RECT window = WindowRect(program.window);
        EXPECT_EQ(window.left, placement.expected.left);
        EXPECT_EQ(window.top, placement.expected.top);
        EXPECT_EQ(Width(window), 500);
        EXPECT_EQ(Height(window), 320);
        EndProgram(&program);
    }
}

}  // namespace
