// Drives the real Dictionary.exe from another process: program folders and
// dictionaries written byte by byte, the settings key, starting, finding,
// poking and ending the program. Every wait has a time-out, so a hung
// program fails a test instead of hanging the run.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Control and command identifiers of the main window.
enum : int {
    kWordEdit = 1000,
    kDescriptionEdit = 1001,
    kSeparator = 1035,
    kToolbar = 5000,
    kFindButton = 40015,
};

constexpr DWORD kStartTimeout = 20000;
constexpr DWORD kStepTimeout = 10000;

// The settings a test writes before starting the program. Values a test
// does not set keep the program quiet: no clipboard look-ups, no tray icon,
// visible at start, no completion, several copies allowed.
struct StoredSettings {
    int32_t pos[2] = {0, 0};
    int32_t size[2] = {0, 0};
    std::string startdict = "English_Bulgarian";
    DWORD startinbul = 0, simonnotfound = 0, clipcopy = 0, traymin = 0, startmin = 0, monitor = 0,
          dblpopup = 0, tooltips = 1, flat = 1, multinst = 1, minonclose = 0, ontop = 0, autocomplete = 0,
          hotkey = 0, minonfocus = 0;
    // Written after the twenty only when set: a key without it is a key of
    // a version before the option, which leaves it on.
    std::optional<DWORD> baseforms;
};

// The twenty values of the settings key, in the order the program writes them.
struct SettingValueShape {
    const char* name;
    DWORD type;
    DWORD length;
};
extern const SettingValueShape kSettingValues[20];
extern const char kSettingsKeyPath[];

void WriteSettings(const StoredSettings& settings);
void DeleteSettingsKey();
// A file's bytes as the program left them, "(missing)" when it cannot be read.
std::string ReadBytes(const std::string& path);
// One stored value; false when it is missing.
bool ReadSettingValue(const char* name, DWORD* type, std::string* bytes);

// A dictionary folder in `root`: the 192-byte header and letter files of the
// given word/description pairs (bytes in code page 1251), not case-sensitive.
void WriteDictionary(const std::string& root, const std::string& folder, const std::string& name,
                     std::vector<std::pair<std::string, std::string>> entries);
// The dictionary folders of `root` in the order the directory listing gives
// them, as the program's catalogue sees them.
std::vector<std::string> CatalogueFolders(const std::string& root);

struct RunningProgram {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;  // the main window, once found
};

// Waits until `condition` holds, polling; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout = kStepTimeout);

// Main windows of the program (marked in their user data), of any process
// or of one.
std::vector<HWND> MarkedWindows();
std::vector<HWND> MarkedWindowsOf(DWORD processId);

// Starts the copy of the program in `folder`; fails the test when it cannot.
void StartProgram(const std::string& folder, RunningProgram* program);
// Waits for the program's main window and for the program to reach its
// message loop.
void WaitForMainWindow(RunningProgram* program);
bool HasEnded(const RunningProgram& program);
// Waits for the process to end by itself; false on time-out.
bool WaitForExit(RunningProgram* program, DWORD timeout = kStepTimeout);
// Asks the program to quit and waits; terminates it as a last resort. Safe
// to call on a program that has already ended.
void EndProgram(RunningProgram* program);

// Waits until every message posted to the program so far, and every message
// the program posts to itself while handling them, has been handled.
void Settle(const RunningProgram& program);

