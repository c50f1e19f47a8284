// The options sheet worked as a user would: what OK applies at once and
// stores, what Cancel leaves alone, the hot key and "Start with Windows".
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>
#include <sddl.h>

#include <cstddef>
#include <cstring>
#include <map>

namespace {

enum : int {
    kSettingsCommand = 40019,
    kHideCommand = 40020,
    kTrayMin = 1013,
    kMonitor = 1015,
    kStartWithWindows = 1044,
    kHotkeyControl = 1036,
};

// The General page's check boxes and the value each one stores. The two
// boxes others depend on come before those.
const std::vector<std::pair<int, const char*>> kCheckBoxes = {
    {1013, "traymin"},      {1015, "monitor"},  {1008, "startinbul"}, {1005, "simonnotfound"},
    {1010, "clipcopy"},     {1014, "startmin"}, {1038, "dblpopup"},   {1018, "tooltips"},
    {1028, "flat"},         {1030, "minonclose"}, {1031, "multinst"}, {1034, "ontop"},
    {1037, "autocomplete"}, {1041, "minonfocus"}, {1047, "baseforms"},
};

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

constexpr DWORD kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;

DWORD StoredFlag(const char* name) {
    DWORD type = 0, value = 0;
    std::string bytes;
    if (!ReadSettingValue(name, &type, &bytes) || bytes.size() != 4) return 0xFFFFFFFF;
    std::memcpy(&value, bytes.data(), 4);
    return value;
}

bool IsTopmost(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool ToolbarIsFlat(const RunningProgram& program) {
    return (Send(Control(program, kToolbar), TB_GETSTYLE) & TBSTYLE_FLAT) != 0;
}

// The Hide button's tooltip as the toolbar's tooltip control would show it;
// the window supplies the text only while tooltips are on.
std::string HideTooltip(const RunningProgram& program) {
    HWND toolbar = Control(program, kToolbar);
    HWND tooltips = reinterpret_cast<HWND>(Send(toolbar, TB_GETTOOLTIPS));
    EXPECT_NE(tooltips, nullptr) << "the toolbar has no tooltip control";
    // The request and the text buffer it points at, both in the program.
    struct Request {
        TTTOOLINFOA tool;
        char text[128];
    } request = {};
    RemoteBlock block(program, sizeof request);
    request.tool.cbSize = sizeof request.tool;
    request.tool.hwnd = toolbar;
    request.tool.uId = kHideCommand;
    request.tool.lpszText = reinterpret_cast<char*>(block.Address() + offsetof(Request, text));
    EXPECT_TRUE(block.Write(&request, sizeof request));
    Send(tooltips, TTM_GETTEXTA, sizeof request.text, block.Address());
    EXPECT_TRUE(block.Read(&request, sizeof request));
    request.text[sizeof request.text - 1] = '\0';
    return request.text;
}

bool GivesTooltip(const RunningProgram& program) { return HideTooltip(program) == "Hide program"; }

// The "Dictionary" value of a Run key; false when it is missing.
bool RunValue(HKEY root, std::string* data) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buffer[1024] = "";
    DWORD size = sizeof buffer;
    bool found = RegQueryValueExA(key, "Dictionary", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
                 ERROR_SUCCESS;
    RegCloseKey(key);
    if (found) *data = buffer;
    return found;
}

void SetRunValue(HKEY root, const std::string& data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Dictionary", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
}

void DeleteRunValue(HKEY root) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "Dictionary");
    RegCloseKey(key);
}

// Denies everyone the writing of values under a Run key while it lives, as
// a key the user has no rights to does.
class RunKeyWriteDenied {
public:
    explicit RunKeyWriteDenied(HKEY root) {
        EXPECT_EQ(RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        EXPECT_EQ(RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size), ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR denying = nullptr;
        EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x0006;;;WD)(A;;KA;;;WD)",
                                                                         SDDL_REVISION_1, &denying, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, denying), ERROR_SUCCESS);
        LocalFree(denying);
    }
    ~RunKeyWriteDenied() {
        RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> saved_;
};

// The key combination is free: this process can take it (and gives it back).
bool HotkeyFree(DWORD hotkey) {
    UINT modifiers = 0;
    if (hotkey & (HOTKEYF_SHIFT << 8)) modifiers |= MOD_SHIFT;
    if (hotkey & (HOTKEYF_CONTROL << 8)) modifiers |= MOD_CONTROL;
    if (hotkey & (HOTKEYF_ALT << 8)) modifiers |= MOD_ALT;
    if (!RegisterHotKey(nullptr, 1, modifiers, hotkey & 0xFF)) return false;
    UnregisterHotKey(nullptr, 1);
    return true;
}

class OptionsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", "kotka"}});
        DeleteRunValue(HKEY_CURRENT_USER);
        DeleteRunValue(HKEY_LOCAL_MACHINE);
        // Every option off, so each click turns one on.
        settings_.tooltips = 0;
        settings_.flat = 0;
        settings_.multinst = 0;
        settings_.baseforms = 0;
        settings_.hotkey = kCtrlAlt << 8 | VK_F11;
    }
    void TearDown() override {
        ProgramTest::TearDown();
        DeleteRunValue(HKEY_CURRENT_USER);
        DeleteRunValue(HKEY_LOCAL_MACHINE);
    }

    // Opens the sheet on its General page.
    void OpenSheet(const RunningProgram& program) {
        PostMessageA(program.window, WM_COMMAND, kSettingsCommand, 0);
        sheet_ = WaitForProgramDialog(program, "Dictionary Options");
        ASSERT_NE(sheet_, nullptr) << "no options sheet";
        page_ = FindWindowExA(sheet_, nullptr, "#32770", nullptr);
        ASSERT_NE(GetDlgItem(page_, kTrayMin), nullptr) << "the General page is not shown";
    }
    HWND Box(int id) { return GetDlgItem(page_, id); }
    bool Checked(int id) { return Send(Box(id), BM_GETCHECK) == BST_CHECKED; }
    void Click(int id) { Send(Box(id), BM_CLICK); }
    // Presses OK or Cancel and waits for the sheet to close.
    void Close(int button) {
        PressButton(sheet_, button);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet_); })) << "the sheet stays open";
    }
    // The copy of the program this test started, as the Run value names it.
    std::string ProgramPath() { return folder_ + "\\Dictionary.exe"; }

    StoredSettings settings_;
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(OptionsTest, OkAppliesEveryCheckBoxAtOnceAndStoresIt) {
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(IsTopmost(program.window));
    ASSERT_FALSE(ToolbarIsFlat(program));
    ASSERT_FALSE(GivesTooltip(program));

    for (DWORD on : {1, 0}) {
        SCOPED_TRACE(on ? "all on" : "all off");
        OpenSheet(program);
        ASSERT_FALSE(HasFatalFailure());
        // Off, the parent boxes go last: they clear and disable the others.
        if (on) {
            for (const auto& box : kCheckBoxes) Click(box.first);
        } else {
            for (auto box = kCheckBoxes.rbegin(); box != kCheckBoxes.rend(); ++box) Click(box->first);
        }
        for (const auto& box : kCheckBoxes) ASSERT_EQ(Checked(box.first), on != 0) << box.second;
        Click(kStartWithWindows);
        Close(IDOK);
        if (HasFatalFailure()) return;

        for (const auto& box : kCheckBoxes) EXPECT_EQ(StoredFlag(box.second), on) << box.second;
        EXPECT_EQ(IsTopmost(program.window), on != 0);
        EXPECT_EQ(ToolbarIsFlat(program), on != 0);
        EXPECT_EQ(TrayIconPresent(program.window), on != 0);
        EXPECT_EQ(GivesTooltip(program), on != 0);
        std::string command;
        EXPECT_EQ(RunValue(HKEY_CURRENT_USER, &command), on != 0);
        if (on) {
            EXPECT_EQ(command, "\"" + ProgramPath() + "\"") << "the path is quoted";
        }
    }
}

TEST_F(OptionsTest, CancelChangesNothing) {
    WriteSettings(settings_);
    std::map<std::string, std::string> before;
    for (const SettingValueShape& shape : kSettingValues) {
        DWORD type;
        ASSERT_TRUE(ReadSettingValue(shape.name, &type, &before[shape.name])) << shape.name;
    }
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    OpenSheet(program);
    ASSERT_FALSE(HasFatalFailure());
    for (const auto& box : kCheckBoxes) Click(box.first);
    Click(kStartWithWindows);
    Send(Box(kHotkeyControl), HKM_SETHOTKEY, kCtrlAlt << 8 | VK_F12);
    Close(IDCANCEL);

    for (const SettingValueShape& shape : kSettingValues) {
        DWORD type;
        std::string after;
        ASSERT_TRUE(ReadSettingValue(shape.name, &type, &after)) << shape.name;
        EXPECT_EQ(after, before[shape.name]) << shape.name;
    }
    EXPECT_FALSE(IsTopmost(program.window));
    EXPECT_FALSE(ToolbarIsFlat(program));
    EXPECT_FALSE(TrayIconPresent(program.window));
    std::string command;
    EXPECT_FALSE(RunValue(HKEY_CURRENT_USER, &command));
    EXPECT_FALSE(HotkeyFree(kCtrlAlt << 8 | VK_F11)) << "the old hot key was withdrawn";
    EXPECT_TRUE(HotkeyFree(kCtrlAlt << 8 | VK_F12));
}