// Messages that carry no pointers, safe across processes.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The tests write text in code page 1251, as the dictionaries hold it, and
// the driver speaks to the program's windows in UTF-16 through Windows' own
// conversion of that code page, whatever the driver's code page is: what
// the program shows is compared as the characters it is. A character the
// code page lacks reads as "\x98", which no expected text holds.
std::wstring Wide(const std::string& text);
std::string Cp1251(const std::wstring& text);
std::wstring WideTextOf(HWND window);
std::string TextOf(HWND window);
// WM_SETTEXT, as another program's text arrives (the edit raises EN_CHANGE).
void SetText(HWND window, const std::string& text);
void SetWideText(HWND window, const std::wstring& text);
HWND Control(const RunningProgram& program, int id);
std::string ControlText(const RunningProgram& program, int id);
bool ToolbarButtonEnabled(const RunningProgram& program, int command);
// Posts a key press (down, and up) to a window, as the keyboard would.
void PostKey(HWND window, WPARAM key);
// Posts Enter with its character, as typing does.
void PostEnter(HWND window);
// Posts typed characters (WM_CHAR, one UTF-16 unit each, as a wide window
// gets them from the keyboard).
void PostChars(HWND window, const std::string& text);
void PostWideChars(HWND window, const std::wstring& text);
RECT WindowRect(HWND window);

// ---- Reaching into the running program.

// Memory inside the program's process, for the messages that carry a
// pointer (a toolbar button's rectangle, a tooltip request).
class RemoteBlock {
public:
    RemoteBlock(const RunningProgram& program, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    bool Write(const void* data, size_t size);
    bool Read(void* data, size_t size) const;

private:
    HANDLE process_;
    void* address_;
};

// A toolbar button's rectangle in toolbar client coordinates, by position
// (separators counted).
RECT ToolbarButtonRect(const RunningProgram& program, int position);

// The program's top-level dialogs other than its main window (sheets,
// dialogs, message boxes, choosers) that are visible, whatever their caption.
std::vector<HWND> ProgramDialogs(const RunningProgram& program);
// Waits for a visible dialog of the program with this caption; null on time-out.
HWND WaitForProgramDialog(const RunningProgram& program, const char* caption, DWORD timeout = kStepTimeout);
// The text of a message box.
std::string MessageBoxText(HWND box);
// Answers a modal window by pressing one of its buttons; posted, since the
// box runs its own loop inside the program.
void PressButton(HWND dialog, int id);

// The notification-area icon of the main window (icon id 2024) is known to
// the shell: changing nothing about it succeeds only when it exists.
bool TrayIconPresent(HWND mainWindow);

// Puts text on the clipboard as CF_UNICODETEXT, as every program offers it:
// exactly these characters in a block of exactly their size; add the
// terminator to send one.
void CopyBytes(const std::string& bytes);
void CopyWide(const std::wstring& text);
// Copies text as a user does and waits until the program has seen it. The
// program counts changes of the clipboard less than 50 ms apart as one, and
// its own start as one, so the copy comes a little after those.
void CopyText(const RunningProgram& program, const std::string& bytes);
// Copies the same text twice in quick succession, as a double copy: the
// copies more than the 50 ms apart that count as one, the second seen by
// the program within 250 ms of the first. A machine too busy for that gets
// another try; fails the test when it never manages.
void CopyTwice(const RunningProgram& program, const std::string& bytes);

// What a window of the program shows on the screen, as 32-bit pixels, once
// the picture has held still for a moment (Wine copies a window's drawing
// to the screen shortly after the program paints); the window must not be
// covered. Its font cannot be asked for instead: Wine answers WM_GETFONT
// only within one process.
std::string StablePixels(HWND window);
// Has the program paint the window again, then its stable pixels.
std::string RepaintedPixels(const RunningProgram& program, HWND window);

// Presses a key combination through the input system, as the keyboard does
// (a registered hot key reaches its window this way).
void PressKeys(std::initializer_list<WORD> keys);
// Presses a hot key until `done` holds, three times at most; false if it
// never does. Wine sets its key state from the X server's whenever the X
// focus moves, and the X server knows nothing of keys pressed through
// SendInput: a press that meets such a moment loses its modifiers before
// any program could see it.
bool PressHotkeyUntil(std::initializer_list<WORD> keys, const std::function<bool()>& done);

// Each test gets its own program folder holding a copy of Dictionary.exe;
// every program it started is ended and the folder removed afterwards.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program and waits for its window.
    RunningProgram& Start();
    std::string folder_;
    std::deque<RunningProgram> programs_;  // references stay valid as it grows
};