TEST_F(OptionsTest, TheHotKeyControlRegistersTheNewKeyAndWithdrawsTheOld) {
    const DWORD oldKey = kCtrlAlt << 8 | VK_F11, newKey = kCtrlAlt << 8 | VK_F12;
    settings_.traymin = 1;
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(HotkeyFree(oldKey)) << "the stored hot key is not registered";

    OpenSheet(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(static_cast<DWORD>(Send(Box(kHotkeyControl), HKM_GETHOTKEY)), oldKey);
    Send(Box(kHotkeyControl), HKM_SETHOTKEY, newKey);
    Close(IDOK);
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(StoredFlag("hotkey"), newKey);
    EXPECT_TRUE(HotkeyFree(oldKey)) << "the old hot key still belongs to the program";
    EXPECT_FALSE(HotkeyFree(newKey)) << "the new hot key is not registered";
    PostMessageA(program.window, WM_COMMAND, kHideCommand, 0);
    Settle(program);
    ASSERT_FALSE(IsWindowVisible(program.window));
    EXPECT_TRUE(PressHotkeyUntil({VK_CONTROL, VK_MENU, VK_F12}, [&] { return IsWindowVisible(program.window) != FALSE; }))
        << "the new key shows nothing";
}

TEST_F(OptionsTest, StartWithWindowsTakesOverTheValueAnEarlierVersionLeftForEveryUser) {
    WriteSettings(settings_);
    // Earlier versions wrote the bare path under the machine's Run key.
    SetRunValue(HKEY_LOCAL_MACHINE, ProgramPath());
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());

    OpenSheet(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(Checked(kStartWithWindows)) << "the program does start with Windows";
    Close(IDOK);
    std::string command;
    EXPECT_TRUE(RunValue(HKEY_CURRENT_USER, &command));
    EXPECT_EQ(command, "\"" + ProgramPath() + "\"");
    EXPECT_FALSE(RunValue(HKEY_LOCAL_MACHINE, &command)) << "two values would start two copies";

    // Off removes it; another program's machine-wide value stays.
    SetRunValue(HKEY_LOCAL_MACHINE, "C:\\Other\\Dictionary.exe");
    OpenSheet(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(Checked(kStartWithWindows));
    Click(kStartWithWindows);
    Close(IDOK);
    EXPECT_FALSE(RunValue(HKEY_CURRENT_USER, &command));
    ASSERT_TRUE(RunValue(HKEY_LOCAL_MACHINE, &command));
    EXPECT_EQ(command, "C:\\Other\\Dictionary.exe");
    OpenSheet(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(Checked(kStartWithWindows)) << "another program's value is not this program's";
    Close(IDCANCEL);
}

TEST_F(OptionsTest, AStartWithWindowsValueThatCannotBeWrittenIsReported) {
    WriteSettings(settings_);
    RunningProgram& program = Start();
    ASSERT_FALSE(HasFatalFailure());
    struct {
        HKEY root;
        bool on;
        const char* expected;
    } cases[] = {
        {HKEY_CURRENT_USER, true, "Dictionary cannot be set to start with Windows"},
        {HKEY_LOCAL_MACHINE, false, "Dictionary still starts with Windows for every user"},
    };
    for (const auto& attempt : cases) {
        SCOPED_TRACE(attempt.expected);
        if (!attempt.on) SetRunValue(HKEY_LOCAL_MACHINE, ProgramPath());
        RunKeyWriteDenied denied(attempt.root);
        OpenSheet(program);
        ASSERT_FALSE(HasFatalFailure());
        Click(kStartWithWindows);
        ASSERT_EQ(Checked(kStartWithWindows), attempt.on);
        PressButton(sheet_, IDOK);
        HWND box = WaitForProgramDialog(program, "Error");
        ASSERT_NE(box, nullptr) << "the failure was not reported";
        EXPECT_EQ(MessageBoxText(box).rfind(attempt.expected, 0), 0u) << MessageBoxText(box);
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet_); }));
    }
    std::string command;
    EXPECT_FALSE(RunValue(HKEY_CURRENT_USER, &command));
    EXPECT_TRUE(RunValue(HKEY_LOCAL_MACHINE, &command));
}

}  // namespace
